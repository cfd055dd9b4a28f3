#pragma once

#include "synth/SynthProgram.h"

#include <cstdint>

// Segment length limits of one envelope, in samples.
struct EnvelopeRange
{
    int32_t minimum;  // 5 ms: the shortest decay or release
    int32_t maximum;  // 10 s: the length of a segment whose knob is at 1
};

// The limits of the four envelopes of a voice, all equal, derived from the
// sample rate by SetSampleRate.
struct EnvelopeLimits
{
    static constexpr int32_t kCount = 4;
    EnvelopeRange range[kCount];

    // rate in samples per second, above 0. Each limit is rounded to the
    // nearest sample, halves up, and saturates at the largest count.
    void SetSampleRate(int32_t rate);
};

// One envelope: parabolic segments from value to target, stepped by forward
// differences (two additions per sample). The stage is the voice's state.
struct Envelope
{
    enum Stage : int32_t
    {
        kAttack = 0,
        kDecay = 1,
        kSustain = 2,
        kRelease = 3,
        kFinished = 4
    };

    bool active;  // a segment with a length is running
    int32_t stage;
    int32_t remaining;  // samples left in the running segment
    float value;        // current output, 0..1
    float step;         // added to value each sample
    float stepChange;   // added to step each sample

    // One sample of the running segment: returns the value before the step.
    float Step()
    {
        const float current = value;
        value += step;
        step += stepChange;
        return current;
    }
};

// Note-on: attack from 0 to 1, or straight to the decay when attack is 0.
void StartEnvelope(const EnvelopeRange& limits, Envelope& envelope, const SynthEnvelope& params);

// Called when a segment has run out: attack -> decay -> sustain; release ->
// finished. Sustain and finished stay as they are.
void AdvanceEnvelope(const EnvelopeRange& limits, Envelope& envelope, const SynthEnvelope& params);

// Starts the release from wherever the value stands. time is the release knob
// 0..1; 0 gives the shortest release, the limit's minimum.
void ForceRelease(const EnvelopeRange& limits, Envelope& envelope, float time);
