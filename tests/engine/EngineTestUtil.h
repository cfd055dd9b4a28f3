#pragma once

#include "synth/CSynth.h"

#include <cstdint>
#include <cstring>
#include <vector>

// Helpers for the tests that play voices: MIDI words, a plain program and the
// render context of a synth.
namespace enginetest
{

inline uint32_t NoteOn(int32_t note, int32_t velocity = 100, int32_t channel = 0)
{
    return 0x90u | static_cast<uint32_t>(channel) | static_cast<uint32_t>(note) << 8 |
           static_cast<uint32_t>(velocity) << 16;
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

inline RenderContext ContextOf(CSynth& synth)
{
    return RenderContext{&EngineTables::Get(), &synth.envelopeLimits, synth.globalLfos, &synth.random,
                         synth.sampleRate,     synth.tempo,           synth.modWheel,   synth.pitchBend};
}

inline bool SameBytes(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace enginetest
