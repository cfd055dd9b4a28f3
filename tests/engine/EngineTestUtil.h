#pragma once

#include "engine/CVoicePool.h"
#include "engine/EngineTables.h"
#include "synth/SynthProgram.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Helpers for the tests that play voices: MIDI words, a plain program and a
// voice pool with everything a synth would hand it.
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

// A voice pool playing one program at 44.1 kHz, with the limits, global LFOs
// and generator a synth would own.
struct EngineRig
{
    EngineRig()
    {
        MakeDefaultProgram(program);
        limits.SetSampleRate(kRate);
        for (LfoState& lfo : globals)
            lfo.countdown = -1.0;
    }

    NoteContext Notes() { return NoteContext{&program, &limits, globals, &random, kRate, &lastNote}; }
    RenderContext Context()
    {
        return RenderContext{&EngineTables::Get(), &limits, globals, &random, kRate, 120.0f, 0.0f, 0.0f};
    }

    void On(int32_t note, int32_t velocity = 100) { pool->NoteOn(NoteOn(note, velocity), Notes()); }
    void Off(int32_t note) { pool->NoteOff(NoteOff(note), Notes()); }

    static constexpr int32_t kRate = 44100;
    SynthProgram program;
    EnvelopeLimits limits{};
    LfoState globals[4] = {};
    CRandom random{3};
    int32_t lastNote = -1;
    std::unique_ptr<CVoicePool> pool = std::make_unique<CVoicePool>();
};

inline bool SameBytes(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace enginetest
