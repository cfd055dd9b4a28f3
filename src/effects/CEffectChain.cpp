#include "effects/CEffectChain.h"

#include "effects/EffectMath.h"
#include "engine/EngineTables.h"
#include "synth/SynthProgram.h"

#include <array>
#include <utility>

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

// Runs first's samples straight into second's, a sample at a time in one
// loop: one stage's recursion keeps the processor waiting, and the other's
// work fills the waits.
template <class First, class Second>
void InOneLoop(First& first, Second& second, float* left, float* right, int32_t n)
{
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes out = second.Next(first.Next(StereoLanes(left[s], right[s])));
        left[s] = out[0];
        right[s] = out[1];
    }
}

// The chorus into the phaser's stages. The phaser runs even on silence,
// which gives the zeros its skip would.
template <int32_t kStages>
void ChorusIntoPhaser(ChorusFx& chorus, PhaserFx& phaser, float* left, float* right, int32_t n)
{
    ChorusFx::Block first(chorus, n);
    PhaserFx::Block<kStages> second(phaser);
    InOneLoop(first, second, left, right, n);
    first.End();
    second.End();
}

// The equaliser into the DC blockers.
void EqIntoDCBlockers(EqFx& eq, MDCBlocker& left, MDCBlocker& right, float* leftSamples, float* rightSamples, int32_t n)
{
    MDCBlocker::Pair blockers(left, right);
    eq.ProcessInto(blockers, leftSamples, rightSamples, n);
    blockers.End();
}

using ChorusIntoPhaserFunction = void (*)(ChorusFx&, PhaserFx&, float*, float*, int32_t);

template <size_t... kStages>
constexpr std::array<ChorusIntoPhaserFunction, sizeof...(kStages)>
ChorusIntoPhaserTable(std::index_sequence<kStages...>)
{
    return {&ChorusIntoPhaser<static_cast<int32_t>(kStages)>...};
}

// By stage count.
constexpr std::array<ChorusIntoPhaserFunction, PhaserFx::kMaxStages + 1> kChorusIntoPhaser =
    ChorusIntoPhaserTable(std::make_index_sequence<PhaserFx::kMaxStages + 1>());

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

void CEffectChain::Process(const SynthProgram& program, float* left, float* right, int32_t n)
{
    n = n > 0 ? n : 0;
    if (ProcessUpToEq(program, left, right, n))
        eq.Process(left, right, n);
}

void CEffectChain::Process(const SynthProgram& program, float* left, float* right, int32_t n, MDCBlocker& leftBlocker,
                           MDCBlocker& rightBlocker)
{
    n = n > 0 ? n : 0;
    const bool eqRuns = ProcessUpToEq(program, left, right, n);
    if (eqRuns && n > 0 && !eq.Repeats(left, right, n))
    {
        EqIntoDCBlockers(eq, leftBlocker, rightBlocker, left, right, n);
        return;
    }
    if (eqRuns)
        eq.Process(left, right, n);
    MDCBlocker::ProcessPair(leftBlocker, rightBlocker, left, right, n);
}

bool CEffectChain::ProcessUpToEq(const SynthProgram& p, float* left, float* right, int32_t n)
{
    waveshaper.SetLevel(p.fxWaveshape);
    if (waveshaperLatch.Admit(p.fxWaveshape))
    {
        waveshaper.SetAmount(p.foldback);
        waveshaper.Process(left, right, n);
    }

    chorus.SetLevel(p.fxChorus);
    const bool chorusRuns = chorusLatch.Admit(p.fxChorus);
    if (chorusRuns)
    {
        chorus.SetDelay(p.chorusDelay);
        chorus.SetDepth(p.chorusDepth);
        chorus.SetRate(static_cast<float>(p.chorusRate) * 100.0f);
        chorus.SetPhaseOffset(p.chorusPhase);
        chorus.SetFeedback(p.chorusFeedback);
    }
    phaser.SetLevel(p.fxPhaser);
    const bool phaserRuns = phaserLatch.Admit(p.fxPhaser);
    if (phaserRuns)
    {
        phaser.SetRate(p.phaserRate);
        phaser.SetFeedback(p.phaserFeedback);
        phaser.SetPhaseOffset(p.phaserPhase);
        phaser.SetStages(p.phaserStages);
        phaser.SetLowFrequency(static_cast<float>(p.phaserLow) * kHzPerUnit);
        phaser.SetHighFrequency(static_cast<float>(p.phaserHigh) * kHzPerUnit);
    }
    if (chorusRuns && phaserRuns && !chorus.PassesSilence(left, right, n))
        kChorusIntoPhaser[static_cast<size_t>(phaser.Stages())](chorus, phaser, left, right, n);
    else
    {
        if (chorusRuns)
            chorus.Process(left, right, left, right, n);
        if (phaserRuns)
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
    if (!eqLatch.Admit(p.fxEq))
        return false;
    eq.SetGains(p.eqLow, p.eqMid, p.eqHigh, p.eqGain);
    eq.SetFrequencies(SaturatingMultiply(p.eqFreqLow, kHzPerUnit), SaturatingMultiply(p.eqFreqHigh, kHzPerUnit));
    eq.UpdateCoefficients();
    return true;
}
