#include "effects/EqFx.h"

#include "effects/EffectMath.h"
#include "engine/Lanes.h"
#include "engine/StableMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// Above a quarter of the rate the coefficient 2 sin(pi f / rate) passes 1.41
// and the one-pole stages ring ever harder at Nyquist (2.4 times per stage
// here, 79 times at 0.45); at 2 they would no longer decay. Crossovers stop
// here, which touches nothing at 40 kHz and above.
constexpr float kMaxFrequencyRatio = 0.25f;

double Coefficient(int32_t hertz, float sampleRate)
{
    const float ratio = std::fmin(static_cast<float>(hertz) / sampleRate, kMaxFrequencyRatio);
    return 2.0 * StableSin(kPi * static_cast<double>(ratio));
}

// The last stage of a plain run: the equaliser's output as it is.
struct PassOn
{
    Lanes Next(Lanes in) const { return in; }
};

}  // namespace

EqState<Pairs> EqFx::Join(const EqBandState& l, const EqBandState& r)
{
    return {Pairs{l.lf, r.lf}, Pairs{l.p1, r.p1}, Pairs{l.p2, r.p2}, Pairs{l.p3, r.p3}, Pairs{l.p4, r.p4},
            Pairs{l.hf, r.hf}, Pairs{l.q1, r.q1}, Pairs{l.q2, r.q2}, Pairs{l.q3, r.q3}, Pairs{l.q4, r.q4},
            Pairs{l.x1, r.x1}, Pairs{l.x2, r.x2}, Pairs{l.x3, r.x3}};
}

EqBandState EqFx::Lane(const EqState<Pairs>& z, int32_t i)
{
    return {z.lf[i], z.p1[i], z.p2[i], z.p3[i], z.p4[i], z.hf[i], z.q1[i],
            z.q2[i], z.q3[i], z.q4[i], z.x1[i], z.x2[i], z.x3[i]};
}

EqFx::EqFx()
{
    UpdateCoefficients();
}

void EqFx::SetSampleRate(float rate)
{
    sampleRate = rate;
    Reset();
}

void EqFx::Reset()
{
    left = EqBandState{};
    right = EqBandState{};
    coefficientRate = 0.0f;
    UpdateCoefficients();
}

void EqFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void EqFx::SetGains(int32_t low, int32_t mid, int32_t high, int32_t output)
{
    lowGain = ClampSetting(low, 0, 200);
    midGain = ClampSetting(mid, 0, 200);
    highGain = ClampSetting(high, 0, 200);
    outputGain = ClampSetting(output, 0, 200);
}

void EqFx::SetFrequencies(int32_t lowHz, int32_t highHz)
{
    lowFrequency = ClampSetting(lowHz, 20, 2000);
    highFrequency = ClampSetting(highHz, 800, 10000);
}

void EqFx::UpdateCoefficients()
{
    if (lowFrequency == coefficientLow && highFrequency == coefficientHigh && sampleRate == coefficientRate)
        return;
    coefficientLow = lowFrequency;
    coefficientHigh = highFrequency;
    coefficientRate = sampleRate;
    const double lf = Coefficient(lowFrequency, sampleRate);
    const double hf = Coefficient(highFrequency, sampleRate);
    left.lf = right.lf = lf;
    left.hf = right.hf = hf;
}

EqMix EqFx::Mix() const
{
    const double wet = level;
    return {lowGain * 0.01, midGain * 0.01, highGain * 0.01, outputGain * 0.01, wet, 1.0 - wet};
}

bool EqFx::Settled(const EqBandState& st, const EqMix& mix, float& out)
{
    // The anti-denormal offset keeps the cascades from ever reaching 0; in
    // silence they settle where a step no longer changes them, and from then
    // on every output is the same.
    EqBandState z = st;
    out = static_cast<float>(EqStep(z, 0.0, mix));
    return std::memcmp(&z, &st, sizeof z) == 0;
}

bool EqFx::IsSettled() const
{
    float out;
    const EqMix mix = Mix();
    return Settled(left, mix, out) && Settled(right, mix, out);
}

bool EqFx::Repeats(const float* leftSamples, const float* rightSamples, int32_t n) const
{
    // Settled first: while the equaliser rings, the samples need no scan.
    return IsSettled() && IsSilent(leftSamples, rightSamples, n);
}

void EqFx::Process(float* leftSamples, float* rightSamples, int32_t n)
{
    const EqMix mix = Mix();
    float outL, outR;
    if (IsSilent(leftSamples, rightSamples, n) && Settled(left, mix, outL) && Settled(right, mix, outR))
    {
        std::fill(leftSamples, leftSamples + n, outL);
        std::fill(rightSamples, rightSamples + n, outR);
        return;
    }
    PassOn unchanged;
    ProcessInto(unchanged, leftSamples, rightSamples, n);
}
