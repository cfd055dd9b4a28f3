#pragma once

#include "synth/CSynth.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Helpers for the engine tests: a plain program, MIDI words and renders.
namespace enginetest {

inline uint32_t NoteOn(int32_t note, int32_t velocity = 100, int32_t channel = 0)
{
    return 0x90u | static_cast<uint32_t>(channel) | static_cast<uint32_t>(note) << 8
           | static_cast<uint32_t>(velocity) << 16;
}

inline uint32_t NoteOff(int32_t note, int32_t channel = 0)
{
    return 0x80u | static_cast<uint32_t>(channel) | static_cast<uint32_t>(note) << 8 | 64u << 16;
}

// The defaults: no LFO routed, no noise, every note its own voice.
inline void MakeDefaultProgram(SynthProgram& program)
{
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
}

// Two plain sines at the note's pitch, filter open, instant attack, full
// sustain, nothing modulated.
inline std::unique_ptr<CSynth> SineSynth()
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram& program = *synth->currentProgram;
    MakeDefaultProgram(program);
    program.mod1 = 0.0f;
    program.mod2 = 0.0f;
    for (SynthEnvelope& env : program.env)
        env = SynthEnvelope{0.0f, 0.0f, 1.0f, 0.0f};
    return synth;
}

inline RenderContext ContextOf(CSynth& synth)
{
    return RenderContext{&EngineTables::Get(), &synth.envelopeLimits, synth.globalLfos, &synth.random,
                         synth.sampleRate, synth.tempo, synth.modWheel, synth.pitchBend};
}

struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

// Renders frames samples in blocks of blockSize into zeroed buffers, the way
// the host adapter does.
inline Stereo Render(CSynth& synth, int32_t frames, int32_t blockSize = 256)
{
    Stereo out{std::vector<float>(static_cast<size_t>(frames)), std::vector<float>(static_cast<size_t>(frames))};
    for (int32_t start = 0; start < frames; start += blockSize)
    {
        float* outputs[2] = {out.left.data() + start, out.right.data() + start};
        synth.ProcessBlock(nullptr, outputs, frames - start < blockSize ? frames - start : blockSize);
    }
    return out;
}

// The voices alone, without the effects and the output stage: what the
// pool adds into buffers holding `fill`.
inline Stereo RenderVoices(CSynth& synth, int32_t frames, float fill = 0.0f)
{
    Stereo out{std::vector<float>(static_cast<size_t>(frames), fill),
               std::vector<float>(static_cast<size_t>(frames), fill)};
    synth.voicePool.Render(ContextOf(synth), out.left.data(), out.right.data(), frames);
    return out;
}

inline bool SameBytes(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

inline float Peak(const std::vector<float>& x)
{
    float peak = 0.0f;
    for (float s : x)
        peak = std::fmax(peak, std::fabs(s));
    return peak;
}

// Frequency from the upward zero crossings of samples [from, end), found by
// linear interpolation between the samples around each crossing.
inline double MeasureFrequency(const std::vector<float>& x, size_t from, double sampleRate)
{
    double first = -1.0;
    double last = -1.0;
    int32_t cycles = -1;
    for (size_t i = from + 1; i < x.size(); ++i)
    {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f)
        {
            last = static_cast<double>(i - 1) + x[i - 1] / static_cast<double>(x[i - 1] - x[i]);
            first = first < 0.0 ? last : first;
            ++cycles;
        }
    }
    return cycles < 1 ? 0.0 : cycles * sampleRate / (last - first);
}

}  // namespace enginetest
