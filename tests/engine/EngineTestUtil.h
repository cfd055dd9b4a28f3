#pragma once

#include "synth/CSynth.h"

#include <cstdint>
#include <cstring>
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

// A program that plays two plain sines at the note's pitch, filter open,
// instant attack, full sustain, nothing modulated.
inline void MakeSineProgram(SynthProgram& program)
{
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    program.mod1 = 0.0f;
    program.mod2 = 0.0f;
    program.env[0] = SynthEnvelope{0.0f, 0.0f, 1.0f, 0.0f};
    program.env[1] = SynthEnvelope{0.0f, 0.0f, 1.0f, 0.0f};
    program.env[2] = SynthEnvelope{0.0f, 0.0f, 1.0f, 0.0f};
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
    Stereo out;
    out.left.assign(static_cast<size_t>(frames), 0.0f);
    out.right.assign(static_cast<size_t>(frames), 0.0f);
    for (int32_t start = 0; start < frames; start += blockSize)
    {
        const int32_t n = frames - start < blockSize ? frames - start : blockSize;
        float* outputs[2] = {out.left.data() + start, out.right.data() + start};
        synth.ProcessBlock(nullptr, outputs, n);
    }
    return out;
}

// The voices alone, without the effects and the output stage: what the
// pool adds into buffers holding `fill`.
inline Stereo RenderVoices(CSynth& synth, int32_t frames, float fill = 0.0f)
{
    Stereo out;
    out.left.assign(static_cast<size_t>(frames), fill);
    out.right.assign(static_cast<size_t>(frames), fill);
    const RenderContext context{&EngineTables::Get(), &synth.envelopeLimits, synth.globalLfos, &synth.random,
                                synth.sampleRate, synth.tempo, synth.modWheel, synth.pitchBend};
    synth.voicePool.Render(context, out.left.data(), out.right.data(), frames);
    return out;
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
            const double at = static_cast<double>(i - 1) + x[i - 1] / static_cast<double>(x[i - 1] - x[i]);
            if (first < 0.0)
                first = at;
            last = at;
            ++cycles;
        }
    }
    if (cycles < 1)
        return 0.0;
    return cycles * sampleRate / (last - first);
}

}  // namespace enginetest
