#pragma once

#include <cstdint>
#include <vector>

// Tempo-synchronised stereo delay: two recirculating lines whose length is
// beats / divisor of a whole note at the host tempo, with cross-feed between
// them. The input enters the lines already multiplied by the feedback, so the
// first echo has the level feedback x level and feedback 0 is silent.
class DelayFx
{
public:
    // Samples per line: 10.9 s at 44.1 kHz, 2.5 s at 192 kHz.
    static constexpr int32_t kBufferSize = 480000;

    DelayFx();

    void SetSampleRate(float rate) { sampleRate = rate; }
    // Beats per minute, strictly between 0 and 500 (the synth filters it).
    void SetTempo(float bpm) { tempo = bpm; }
    void SetLevel(float level);        // 0..1, the wet gain
    void SetFeedback(float feedback);  // 0..1
    void SetCross(float cross);        // 0..1, how much each line is fed from the other
    // Echo time: beats (1..32) of 1/(4 x divisor) notes, divisor 1, 2, 4 or 8.
    // Values below 1 count as 1.
    void SetTime(int32_t beats, int32_t divisor);

    // Line length for the current tempo, time and rate. A length that would
    // not fit the buffer is halved until it does, so that it stays on the
    // tempo's grid.
    int32_t LineLength() const;

    // True when both lines hold only zeros over the length of the last
    // block: silent blocks then skip the lines.
    bool IsQuiet() const { return silentWrites > silentLength; }

    // Clears both lines; settings stay.
    void Reset();
    // In place allowed (in == out).
    void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n);

private:
    // n samples through both lines from place `at`, which the lines do not
    // pass the end of; returns the bits of every sample written, or-ed.
    uint32_t Echo(const float* inL, const float* inR, float* outL, float* outR, int32_t n, int32_t at);

    float sampleRate = 44100.0f;
    float tempo = 120.0f;
    std::vector<float> bufferLeft;
    std::vector<float> bufferRight;
    int32_t index = 0;  // of both lines: they always advance together
    // Consecutive +0.0 samples written to both lines at silentLength, up to
    // one more than the buffer: beyond the length, the lines hold only zeros.
    int32_t silentWrites = kBufferSize + 1;
    int32_t silentLength = 0;
    float level = 0.0f;
    int32_t beats = 1;
    int32_t divisor = 1;
    float feedback = 0.0f;
    float cross = 0.0f;
};
