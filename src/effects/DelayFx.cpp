#include "effects/DelayFx.h"

#include "effects/EffectMath.h"

#include <algorithm>
#include <cmath>

DelayFx::DelayFx() : bufferLeft(kBufferSize, 0.0f), bufferRight(kBufferSize, 0.0f)
{
}

void DelayFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void DelayFx::SetFeedback(float newFeedback)
{
    feedback = ClampSetting(newFeedback, 0.0f, 1.0f);
}

void DelayFx::SetCross(float newCross)
{
    cross = ClampSetting(newCross, 0.0f, 1.0f);
}

void DelayFx::SetTime(int32_t newBeats, int32_t newDivisor)
{
    beats = newBeats < 1 ? 1 : newBeats;
    divisor = newDivisor < 1 ? 1 : newDivisor;
}

int32_t DelayFx::LineLength() const
{
    float length = static_cast<float>(beats) * sampleRate * 60.0f / (static_cast<float>(divisor) * tempo);
    if (!(length >= 1.0f))
        return 1;
    if (!std::isfinite(length))
        return kBufferSize;
    while (length > static_cast<float>(kBufferSize))
        length *= 0.5f;
    return static_cast<int32_t>(length);
}

void DelayFx::Reset()
{
    std::fill(bufferLeft.begin(), bufferLeft.end(), 0.0f);
    std::fill(bufferRight.begin(), bufferRight.end(), 0.0f);
    silentWrites = kBufferSize + 1;
}

void DelayFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    // Both lines always get the same time, so one length serves both.
    const int32_t length = LineLength();
    const float c = cross;
    const float keep = 1.0f - c;
    float* left = bufferLeft.data();
    float* right = bufferRight.data();
    int32_t iL = indexLeft;
    int32_t iR = indexRight;
    if (length != silentLength)
    {
        silentLength = length;
        silentWrites = 0;
    }
    // More zero writes than the length, at this length: both lines hold
    // only zeros over all they read.
    if (silentWrites > length && iL < length && iR < length && IsSilent(inL, inR, n))
    {
        PassSilence(inL, inR, outL, outR, n);
        indexLeft = static_cast<int32_t>((static_cast<int64_t>(iL) + n) % length);
        indexRight = static_cast<int32_t>((static_cast<int64_t>(iR) + n) % length);
        return;
    }
    uint32_t written = 0;
    for (int32_t s = 0; s < n; ++s)
    {
        const float dL = left[iL];
        const float dR = right[iR];
        const float xL = inL[s];
        const float xR = inR[s];
        left[iL] = FlushTiny((xL + keep * dL + c * dR) * feedback);
        right[iR] = FlushTiny((keep * xR + keep * dR + c * dL) * feedback);
        written |= FloatBits(left[iL]) | FloatBits(right[iR]);
        // An index left beyond a shortened length is used once more, then wraps.
        if (++iL >= length)
            iL = 0;
        if (++iR >= length)
            iR = 0;
        outL[s] = dL * level + xL;
        outR[s] = dR * level + xR;
    }
    indexLeft = iL;
    indexRight = iR;
    silentWrites = written != 0 ? 0 : std::min(silentWrites + n, kBufferSize + 1);
}
