#include "effects/ChorusFx.h"

#include "effects/EffectMath.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int32_t kIndexMask = ChorusFx::kBufferSize - 1;
constexpr float kBufferSizeF = static_cast<float>(ChorusFx::kBufferSize);

}  // namespace

ChorusFx::ChorusFx(const float* sineTable)
    : sine(sineTable), bufferLeft(kBufferSize, 0.0f), bufferRight(kBufferSize, 0.0f)
{
}

void ChorusFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void ChorusFx::SetDelay(int32_t milliseconds)
{
    delayMs = ClampSetting(milliseconds, 1, 150);
}

void ChorusFx::SetDepth(float newDepth)
{
    depth = ClampSetting(newDepth, 0.0f, 1.0f);
}

void ChorusFx::SetRate(float newRate)
{
    rate = ClampSetting(newRate, 100.0f, 10000.0f);
}

void ChorusFx::SetPhaseOffset(int32_t degrees)
{
    phaseOffset = WrapDegrees(degrees);
}

void ChorusFx::SetFeedback(float newFeedback)
{
    feedback = ClampSetting(newFeedback, -1.0f, 1.0f);
}

float ChorusFx::ProcessChannel(std::vector<float>& buffer, int32_t write, int32_t lfoIndex, float in, float swing,
                               float delaySamples, float dry, float wet) const
{
    float position = swing * sine[lfoIndex] + (static_cast<float>(write) - delaySamples - 1.0f);
    if (position < 0.0f)
        position += kBufferSizeF;
    else if (position >= kBufferSizeF)
        position -= kBufferSizeF;
    const int32_t i = static_cast<int32_t>(position);
    const float a = buffer[i & kIndexMask];
    const float b = buffer[(i + 1) & kIndexMask];
    const float v = a + (b - a) * (position - static_cast<float>(i));
    buffer[write] = FlushTiny(v * feedback + in);
    return dry * in + wet * v;
}

void ChorusFx::Reset()
{
    std::fill(bufferLeft.begin(), bufferLeft.end(), 0.0f);
    std::fill(bufferRight.begin(), bufferRight.end(), 0.0f);
    silentWrites = kBufferSize;
}

void ChorusFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    const float delaySamples = std::min(static_cast<float>(delayMs) * sampleRate * 0.001f, kMaxDelaySamples);
    const float swing = delaySamples * depth;
    const double increment = rate * 0.001 * kBufferSize / sampleRate;
    const float wet = level * wetScale;
    const float dry = 1.0f - wet;
    const double lead = static_cast<float>(phaseOffset << 16) / 360.0;  // table steps

    uint32_t written = 0;
    double phase = lfoPhase;
    int32_t write = writeIndex;
    if (silentWrites >= kBufferSize && IsSilent(inL, inR, n))
    {
        // Both lines hold only zeros: every read, write and output is 0.
        PassSilence(inL, inR, outL, outR, n);
        phase = AdvancePhase(phase, increment, n);
        write = (write + n) & kIndexMask;
    }
    else
        for (int32_t s = 0; s < n; ++s)
        {
            const int32_t leftIndex = static_cast<int32_t>(phase) & kIndexMask;
            const int32_t rightIndex = static_cast<int32_t>(lead + phase) & kIndexMask;
            const float left = inL[s];
            const float right = inR[s];
            outL[s] = ProcessChannel(bufferLeft, write, leftIndex, left, swing, delaySamples, dry, wet);
            outR[s] = ProcessChannel(bufferRight, write, rightIndex, right, swing, delaySamples, dry, wet);
            written |= FloatBits(bufferLeft[write]) | FloatBits(bufferRight[write]);
            write = (write + 1) & kIndexMask;
            phase += increment;
        }
    silentWrites = written != 0 ? 0 : std::min(silentWrites + n, kBufferSize);
    // Wrapped fully (not just once) so that long blocks at fast rates cannot
    // let the phase grow without bound.
    lfoPhase = phase - kBufferSize * std::floor(phase / kBufferSize);
    writeIndex = write;
}
