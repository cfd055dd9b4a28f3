#pragma once

#include "engine/CRandom.h"
#include "engine/EngineTables.h"
#include "synth/SynthProgram.h"

#include <cstdint>

// The running state of one LFO, per voice or free-running in the synth. The
// phase counts table entries and is never wrapped; the index wraps.
struct LfoState
{
    double phase;        // table entries
    double increment;    // table entries per sample
    double countdown;    // samples to the next random step; negative: pending
    const float* table;  // one of the LFO waves, 8192 values 0..1
    int32_t continuous;  // 1, or 0 for the random wave (holds between steps)

    // The value at sample i of the current sub-block, 0..1.
    float Value(int32_t i) const
    {
        const double position = i * increment * continuous + phase;
        return table[static_cast<int64_t>(position) & EngineTables::kLfoMask];
    }
};

// The wave number of an LFO as the engine uses it: 0..4, where a number
// outside that range plays the SIN wave.
int32_t LfoWave(const SynthLfo& params);

// Table entries per sample. Free: rate^2 * 19.99 + 0.01 Hz. Synced: syncDiv /
// (4 syncBeats) cycles per beat at tempo beats per minute. rate, syncBeats
// and syncDiv are clamped where they would give no or an endless cycle.
// sampleRate > 0, tempo > 0.
double LfoIncrement(const SynthLfo& params, int32_t sampleRate, float tempo);

// Note-on: takes the wave, and either restarts the phase or joins the
// free-running global state.
void StartLfo(const LfoState& global, LfoState& voice, const SynthLfo& params);

// Sets the countdown of a pending step to one cycle and, for the random
// wave, jumps to a random entry.
void StartStep(LfoState& state, int32_t wave, CRandom& random);

// At the start of a sub-block, after the increment is set: starts a pending
// step. Inline, as every sub-block of every voice asks.
inline void StartPendingStep(LfoState& state, int32_t wave, CRandom& random)
{
    if (state.countdown < 0.0 && state.increment > 0.0)
        StartStep(state, wave, random);
}

// AdvanceLfo for the random wave.
void AdvanceRandomLfo(LfoState& state, int32_t count);

// Moves the state on by count samples. The random wave steps one entry when
// its countdown runs out; the others move their phase.
inline void AdvanceLfo(LfoState& state, int32_t wave, int32_t count)
{
    if (wave == EngineTables::kLfoRandomWave)
        AdvanceRandomLfo(state, count);
    else
        state.phase += count * state.increment;
}

// Transport start: the free-running state goes back to its first entry with a
// random step pending.
void ResetLfo(LfoState& state);
