#pragma once

#include "engine/DspMath.h"
#include "engine/Lanes.h"
#include "io/ByteOrder.h"

#include <cmath>
#include <cstdint>
#include <cstring>

// Small helpers shared by the effects: the limiting of settings that arrive
// unchecked from stored programs. Flushing and pi come from the engine.

// value limited to lo..hi; NaN counts as 0 before limiting.
inline float ClampSetting(float value, float lo, float hi)
{
    if (!(value == value))
        value = 0.0f;
    return value < lo ? lo : (value > hi ? hi : value);
}

inline int32_t ClampSetting(int32_t value, int32_t lo, int32_t hi)
{
    return value < lo ? lo : (value > hi ? hi : value);
}

// Degrees reduced to 0..359, for right-channel LFO leads of any stored value.
inline int32_t WrapDegrees(int32_t degrees)
{
    int32_t wrapped = degrees % 360;
    return wrapped < 0 ? wrapped + 360 : wrapped;
}

// value x factor, saturated to the int32_t range instead of overflowing.
inline int32_t SaturatingMultiply(int32_t value, int32_t factor)
{
    const int64_t product = static_cast<int64_t>(value) * factor;
    if (product > INT32_MAX)
        return INT32_MAX;
    if (product < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(product);
}

// True when every sample of both channels is +0.0 (bit pattern 0). Effects that hold only
// zeros may then skip a block: each of their operations maps +0.0 to +0.0, so
// the skipped block's output and memory are those of a run one.
inline bool IsSilent(const float* left, const float* right, int32_t n)
{
    uint32_t bits = 0;
    for (int32_t s = 0; s < n; ++s)
        bits |= FloatBits(left[s]) | FloatBits(right[s]);
    return bits == 0;
}

// Writes +0.0 to both outputs unless they are the (silent) inputs.
inline void PassSilence(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    if (outL != inL)
        std::memset(outL, 0, sizeof(float) * static_cast<size_t>(n));
    if (outR != inR)
        std::memset(outR, 0, sizeof(float) * static_cast<size_t>(n));
}

// Quotients below this in magnitude (2^24) are within ExactRemainder's exact range.
constexpr double kExactQuotientLimit = 16777216.0;

// a - trunc(a / p) p for p > 0, bit for bit what std::fmod gives, for a and
// p single-precision values widened. Their quotient lies at least a 2^-24th
// of itself away from any integer it is not, so its rounding in double never
// crosses one; below 2^24, n p and a - n p are exact in double. Larger
// quotients, infinities and NaN go to the library, whose remainder is exact
// too.
inline double ExactRemainder(double a, double p)
{
    const double quotient = a / p;
    if (!(quotient > -kExactQuotientLimit && quotient < kExactQuotientLimit))
        return std::fmod(a, p);
    const double r = a - static_cast<double>(static_cast<int32_t>(quotient)) * p;
    // A zero remainder takes the sign of a.
    return r == 0.0 ? a * 0.0 : r;
}

// A phase advanced n times by increment, one addition at a time as a running
// effect advances it, so that a skipped block leaves it bit for bit in place.
inline double AdvancePhase(double phase, double increment, int32_t n)
{
    for (int32_t s = 0; s < n; ++s)
        phase += increment;
    return phase;
}

// Both channels side by side, so that one vector operation serves both: lane 0
// left, lane 1 right; lanes 2 and 3 carry zeros.
inline Lanes StereoLanes(float left, float right)
{
    return Lanes{left, right, 0.0f, 0.0f};
}

// Both doubles rounded to float as static_cast would, into lanes 0 and 1;
// lanes 2 and 3 carry zeros. One instruction converts both.
inline Lanes NarrowPair(Pairs pair)
{
    using Quad = double __attribute__((vector_size(32)));
    return __builtin_convertvector(Quad{pair[0], pair[1], 0.0, 0.0}, Lanes);
}
