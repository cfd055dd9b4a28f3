#include "effects/PhaserFx.h"

#include "effects/EffectMath.h"

#include <cmath>

PhaserFx::PhaserFx(const float* sineTable) : sine(sineTable)
{
}

void PhaserFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void PhaserFx::SetRate(float hertz)
{
    rate = ClampSetting(hertz, 0.0f, 20.0f);
}

void PhaserFx::SetFeedback(float newFeedback)
{
    feedback = ClampSetting(newFeedback, -1.0f, 1.0f);
}

void PhaserFx::SetPhaseOffset(int32_t degrees)
{
    phaseOffset = WrapDegrees(degrees);
}

void PhaserFx::SetStages(int32_t newStages)
{
    stages = ClampSetting(newStages, 0, kMaxStages);
}

void PhaserFx::SetLowFrequency(float hertz)
{
    lowFrequency = ClampSetting(hertz, 0.0f, 20000.0f);
}

void PhaserFx::SetHighFrequency(float hertz)
{
    highFrequency = ClampSetting(hertz, 0.0f, 20000.0f);
}

float PhaserFx::ProcessSample(Channel& channel, float in, double lfo, float lo2, float span, float fb) const
{
    float x = fb * channel.lastOutput + in;
    // One cycle spans 65535 table steps, as for the oscillators.
    const float s = sine[static_cast<int32_t>(lfo * 65535.0) & 0xFFFF];
    const float w = static_cast<float>((s * 0.5 + 0.5) * span + lo2);
    // w >= 0 keeps |a| <= 1, so every stage is a stable allpass.
    const float a = (1.0f - w) / (1.0f + w);
    for (int32_t k = 0; k < stages; ++k)
    {
        const float t = channel.state[k] - a * x;
        channel.state[k] = a * t + x;
        x = t;
    }
    channel.lastOutput = x;
    return x;
}

void PhaserFx::Reset()
{
    left = Channel{};
    right = Channel{};
}

void PhaserFx::FlushChannel(Channel& channel)
{
    channel.lastOutput = FlushTiny(channel.lastOutput);
    for (float& state : channel.state)
        state = FlushTiny(state);
}

bool PhaserFx::IsClear(const Channel& channel)
{
    uint32_t bits = FloatBits(channel.lastOutput);
    for (float state : channel.state)
        bits |= FloatBits(state);
    return bits == 0;
}

void PhaserFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    const float inv = 1.0f / sampleRate;
    const float lo2 = 2.0f * lowFrequency * inv;
    const float span = 2.0f * highFrequency * inv - lo2;
    const float fb = feedback * 0.98f;
    const double increment = rate * inv;
    const float wet = level * wetScale;
    const float dry = 1.0f - wet;
    const double offset = phaseOffset / 360.0;

    double phase = lfoPhase;
    if (IsClear(left) && IsClear(right) && IsSilent(inL, inR, n))
    {
        // Zero in, zero memory: every stage and output stays 0.
        PassSilence(inL, inR, outL, outR, n);
        phase = AdvancePhase(phase, increment, n);
    }
    else
        for (int32_t s = 0; s < n; ++s)
        {
            const float l = inL[s];
            const float r = inR[s];
            outL[s] = dry * l + wet * ProcessSample(left, l, phase, lo2, span, fb);
            outR[s] = dry * r + wet * ProcessSample(right, r, offset + phase, lo2, span, fb);
            phase += increment;
        }
    // The stage states decay geometrically in silence and would otherwise
    // settle in the denormal range.
    FlushChannel(left);
    FlushChannel(right);
    lfoPhase = phase - std::floor(phase);
}
