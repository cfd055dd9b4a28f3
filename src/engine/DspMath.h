#pragma once

#include <cmath>

// Small numeric helpers shared by the voice engine and the effects.

constexpr double kPi = 3.14159265358979323846;

// Magnitude below which feedback state is replaced by exact zero, so that
// decaying tails never reach the slow denormal range.
constexpr float kFlushThreshold = 1e-10f;

inline float FlushTiny(float value)
{
    return std::fabs(value) < kFlushThreshold ? 0.0f : value;
}
