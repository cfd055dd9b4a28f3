#include "effects/EqFx.h"

#include "effects/EffectMath.h"
#include "engine/StableMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

// Keeps the cascades out of the denormal range: about 1 / (2^32 - 1).
constexpr double kAntiDenormal = 2.3283064370807974e-10;
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

}  // namespace

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

float EqFx::Step(EqBandState& z, double x) const
{
    z.p1 = z.p1 + z.lf * (x - z.p1) + kAntiDenormal;
    z.p2 += z.lf * (z.p1 - z.p2);
    z.p3 += z.lf * (z.p2 - z.p3);
    z.p4 += z.lf * (z.p3 - z.p4);
    const double l = z.p4;
    z.q1 = z.q1 + z.hf * (x - z.q1) + kAntiDenormal;
    z.q2 += z.hf * (z.q1 - z.q2);
    z.q3 += z.hf * (z.q2 - z.q3);
    z.q4 += z.hf * (z.q3 - z.q4);
    const double h = z.x3 - z.q4;
    const double m = z.x3 - (h + l);
    z.x3 = z.x2;
    z.x2 = z.x1;
    z.x1 = x;
    const double mix = level;
    return static_cast<float>((m * (midGain * 0.01) + l * (lowGain * 0.01) + h * (highGain * 0.01)) * mix *
                                  (outputGain * 0.01) +
                              (1.0 - mix) * x);
}

bool EqFx::Settled(const EqBandState& st, float& out) const
{
    // The anti-denormal offset keeps the cascades from ever reaching 0; in
    // silence they settle where a step no longer changes them, and from then
    // on every output is the same.
    EqBandState z = st;
    out = Step(z, 0.0);
    return std::memcmp(&z, &st, sizeof z) == 0;
}

bool EqFx::IsSettled() const
{
    float out;
    return Settled(left, out) && Settled(right, out);
}

void EqFx::ProcessChannel(EqBandState& st, float* samples, int32_t n) const
{
    EqBandState z = st;
    for (int32_t s = 0; s < n; ++s)
        samples[s] = Step(z, samples[s]);
    st = z;
}

void EqFx::Process(float* leftSamples, float* rightSamples, int32_t n)
{
    float outL, outR;
    if (IsSilent(leftSamples, rightSamples, n) && Settled(left, outL) && Settled(right, outR))
    {
        std::fill(leftSamples, leftSamples + n, outL);
        std::fill(rightSamples, rightSamples + n, outR);
        return;
    }
    ProcessChannel(left, leftSamples, n);
    ProcessChannel(right, rightSamples, n);
}
