#pragma once

#include "engine/Lanes.h"

#include <cmath>
#include <cstdint>

// Small numeric helpers shared by the voice engine and the effects.

constexpr double kPi = 3.14159265358979323846;

// Magnitude below which feedback state is replaced by exact zero, so that
// decaying tails never reach the slow denormal range.
constexpr float kFlushThreshold = 1e-10f;

inline float FlushTiny(float value)
{
    return std::fabs(value) < kFlushThreshold ? 0.0f : value;
}

// FlushTiny lane by lane.
inline Lanes FlushTiny(Lanes value)
{
    const LaneInts bits = reinterpret_cast<LaneInts>(value);
    return reinterpret_cast<Lanes>(bits & ~(Magnitude(value) < kFlushThreshold));
}

// The largest |sample| of n samples, 0 for none; NaN samples are passed
// over. Four samples a step: the largest is the same in any order.
inline float LargestMagnitude(const float* samples, int32_t n)
{
    Lanes peaks = {};
    int32_t s = 0;
    for (; s + kLaneCount <= n; s += kLaneCount)
    {
        const Lanes magnitude = Magnitude(LoadLanes(samples + s));
        peaks = magnitude > peaks ? magnitude : peaks;
    }
    float peak = 0.0f;
    for (int32_t l = 0; l < kLaneCount; ++l)
        peak = peaks[l] > peak ? peaks[l] : peak;
    for (; s < n; ++s)
    {
        const float magnitude = std::fabs(samples[s]);
        peak = magnitude > peak ? magnitude : peak;
    }
    return peak;
}
