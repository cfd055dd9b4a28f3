#include "effects/WaveshaperFx.h"

#include "effects/EffectMath.h"

#include <cmath>

namespace
{

// What every sample of a block uses.
struct Fold
{
    float t;  // threshold
    float period;
    float wetGain;
    float dry;
};

[[gnu::always_inline]] inline float Shape(const Fold& fold, float x)
{
    const float t = fold.t;
    float y = x;
    if (x > t || x < -t)
    {
        // Remainder with the dividend's sign: a triangle of period 4t.
        const float r =
            static_cast<float>(ExactRemainder(static_cast<double>(x - t), static_cast<double>(fold.period)));
        y = std::fabs(std::fabs(r) - 2.0f * t) - t;
    }
    return y * fold.wetGain + fold.dry * x;
}

// True when any of the samples lies beyond the threshold t.
bool AnyFolds(const float* samples, int32_t n, float t)
{
    // x > t or x < -t is |x| > t, which no NaN passes, so the largest
    // magnitude decides.
    return LargestMagnitude(samples, n) > t;
}

void ShapeEach(Fold fold, float* samples, int32_t n)
{
    for (int32_t s = 0; s < n; ++s)
        samples[s] = Shape(fold, samples[s]);
}

}  // namespace

void WaveshaperFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void WaveshaperFx::SetAmount(float newAmount)
{
    amount = ClampSetting(newAmount, 0.0f, 1.0f);
}

void WaveshaperFx::ProcessChannel(float* samples, int32_t n) const
{
    const float t = (1.0f - amount) * 0.45f + 0.05f;
    const Fold fold{t, 4.0f * t, level * (amount * 0.67f + 1.0f), 1.0f - level};
    if (AnyFolds(samples, n, t))
    {
        ShapeEach(fold, samples, n);
        return;
    }
    // Nothing folds: y = x for every sample, four at a time in vector lanes.
    const float wetGain = fold.wetGain;
    const float dry = fold.dry;
    int32_t s = 0;
    for (; s + kLaneCount <= n; s += kLaneCount)
    {
        const Lanes x = LoadLanes(samples + s);
        StoreLanes(samples + s, x * wetGain + dry * x);
    }
    ShapeEach(fold, samples + s, n - s);
}

void WaveshaperFx::Process(float* left, float* right, int32_t n) const
{
    // +0.0 shapes to +0.0: a silent block stays as it is.
    if (!(amount > 0.0f) || IsSilent(left, right, n))
        return;
    ProcessChannel(left, n);
    ProcessChannel(right, n);
}
