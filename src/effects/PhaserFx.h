#pragma once

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
    // Runs n samples through kStages stages from the LFO phase given;
    // returns the phase advanced n times.
    template <int32_t kStages>
    double Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n, const Sweep& sweep,
               double phase);
    using RunFunction = double (PhaserFx::*)(const float*, const float*, float*, float*, int32_t, const Sweep&, double);
    // Run for each stage count, indexed by the count.
    static const RunFunction kRuns[kMaxStages + 1];
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
