#include "effects/PhaserFx.h"

#include "effects/EffectMath.h"

#include <cmath>

namespace
{

// The allpass coefficient of each channel at its LFO phase, in cycles.
Lanes AllpassCoefficient(const float* sine, double phaseL, double phaseR, double lo2, double span)
{
    // One cycle spans 65535 table steps, as for the oscillators.
    const Pairs s{sine[static_cast<int32_t>(phaseL * 65535.0) & 0xFFFF],
                  sine[static_cast<int32_t>(phaseR * 65535.0) & 0xFFFF]};
    const Pairs w = (s * 0.5 + 0.5) * span + lo2;
    const Lanes w4 = NarrowPair(w);
    // w >= 0 keeps |a| <= 1, so every stage is a stable allpass.
    return (1.0f - w4) / (1.0f + w4);
}

}  // namespace

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

template <int32_t kStages>
double PhaserFx::Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n, const Sweep& sweep,
                     double phase)
{
    // The stage memories stay in registers through the block.
    Lanes state[kStages + 1];  // + 1: no array may be empty
    for (int32_t k = 0; k < kStages; ++k)
        state[k] = StereoLanes(left.state[k], right.state[k]);
    Lanes last = StereoLanes(left.lastOutput, right.lastOutput);
    // Locals, which the output stores cannot alias.
    const double lo2 = sweep.lo2;
    const double span = sweep.span;
    const float fb = sweep.fb;
    const float wet = sweep.wet;
    const float dry = sweep.dry;
    const double offset = sweep.offset;
    const double increment = sweep.increment;
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes in = StereoLanes(inL[s], inR[s]);
        Lanes x = fb * last + in;
        const Lanes a = AllpassCoefficient(sine, phase, offset + phase, lo2, span);
        for (int32_t k = 0; k < kStages; ++k)
        {
            const Lanes t = state[k] - a * x;
            state[k] = a * t + x;
            x = t;
        }
        last = x;
        const Lanes out = dry * in + wet * x;
        outL[s] = out[0];
        outR[s] = out[1];
        phase += increment;
    }
    for (int32_t k = 0; k < kStages; ++k)
    {
        left.state[k] = state[k][0];
        right.state[k] = state[k][1];
    }
    left.lastOutput = last[0];
    right.lastOutput = last[1];
    return phase;
}

const PhaserFx::RunFunction PhaserFx::kRuns[kMaxStages + 1] = {
    &PhaserFx::Run<0>,  &PhaserFx::Run<1>,  &PhaserFx::Run<2>,  &PhaserFx::Run<3>,  &PhaserFx::Run<4>,
    &PhaserFx::Run<5>,  &PhaserFx::Run<6>,  &PhaserFx::Run<7>,  &PhaserFx::Run<8>,  &PhaserFx::Run<9>,
    &PhaserFx::Run<10>, &PhaserFx::Run<11>, &PhaserFx::Run<12>, &PhaserFx::Run<13>, &PhaserFx::Run<14>,
    &PhaserFx::Run<15>, &PhaserFx::Run<16>};

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
        phase =
            (this->*kRuns[stages])(inL, inR, outL, outR, n, Sweep{lo2, span, fb, wet, dry, increment, offset}, phase);
    // The stage states decay geometrically in silence and would otherwise
    // settle in the denormal range.
    FlushChannel(left);
    FlushChannel(right);
    lfoPhase = phase - std::floor(phase);
}
