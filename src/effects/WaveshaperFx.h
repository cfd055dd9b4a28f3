#pragma once

#include <cstdint>

// Foldback waveshaper: samples beyond a threshold fold back between -t and t;
// the wet part gets a make-up gain. Memoryless.
class WaveshaperFx
{
public:
    void SetLevel(float level);    // 0..1
    void SetAmount(float amount);  // 0..1: threshold 0.5 down to 0.05, gain 1 up to 1.67

    // Both buffers in place; with amount 0 they are left untouched.
    void Process(float* left, float* right, int32_t n) const;

private:
    void ProcessChannel(float* samples, int32_t n) const;

    float level = 0.0f;
    float amount = 0.0f;
};
