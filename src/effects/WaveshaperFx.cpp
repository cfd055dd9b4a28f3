#include "effects/WaveshaperFx.h"

#include "effects/EffectMath.h"

#include <cmath>

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
    const float gain = amount * 0.67f + 1.0f;
    const float period = 4.0f * t;
    const float wetGain = level * gain;
    const float dry = 1.0f - level;
    for (int32_t s = 0; s < n; ++s)
    {
        const float x = samples[s];
        float y = x;
        if (x > t || x < -t)
        {
            // Remainder with the dividend's sign: a triangle of period 4t.
            const float r = static_cast<float>(std::fmod(static_cast<double>(x - t), static_cast<double>(period)));
            y = std::fabs(std::fabs(r) - 2.0f * t) - t;
        }
        samples[s] = y * wetGain + dry * x;
    }
}

void WaveshaperFx::Process(float* left, float* right, int32_t n) const
{
    if (!(amount > 0.0f))
        return;
    ProcessChannel(left, n);
    ProcessChannel(right, n);
}
