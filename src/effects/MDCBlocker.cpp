#include "effects/MDCBlocker.h"

#include "effects/EffectMath.h"
#include "engine/StableMath.h"

#include <cmath>
#include <cstring>
#include <limits>

MDCBlocker::MDCBlocker()
{
    SetSampleRate(44100.0f);
}

void MDCBlocker::SetSampleRate(float rate)
{
    pole = static_cast<float>(StableExp(-2.0 * kPi * kCornerHz / rate));
    gain = 0.5f * (1.0f + pole);
}

void MDCBlocker::Reset()
{
    lastInput = 0.0f;
    lastOutput = 0.0f;
}

void MDCBlocker::Process(float* samples, int32_t n)
{
    if (n > 0 && Begin(samples, n))
        lastOutput = Recur(samples, n, pole, lastOutput);
}

void MDCBlocker::ProcessPair(MDCBlocker& left, MDCBlocker& right, float* leftSamples, float* rightSamples, int32_t n)
{
    if (n <= 0)
        return;
    const bool runLeft = left.Begin(leftSamples, n);
    const bool runRight = right.Begin(rightSamples, n);
    if (!runLeft || !runRight)
    {
        if (runLeft)
            left.lastOutput = Recur(leftSamples, n, left.pole, left.lastOutput);
        if (runRight)
            right.lastOutput = Recur(rightSamples, n, right.pole, right.lastOutput);
        return;
    }
    // The two recursions interleaved: neither waits on its own multiply and add.
    const float pl = left.pole;
    const float pr = right.pole;
    float yl = left.lastOutput;
    float yr = right.lastOutput;
    for (int32_t i = 0; i < n; ++i)
    {
        yl = FlushTiny(leftSamples[i] + pl * yl);
        yr = FlushTiny(rightSamples[i] + pr * yr);
        leftSamples[i] = yl;
        rightSamples[i] = yr;
    }
    left.lastOutput = yl;
    right.lastOutput = yr;
}

bool MDCBlocker::Begin(float* samples, int32_t n)
{
    const float last = samples[n - 1];
    if (lastOutput == 0.0f && HoldsStill(samples, n))
    {
        // Every difference is zero, so every output is +0.0, as the
        // recursion would give.
        std::memset(samples, 0, sizeof(float) * static_cast<size_t>(n));
        lastInput = last;
        lastOutput = 0.0f;
        return false;
    }
    ScaleDifferences(samples, n);
    lastInput = last;
    return true;
}

float MDCBlocker::Recur(float* samples, int32_t n, float pole, float y1)
{
    // The output feeds back: flushed, so a decaying offset ends in exact zero.
    for (int32_t i = 0; i < n; ++i)
    {
        y1 = FlushTiny(samples[i] + pole * y1);
        samples[i] = y1;
    }
    return y1;
}

bool MDCBlocker::HoldsStill(const float* samples, int32_t n) const
{
    // A finite value less itself is zero; infinities and NaN are not.
    const float held = lastInput;
    if (!(std::fabs(held) <= std::numeric_limits<float>::max()))
        return false;
    int32_t i = 0;
    LaneInts moved = {};
    for (; i + kLaneCount <= n; i += kLaneCount)
    {
        moved |= LoadLanes(samples + i) != held;
    }
    bool still = !AnyLane(moved);
    for (; i < n; ++i)
        still = still && samples[i] == held;
    return still;
}

void MDCBlocker::ScaleDifferences(float* samples, int32_t n) const
{
    // Backwards, so that each sample's predecessor is still the input; four
    // at a time in vector lanes while the predecessors lie in the buffer.
    const float g = gain;
    int32_t i = n;
    for (; i - kLaneCount >= 1; i -= kLaneCount)
    {
        const Lanes x = LoadLanes(samples + i - kLaneCount);
        const Lanes x1 = LoadLanes(samples + i - kLaneCount - 1);
        StoreLanes(samples + i - kLaneCount, g * (x - x1));
    }
    for (--i; i > 0; --i)
        samples[i] = g * (samples[i] - samples[i - 1]);
    samples[0] = g * (samples[0] - lastInput);
}
