#pragma once

#include "engine/Envelope.h"
#include "engine/Lfo.h"
#include "engine/MStateVariableFilter.h"
#include "engine/Modulation.h"
#include "engine/Oscillators.h"
#include "engine/Smoother.h"
#include "synth/SynthProgram.h"

#include <cstdint>

// One voice: a plain record, copied whole when the pool closes a gap. All
// 32 live in the synth from construction on.
struct Voice
{
    static constexpr int32_t kEnvelopeCount = 4;   // the fourth is never started
    static constexpr int32_t kLfoCount = 4;        // the fourth is never started
    static constexpr int32_t kModulatorCount = 3;  // envelopes and LFOs in use

    const SynthProgram* program;  // current at note-on; read live while sounding
    int32_t note;                 // MIDI note 0..127
    OscWave osc1;
    OscWave osc2;
    double phase1;      // cycles, never wrapped
    double increment1;  // cycles per sample
    float state1a;
    float state1b;
    double phase2;
    double increment2;
    float state2a;
    float state2b;
    double lastOsc2;  // oscillator 2's previous sample (feedback)
    uint32_t noiseIndex;
    MStateVariableFilter filter;
    Envelope envelopes[kEnvelopeCount];  // amplitude, filter, modulation
    LfoState lfos[kLfoCount];
    int32_t glideRemaining;  // samples
    int32_t glideLength;     // samples
    float glideOffset;       // semitones at the glide's start
    NoteFactors factors;
    Smoother amplitude;
    Smoother cutoff;
    Smoother phase;
    Smoother pm;
    Smoother shape1;
    Smoother shape2;
    Smoother mix;

    // Held: the amplitude envelope has not been released.
    bool Held() const { return envelopes[0].stage < Envelope::kRelease; }
    bool Finished() const { return envelopes[0].stage == Envelope::kFinished; }
};
