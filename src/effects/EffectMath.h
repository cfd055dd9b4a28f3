#pragma once

#include "engine/DspMath.h"

#include <cstdint>

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
