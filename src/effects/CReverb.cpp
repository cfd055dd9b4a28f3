#include "effects/CReverb.h"

#include "effects/EffectMath.h"
#include "engine/StableMath.h"

#include <cmath>

namespace
{

constexpr float kLeftSigns[CReverb::kLineCount] = {1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1};
constexpr float kRightSigns[CReverb::kLineCount] = {1, 1, -1, -1, 1, 1, -1, -1, 1, 1, -1, -1};
constexpr int32_t kModulationDepth = 6;  // samples
constexpr double kModulationHz = 2.0;
constexpr float kOutputScale = 0.167f;        // a little above 1/6
constexpr float kHouseholder = -0.16666667f;  // -2/12
constexpr int32_t kInitialTimeMs = 4000;
constexpr float kMaxDampingPole = 0.9f;

}  // namespace

CReverb::CReverb()
{
    for (int32_t k = 0; k < kModulatedLineCount; ++k)
    {
        modulated[k].SetBaseDelay(kLineLengths[k]);
        modulated[k].SetDepth(kModulationDepth);
        modulated[k].SetLfo(45.0 * k / 360.0, kModulationHz / sampleRate);
    }
    for (int32_t k = kModulatedLineCount; k < kLineCount; ++k)
        fixed[k - kModulatedLineCount].Setup(kLineLengths[k]);
    preDelay.Setup(kPreDelayCapacity);
    SetTime(kInitialTimeMs);
}

void CReverb::SetTime(int32_t milliseconds)
{
    const int32_t time = milliseconds < kMinTimeMs ? kMinTimeMs : milliseconds;
    reverbTime = time;
    const float seconds = static_cast<float>(time) * 0.001f;
    // The high frequencies decay 2.4 times faster than the reverb time.
    const double ratio = (seconds / 2.4) / seconds;
    const double k = 1.0 - 1.0 / (ratio * ratio);
    const double ln10Exact = StableLog(10.0);
    const float ln10 = static_cast<float>(ln10Exact);
    for (int32_t i = 0; i < kLineCount; ++i)
    {
        // Line gain for a 60 dB fall over the reverb time.
        const float exponent = static_cast<float>(-3 * kLineLengths[i]) * (1.0f / sampleRate) / seconds;
        const float g = static_cast<float>(StablePow10(exponent));
        // The pole grows as the rate falls; below about 11 kHz it would pass 1
        // and the filter would blow up, so it stops at kMaxDampingPole.
        const float a =
            std::fmin(static_cast<float>((static_cast<float>(StableLog(g) / ln10Exact) * 20.0f * ln10 / 80.0f) * k),
                      kMaxDampingPole);
        damping[i].SetCoefficients((1.0f - a) * g, -a);
    }
    size = time / 100;
}

void CReverb::Reset()
{
    for (MSVRAP1ModDelayLine& line : modulated)
        line.Reset();
    for (MDelayLine& line : fixed)
        line.Reset();
    for (MLPF1a& filter : damping)
        filter.Reset();
    preDelay.Reset();
    running = false;
    silentSamples = 0;
}

void CReverb::SetSampleRate(float rate)
{
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    SetTime(reverbTime);
}

// Inline: twelve calls a sample.
[[gnu::always_inline]] inline float CReverb::Damp(int32_t line, float v)
{
    v = FlushTiny(damping[line].Process(v));
    damping[line].SetState(v);
    return v;
}

void CReverb::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    int32_t preDelaySamples = static_cast<int32_t>(static_cast<float>(preDelayMs) * sampleRate * 0.001f);
    if (preDelaySamples > kPreDelayCapacity)
        preDelaySamples = kPreDelayCapacity;

    if (!running)
    {
        if (IsSilent(inL, inR, n))
            return;
        float energy = 0.0f;
        for (int32_t s = 0; s < n; ++s)
            energy += inL[s] * inL[s] + inR[s] * inR[s];
        if (!(energy > 1e-10f))
            return;
        running = true;
        silentSamples = 0;
    }

    float blockEnergy = 0.0f;
    float y[kLineCount];
    for (int32_t s = 0; s < n; ++s)
    {
        const float m = (inL[s] + inR[s]) * 0.5f;
        preDelay.Write(m);
        const float x = preDelay.Tap(preDelaySamples);

#pragma GCC unroll 6
        for (int32_t i = 0; i < kModulatedLineCount; ++i)
            y[i] = Damp(i, modulated[i].Tick());
        for (int32_t i = kModulatedLineCount; i < kLineCount; ++i)
            y[i] = Damp(i, fixed[i - kModulatedLineCount].Read());

        // The accumulators start from the undelayed mono input.
        float accL = m;
        float accR = m;
        float sum = 0.0f;
        for (int32_t i = 0; i < kLineCount; ++i)
        {
            accL += y[i] * kLeftSigns[i];
            accR += y[i] * kRightSigns[i];
            sum += y[i];
        }
        const float h = kHouseholder * sum;

        // Line i takes line i + 1's output: the cyclic shift after the matrix.
        for (int32_t i = 0; i < kModulatedLineCount; ++i)
            modulated[i].Write(y[i + 1] + h + x);
        for (int32_t i = kModulatedLineCount; i < kLineCount - 1; ++i)
            fixed[i - kModulatedLineCount].Write(y[i + 1] + h + x);
        fixed[kLineCount - 1 - kModulatedLineCount].Write(y[0] + h + x);

        outL[s] = accL * wetGain * kOutputScale + inL[s] * dryGain;
        outR[s] = accR * wetGain * kOutputScale + inR[s] * dryGain;
        blockEnergy += accL * accL + accR * accR;
    }

    if (blockEnergy < 1e-10f)
    {
        silentSamples += n;
        if (silentSamples >= static_cast<int32_t>(2.0f * sampleRate))
            running = false;
    }
}
