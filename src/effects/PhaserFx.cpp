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
void PhaserFx::Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    Block<kStages> block(*this);
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes out = block.Next(StereoLanes(inL[s], inR[s]));
        outL[s] = out[0];
        outR[s] = out[1];
    }
    block.End();
}

const PhaserFx::RunFunction PhaserFx::kRuns[kMaxStages + 1] = {
    &PhaserFx::Run<0>,  &PhaserFx::Run<1>,  &PhaserFx::Run<2>,  &PhaserFx::Run<3>,  &PhaserFx::Run<4>,
    &PhaserFx::Run<5>,  &PhaserFx::Run<6>,  &PhaserFx::Run<7>,  &PhaserFx::Run<8>,  &PhaserFx::Run<9>,
    &PhaserFx::Run<10>, &PhaserFx::Run<11>, &PhaserFx::Run<12>, &PhaserFx::Run<13>, &PhaserFx::Run<14>,
    &PhaserFx::Run<15>, &PhaserFx::Run<16>};

PhaserFx::Sweep PhaserFx::CurrentSweep() const
{
    const float inv = 1.0f / sampleRate;
    const float lo2 = 2.0f * lowFrequency * inv;
    const float wet = level * wetScale;
    return Sweep{
        lo2, 2.0f * highFrequency * inv - lo2, feedback * 0.98f, wet, 1.0f - wet, rate * inv, phaseOffset / 360.0};
}

void PhaserFx::EndBlock(double phase)
{
    // The stage states decay geometrically in silence and would otherwise
    // settle in the denormal range.
    FlushChannel(left);
    FlushChannel(right);
    lfoPhase = phase - std::floor(phase);
}

void PhaserFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    if (IsQuiet() && IsSilent(inL, inR, n))
    {
        // Zero in, zero memory: every stage and output stays 0.
        PassSilence(inL, inR, outL, outR, n);
        EndBlock(AdvancePhase(lfoPhase, CurrentSweep().increment, n));
        return;
    }
    (this->*kRuns[stages])(inL, inR, outL, outR, n);
}
