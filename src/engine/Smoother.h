#pragma once

#include <cstdint>

// One-pole low-pass at 200 Hz that glides a modulated value towards its
// target; every note starts it from 0.
struct Smoother
{
    float coefficient;  // c = exp(-2 pi / (sample rate * 5 ms))
    float complement;   // 1 - c
    float state;

    // sampleRate > 0. Clears the state.
    void Start(int32_t sampleRate);

    float Process(float target)
    {
        state = target * complement + state * coefficient;
        return state;
    }
};
