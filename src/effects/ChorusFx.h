#pragma once

#include <cstdint>
#include <vector>

// Stereo chorus: each channel reads its own 65536-sample ring buffer at a
// delay swept by a sine LFO, with feedback, mixed with the dry signal. The
// right channel's LFO leads the left by a phase offset.
class ChorusFx
{
public:
    static constexpr int32_t kBufferSize = 65536;  // power of two: indices wrap by masking
    // Longest swept delay, in samples, that keeps the sweep (twice the delay)
    // inside the buffer. 150 ms at full depth fits up to 218 kHz; above that
    // the delay is shortened to this.
    static constexpr float kMaxDelaySamples = 32000.0f;

    // sineTable: 65536 floats of one sine cycle, read-only, outliving this.
    explicit ChorusFx(const float* sineTable);

    void SetSampleRate(float rate) { sampleRate = rate; }
    // Settings, limited to their editor ranges where a value outside is unsafe.
    void SetLevel(float level);            // 0..1
    void SetDelay(int32_t milliseconds);   // 1..150
    void SetDepth(float depth);            // 0..1
    void SetRate(float rate);              // chorusRate x 100: 100..10000 for 0.1..10 Hz
    void SetPhaseOffset(int32_t degrees);  // right LFO lead, taken modulo 360
    void SetFeedback(float feedback);      // -1..1

    // Clears both delay lines; settings and the LFO phase stay.
    void Reset();
    // In place allowed (in == out).
    void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n);

    double LfoPhase() const { return lfoPhase; }
    // True when both lines hold only zeros: silent blocks then skip the lines.
    bool IsQuiet() const { return silentWrites >= kBufferSize; }

private:
    // What Process derives from the settings once per block.
    struct Sweep
    {
        float delaySamples;
        float swing;  // largest change of the delay, in samples
        float wet;
        float dry;
        double increment;  // LFO table steps per sample
        double lead;       // right LFO lead in table steps
    };
    // Runs n samples through both lines from the LFO phase given, which it
    // advances; returns the bits of every sample written, or-ed.
    uint32_t Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n, Sweep sweep, double& phase);

    const float* sine;
    float sampleRate = 44100.0f;
    float wetScale = 0.5f;
    float feedback = 0.0f;
    double lfoPhase = 0.0;   // in table steps, 0..65536 between blocks
    int32_t writeIndex = 0;  // shared by both channels: they always advance together
    std::vector<float> bufferLeft;
    std::vector<float> bufferRight;
    // Consecutive +0.0 samples written to both lines, up to kBufferSize:
    // then the lines hold nothing else.
    int32_t silentWrites = kBufferSize;
    float rate = 1600.0f;
    int32_t delayMs = 20;
    int32_t phaseOffset = 90;
    float depth = 0.1f;
    float level = 0.0f;
};
