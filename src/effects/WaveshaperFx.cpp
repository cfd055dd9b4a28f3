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

// ExactRemainder of two lanes up to the sign of a zero remainder, which the
// fold's magnitude drops, as long as both quotients lie in its exact range;
// false leaves r unset.
bool ExactRemainders(Pairs a, double p, Pairs& r)
{
    const Pairs quotient = a / p;
    const auto inRange = (quotient > -kExactQuotientLimit) & (quotient < kExactQuotientLimit);
    if (!(inRange[0] && inRange[1]))
        return false;
    using Whole = int32_t __attribute__((vector_size(8)));
    const Pairs whole = __builtin_convertvector(__builtin_convertvector(quotient, Whole), Pairs);
    r = a - whole * p;
    return true;
}

// Shape of four samples side by side, branch-free: every lane works out the
// fold and keeps it only where the sample lies beyond the threshold. A
// quotient out of the exact range (a huge or non-finite sample) sends the
// four to Shape one by one.
void ShapeLanes(const Fold& fold, float* samples)
{
    const Lanes x = LoadLanes(samples);
    const Lanes beyond = x - fold.t;
    Pairs low;
    Pairs high;
    if (!ExactRemainders(Widen(beyond, 0), fold.period, low) || !ExactRemainders(Widen(beyond, 1), fold.period, high))
    {
        ShapeEach(fold, samples, kLaneCount);
        return;
    }
    const Lanes r = {static_cast<float>(low[0]), static_cast<float>(low[1]), static_cast<float>(high[0]),
                     static_cast<float>(high[1])};
    const Lanes folded = Magnitude(Magnitude(r) - 2.0f * fold.t) - fold.t;
    const Lanes y = Magnitude(x) > fold.t ? folded : x;
    StoreLanes(samples, y * fold.wetGain + fold.dry * x);
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
        int32_t s = 0;
        for (; s + kLaneCount <= n; s += kLaneCount)
            ShapeLanes(fold, samples + s);
        ShapeEach(fold, samples + s, n - s);
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
