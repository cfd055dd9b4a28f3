#include "effects/DelayFx.h"

#include "effects/EffectMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// The gains of one block.
struct EchoGains
{
    float keep;
    float cross;
    float feedback;
    float level;
};

template <typename T>
T Load(const float* samples)
{
    T value;
    std::memcpy(&value, samples, sizeof value);
    return value;
}

template <typename T>
void Store(float* samples, T value)
{
    std::memcpy(samples, &value, sizeof value);
}

uint32_t BitsOf(float value)
{
    return FloatBits(value);
}

LaneInts BitsOf(Lanes value)
{
    return reinterpret_cast<LaneInts>(value);
}

// One sample (T float) or four consecutive ones (T Lanes) of both lines at
// place s of the inputs and outputs and place at of the lines; or-s the bits
// written into written.
template <typename T, typename Bits>
void EchoStep(const EchoGains& g, const float* inL, const float* inR, float* outL, float* outR, float* left,
              float* right, int32_t s, int32_t at, Bits& written)
{
    const T dL = Load<T>(left + at);
    const T dR = Load<T>(right + at);
    const T xL = Load<T>(inL + s);
    const T xR = Load<T>(inR + s);
    const T wL = FlushTiny((xL + g.keep * dL + g.cross * dR) * g.feedback);
    const T wR = FlushTiny((g.keep * xR + g.keep * dR + g.cross * dL) * g.feedback);
    Store(left + at, wL);
    Store(right + at, wR);
    written |= BitsOf(wL) | BitsOf(wR);
    Store(outL + s, dL * g.level + xL);
    Store(outR + s, dR * g.level + xR);
}

}  // namespace

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
    if (length != silentLength)
    {
        silentLength = length;
        silentWrites = 0;
    }
    // More zero writes than the length, at this length: both lines hold
    // only zeros over all they read.
    if (silentWrites > length && index < length && IsSilent(inL, inR, n))
    {
        PassSilence(inL, inR, outL, outR, n);
        index = static_cast<int32_t>((static_cast<int64_t>(index) + n) % length);
        return;
    }
    uint32_t written = 0;
    for (int32_t s = 0; s < n;)
    {
        // An index left beyond a shortened length is used once more, then wraps.
        const int32_t run = std::min(n - s, std::max(length - index, 1));
        written |= Echo(inL + s, inR + s, outL + s, outR + s, run, index);
        s += run;
        index += run;
        if (index >= length)
            index = 0;
    }
    silentWrites = written != 0 ? 0 : std::min(silentWrites + n, kBufferSize + 1);
}

uint32_t DelayFx::Echo(const float* inL, const float* inR, float* outL, float* outR, int32_t n, int32_t at)
{
    // Within a run every sample reads and writes its own place of the lines,
    // so four consecutive samples go side by side in vector lanes.
    const EchoGains g{1.0f - cross, cross, feedback, level};
    float* left = bufferLeft.data();
    float* right = bufferRight.data();
    LaneInts vectorBits{};
    uint32_t written = 0;
    int32_t s = 0;
    for (; s + kLaneCount <= n; s += kLaneCount)
        EchoStep<Lanes>(g, inL, inR, outL, outR, left, right, s, at + s, vectorBits);
    for (; s < n; ++s)
        EchoStep<float>(g, inL, inR, outL, outR, left, right, s, at + s, written);
    return written | static_cast<uint32_t>(vectorBits[0] | vectorBits[1] | vectorBits[2] | vectorBits[3]);
}
