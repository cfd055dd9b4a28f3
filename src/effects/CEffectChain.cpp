#include "effects/CEffectChain.h"

#include "effects/EffectMath.h"
#include "engine/EngineTables.h"
#include "synth/SynthProgram.h"

static_assert(150.0f * CEffectChain::kMaxSampleRate / 1000 <= ChorusFx::kMaxDelaySamples,
              "the chorus buffer holds the longest sweep at the highest designed rate");
static_assert(20 * CEffectChain::kMaxSampleRate / 1000 <= CReverb::kPreDelayCapacity,
              "the reverb pre-delay fits at the highest designed rate");

namespace
{

constexpr int32_t kHzPerUnit = 20;      // phaser and equaliser frequencies are stored in 20 Hz units
constexpr int32_t kMinReverbSize = 10;  // tenths of a second
constexpr int32_t kMaxReverbSize = 100;
constexpr int32_t kMsPerSizeUnit = 100;

}  // namespace

CEffectChain::CEffectChain() : chorus(EngineTables::Get().sine), phaser(EngineTables::Get().sine)
{
    // The reverb works as an insert here: the dry signal passes at full level.
    reverb.SetDryGain(1.0f);
}

void CEffectChain::SetSampleRate(int32_t rate)
{
    if (rate < 1)
        return;
    const float r = static_cast<float>(rate);
    chorus.SetSampleRate(r);
    phaser.SetSampleRate(r);
    delay.SetSampleRate(r);
    reverb.SetSampleRate(r);
    eq.SetSampleRate(r);
}

void CEffectChain::SetTempo(float bpm)
{
    delay.SetTempo(bpm);
}

void CEffectChain::Reset()
{
    chorus.Reset();
    phaser.Reset();
    delay.Reset();
    reverb.Reset();
    eq.Reset();
}

void CEffectChain::Process(const SynthProgram& p, float* left, float* right, int32_t n)
{
    if (n < 0)
        n = 0;

    waveshaper.SetLevel(p.fxWaveshape);
    if (waveshaperLatch.Admit(p.fxWaveshape))
    {
        waveshaper.SetAmount(p.foldback);
        waveshaper.Process(left, right, n);
    }

    chorus.SetLevel(p.fxChorus);
    if (chorusLatch.Admit(p.fxChorus))
    {
        chorus.SetDelay(p.chorusDelay);
        chorus.SetDepth(p.chorusDepth);
        chorus.SetRate(static_cast<float>(p.chorusRate) * 100.0f);
        chorus.SetPhaseOffset(p.chorusPhase);
        chorus.SetFeedback(p.chorusFeedback);
        chorus.Process(left, right, left, right, n);
    }

    phaser.SetLevel(p.fxPhaser);
    if (phaserLatch.Admit(p.fxPhaser))
    {
        phaser.SetRate(p.phaserRate);
        phaser.SetFeedback(p.phaserFeedback);
        phaser.SetPhaseOffset(p.phaserPhase);
        phaser.SetStages(p.phaserStages);
        phaser.SetLowFrequency(static_cast<float>(p.phaserLow) * kHzPerUnit);
        phaser.SetHighFrequency(static_cast<float>(p.phaserHigh) * kHzPerUnit);
        phaser.Process(left, right, left, right, n);
    }

    delay.SetLevel(p.fxDelay);
    if (delayLatch.Admit(p.fxDelay))
    {
        delay.SetFeedback(p.delayFeedback);
        delay.SetTime(p.delayBeats, p.delayDiv / 4);
        delay.SetCross(p.delayLR);
        delay.Process(left, right, left, right, n);
    }

    const float reverbLevel = ClampSetting(p.fxReverb, 0.0f, 1.0f);
    reverb.SetWetGain(static_cast<float>(static_cast<double>(reverbLevel) * reverbLevel));
    if (reverbLatch.Admit(reverbLevel))
    {
        const int32_t size = ClampSetting(p.reverbSize, kMinReverbSize, kMaxReverbSize);
        reverb.SetSize(size);
        if (size * kMsPerSizeUnit != reverb.Time())
            reverb.SetTime(size * kMsPerSizeUnit);
        reverb.Process(left, right, left, right, n);
    }

    eq.SetLevel(p.fxEq);
    if (eqLatch.Admit(p.fxEq))
    {
        eq.SetGains(p.eqLow, p.eqMid, p.eqHigh, p.eqGain);
        eq.SetFrequencies(SaturatingMultiply(p.eqFreqLow, kHzPerUnit), SaturatingMultiply(p.eqFreqHigh, kHzPerUnit));
        eq.UpdateCoefficients();
        eq.Process(left, right, n);
    }
}
