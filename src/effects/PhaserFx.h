#pragma once

#include "effects/EffectMath.h"
#include "engine/Lanes.h"

#include <cstdint>

// Stereo phaser: a cascade of first-order allpass stages whose break frequency
// a sine LFO sweeps between a low and a high frequency, with feedback from
// the cascade's output, mixed with the dry signal.
class PhaserFx
{
public:
    static constexpr int32_t kMaxStages = 16;

    // sineTable: 65536 floats of one sine cycle, read-only, outliving this.
    explicit PhaserFx(const float* sineTable);

    void SetSampleRate(float rate) { sampleRate = rate; }
    void SetLevel(float level);            // 0..1
    void SetRate(float hertz);             // 0..20 Hz (the editor offers 0.01..1)
    void SetFeedback(float feedback);      // -1..1
    void SetPhaseOffset(int32_t degrees);  // right LFO lead, taken modulo 360
    // 0..16; a stored count above 16 runs 16 stages, below 0 none.
    void SetStages(int32_t stages);
    void SetLowFrequency(float hertz);   // 0..20000
    void SetHighFrequency(float hertz);  // 0..20000

    // Clears the allpass memories and feedback; settings and the LFO phase stay.
    void Reset();
    // In place allowed (in == out).
    void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n);

    // One block through kStages stages, a sample a call, as Process runs it
    // when it does not skip silence: for an owner that runs the previous
    // effect's samples in the same loop. Construct, call Next once a sample,
    // then End.
    template <int32_t kStages>
    class Block;

    int32_t Stages() const { return stages; }
    double LfoPhase() const { return lfoPhase; }
    // True when every stage holds zero: silent blocks then skip the stages.
    bool IsQuiet() const { return IsClear(left) && IsClear(right); }

private:
    struct Channel
    {
        float lastOutput = 0.0f;
        float state[kMaxStages] = {};
    };

    // What Process derives from the settings once per block.
    struct Sweep
    {
        float lo2;   // low break frequency, 2 f / rate
        float span;  // high minus low, likewise
        float fb;
        float wet;
        float dry;
        double increment;  // LFO cycles per sample
        double offset;     // right LFO lead in cycles
    };
    Sweep CurrentSweep() const;
    // Runs n samples through kStages stages.
    template <int32_t kStages>
    void Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n);
    using RunFunction = void (PhaserFx::*)(const float*, const float*, float*, float*, int32_t);
    // Run for each stage count, indexed by the count.
    static const RunFunction kRuns[kMaxStages + 1];
    // The block's bookkeeping, with the LFO phase it reached.
    void EndBlock(double phase);

    static void FlushChannel(Channel& channel);
    // True when the channel's memory is all +0.0.
    static bool IsClear(const Channel& channel);

    const float* sine;
    float sampleRate = 44100.0f;
    float rate = 0.1f;
    float wetScale = 0.5f;
    float feedback = 0.5f;
    int32_t phaseOffset = 0;
    float lowFrequency = 4000.0f;
    float highFrequency = 10000.0f;
    int32_t stages = 4;
    double lfoPhase = 0.0;  // in cycles, 0..1 between blocks
    Channel left;
    Channel right;
    float level = 0.0f;
};

template <int32_t kStages>
class PhaserFx::Block
{
public:
    explicit Block(PhaserFx& phaser)
        : fx(phaser), sweep(phaser.CurrentSweep()), sine(phaser.sine), phase(phaser.lfoPhase)
    {
        for (int32_t k = 0; k < kStages; ++k)
            state[k] = StereoLanes(phaser.left.state[k], phaser.right.state[k]);
        last = StereoLanes(phaser.left.lastOutput, phaser.right.lastOutput);
    }

    // in: the stereo input in lanes 0 and 1; returns the output likewise.
    Lanes Next(Lanes in)
    {
        Lanes x = sweep.fb * last + in;
        const Lanes a = Coefficient(phase);
        for (int32_t k = 0; k < kStages; ++k)
        {
            const Lanes t = state[k] - a * x;
            state[k] = a * t + x;
            x = t;
        }
        last = x;
        phase += sweep.increment;
        return sweep.dry * in + sweep.wet * x;
    }

    void End()
    {
        for (int32_t k = 0; k < kStages; ++k)
        {
            fx.left.state[k] = state[k][0];
            fx.right.state[k] = state[k][1];
        }
        fx.left.lastOutput = last[0];
        fx.right.lastOutput = last[1];
        fx.EndBlock(phase);
    }

private:
    // The allpass coefficient of each channel at the LFO phase, in cycles.
    // It depends on the phase only through the two table entries, on which
    // a slow LFO stays for several samples. The phase never falls, so below
    // a bound neither entry can have changed: the coefficient is worked out
    // again only past it.
    Lanes Coefficient(double phaseL)
    {
        if (phaseL < unchangedBelow)
            return coefficient;
        // One cycle spans 65535 table steps, as for the oscillators.
        const int32_t wholeLeft = static_cast<int32_t>(phaseL * kSteps);
        const int32_t wholeRight = static_cast<int32_t>((sweep.offset + phaseL) * kSteps);
        const Pairs s{sine[wholeLeft & 0xFFFF], sine[wholeRight & 0xFFFF]};
        const Pairs w = (s * 0.5 + 0.5) * static_cast<double>(sweep.span) + static_cast<double>(sweep.lo2);
        const Lanes w4 = NarrowPair(w);
        // w >= 0 keeps |a| <= 1, so every stage is a stable allpass.
        coefficient = (1.0f - w4) / (1.0f + w4);
        // A 64th of a step short of the next entry of each channel: far
        // more than the roundings of the products and the sum can cross.
        constexpr double kShort = 1.0 / 64;
        const double leftBound = (wholeLeft + 1 - kShort) / kSteps;
        const double rightBound = (wholeRight + 1 - kShort) / kSteps - sweep.offset;
        unchangedBelow = leftBound < rightBound ? leftBound : rightBound;
        return coefficient;
    }

    static constexpr double kSteps = 65535.0;

    PhaserFx& fx;
    const Sweep sweep;
    const float* sine;
    double phase;
    Lanes state[kStages + 1];  // + 1: no array may be empty
    Lanes last;
    Lanes coefficient = {};
    // Phases below this keep both entries that coefficient was worked out
    // from; none at first.
    double unchangedBelow = -1.0;
};
