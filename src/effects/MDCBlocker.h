#pragma once

#include "effects/EffectMath.h"
#include "engine/Lanes.h"

#include <cstdint>

// First-order DC-blocking high-pass for one channel:
// y = g (x - x1) + pole y1, corner kCornerHz, with g = (1 + pole) / 2 so that
// high frequencies pass at unity gain. The feedback oscillator leaves a
// steady offset in the voice mix; this removes it without touching anything
// audible (at 20 Hz the loss is 0.26 dB, at 1 kHz under 0.001 dB).
class MDCBlocker
{
public:
    static constexpr double kCornerHz = 5.0;

    MDCBlocker();

    // rate in Hz, positive.
    void SetSampleRate(float rate);
    // Forgets the last input and output: silence in gives exact zeros out.
    void Reset();
    // n samples in place.
    void Process(float* samples, int32_t n);
    // Both channels of a stereo signal in place, each through its own
    // blocker, as two Process calls would.
    static void ProcessPair(MDCBlocker& left, MDCBlocker& right, float* leftSamples, float* rightSamples, int32_t n);

    float Pole() const { return pole; }

    // Both channels a sample a call, each through its own blocker, as
    // ProcessPair gives them (its shortcut for held input gives what the
    // recursion gives): for an owner that runs the previous stage's samples
    // in the same loop. Construct, call Next once a sample, then End.
    class Pair;

private:
    // Ends a block that holds still (false), or leaves the recursion's
    // input in the samples (true); n is positive.
    bool Begin(float* samples, int32_t n);
    // The recursion from the last output y1; returns the new last output.
    static float Recur(float* samples, int32_t n, float pole, float y1);
    // True when every sample equals the last input (a finite value): the
    // input holds still, as it does in silence or behind a settled effect.
    bool HoldsStill(const float* samples, int32_t n) const;
    // The samples replaced by gain (x - x1), the recursion's input.
    void ScaleDifferences(float* samples, int32_t n) const;

    float pole = 0.0f;
    float gain = 0.0f;
    float lastInput = 0.0f;
    float lastOutput = 0.0f;
};

class MDCBlocker::Pair
{
public:
    Pair(MDCBlocker& left, MDCBlocker& right)
        : leftBlocker(left), rightBlocker(right), gain(StereoLanes(left.gain, right.gain)),
          pole(StereoLanes(left.pole, right.pole)), lastInput(StereoLanes(left.lastInput, right.lastInput)),
          lastOutput(StereoLanes(left.lastOutput, right.lastOutput))
    {
    }

    // in: the stereo input in lanes 0 and 1; returns the output likewise.
    Lanes Next(Lanes in)
    {
        const Lanes difference = gain * (in - lastInput);
        lastInput = in;
        lastOutput = FlushTiny(difference + pole * lastOutput);
        return lastOutput;
    }

    void End()
    {
        leftBlocker.lastInput = lastInput[0];
        rightBlocker.lastInput = lastInput[1];
        leftBlocker.lastOutput = lastOutput[0];
        rightBlocker.lastOutput = lastOutput[1];
    }

private:
    MDCBlocker& leftBlocker;
    MDCBlocker& rightBlocker;
    const Lanes gain;
    const Lanes pole;
    Lanes lastInput;
    Lanes lastOutput;
};
