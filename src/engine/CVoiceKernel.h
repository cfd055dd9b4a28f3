#pragma once

#include "engine/CVoiceRun.h"
#include "engine/SubBlock.h"
#include "engine/VoiceFormulas.h"
#include "engine/WithConstant.h"

#include <cstdint>

// The per-sample render of one voice over part of a sub-block: the voice's
// state is loaded into locals, run sample by sample and stored back. Running
// a sub-block in several stretches gives the same samples as in one.
template <class Osc1, class Osc2>
class CVoiceKernel
{
public:
    // k: what holds for the voice through the block.
    CVoiceKernel(Voice& v, const SubBlock& s, const VoiceBlockConstants& k)
        : voice(v), block(s), phase1(kPhaseGuard + v.phase1), increment1(v.increment1), phase2(v.phase2),
          increment2(v.increment2), a1(v.state1a), b1(v.state1b), a2(v.state2a), b2(v.state2b),
          lastOsc2(static_cast<float>(v.lastOsc2)), noiseIndex(v.noiseIndex), filter(v.filter), pm(v.pm),
          constants(k.constants), idleShares(k.idleShares)
    {
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
        {
            envelopes[l].Load(0, v.envelopes[l], s.stepping[l]);
            lfos[l] = v.lfos[l];
            lfoUsed[l] = k.lfoUsed[l];
        }
        SmootherSet<Smoother>::Each(smoothers, v, [](Smoother& ours, const Smoother& its) { ours = its; });
        holds = !k.looksUp;
        for (const EnvelopeCursor<float>& e : envelopes)
            holds = holds && e.Holds();
        if (holds)
        {
            heldOscillators = TargetsOfOscillators(constants, envelopes[2].value, idleShares);
            heldFilter = TargetsOfFilter(constants, envelopes[0].value, envelopes[1].value, idleShares, 0.0f);
        }
        crossFree = IsCrossFree(constants, 0, pm.state);
    }

    // True when every envelope holds its value through the sub-block and no
    // LFO is looked up: then the smoothers' targets are the same in every
    // sample, and Run<true, ...> takes them as worked out once.
    bool Holds() const { return holds; }

    // True when neither oscillator reaches the other: no feedback from
    // oscillator 2 and no phase modulation from oscillator 1. Then
    // Run<kHolds, true> leaves the two out of each chain, which gives the
    // same samples while each oscillator waits only on itself.
    bool CrossFree() const { return crossFree; }

    // Sample i of the sub-block, added into left and right. Always inlined:
    // the loops keep the state in registers only when it is.
    template <bool kHolds, bool kCrossFree>
    [[gnu::always_inline]] void Run(int32_t i, float& left, float& right)
    {
        const double at = i;
        float e[Voice::kModulatorCount];
        if (!kHolds)
            for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
                e[k] = envelopes[k].Next();
        SampleModulation<float> m;
        LfoShares<float> shares = idleShares;
        if (!kHolds && lfoUsed[2])
            shares.FromLfo3(constants, LfoAt(2, at));
        SmoothOscillators(smoothers, kHolds ? heldOscillators : TargetsOfOscillators(constants, e[2], shares), m);

        // Oscillator 2 feeds oscillator 1 with one sample of delay and
        // oscillator 1 modulates oscillator 2 at once. That chain limits the
        // speed, so it starts as early as it can and the filter's modulation
        // comes after it.
        const double base1 = at * increment1 + phase1;
        const double base2 = at * increment2 + phase2;
        const double phase1At =
            kCrossFree ? base1 : Feedback(lastOsc2, constants.feedbackOfSquare, constants.feedbackOfLinear) + base1;
        const float out1 = Osc1::Compute(block.sine, phase1At, m.amount1, constants.ratio1, a1, b1);
        // Run even when cross-free, for the smoother's state to the bit.
        const float pmOffset = pm.Process(Modulator(out1, constants.pmLinear, constants.pmSquared) * m.pmScale);
        const double phase2At = (kCrossFree ? m.offset2 : pmOffset + m.offset2) + base2;
        const float out2 = Osc2::Compute(block.sine, phase2At, m.amount2, constants.ratio2, a2, b2);
        lastOsc2 = out2;

        const float noiseSample = block.noise[noiseIndex & EngineTables::kNoiseMask];
        ++noiseIndex;
        FilterTargets<float> filterTargets = heldFilter;
        if (kHolds)
            filterTargets.noise = shares.noise * noiseSample;
        else
        {
            if (lfoUsed[0])
                shares.FromLfo1(constants, LfoAt(0, at));
            if (lfoUsed[1])
                shares.FromLfo2(constants, LfoAt(1, at));
            filterTargets = TargetsOfFilter(constants, e[0], e[1], shares, noiseSample);
        }
        SmoothFilter(constants, smoothers, filterTargets, m);
        const float input = FilterInput(m.mix, out1, out2, m.noise);
        const float out = filter.Process(input, m.cutoff, m.damping, block.weights) * m.gain;
        left += (block.gainLeft + i * block.slopeLeft) * out;
        right += (block.gainRight + i * block.slopeRight) * out;
    }

    void Store()
    {
        Voice& v = voice;
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
            envelopes[k].Store(0, v.envelopes[k], block.stepping[k]);
        v.state1a = a1;
        v.state1b = b1;
        v.state2a = a2;
        v.state2b = b2;
        v.lastOsc2 = lastOsc2;
        v.noiseIndex = noiseIndex;
        v.filter = filter;
        v.pm = pm;
        SmootherSet<Smoother>::Each(smoothers, v, [](const Smoother& ours, Smoother& its) { its = ours; });
    }

private:
    float LfoAt(int32_t k, double at) const
    {
        return lfos[k].table[LfoIndex(at * constants.lfoStep[k] + lfos[k].phase)];
    }

    Voice& voice;
    const SubBlock& block;
    EnvelopeCursor<float> envelopes[Voice::kModulatorCount];
    LfoState lfos[Voice::kModulatorCount];
    const double phase1;  // with the guard that keeps table arguments positive
    const double increment1;
    const double phase2;
    const double increment2;
    float a1;
    float b1;
    float a2;
    float b2;
    float lastOsc2;
    uint32_t noiseIndex;
    MStateVariableFilter filter;
    Smoother pm;
    SmootherSet<Smoother> smoothers;
    VoiceConstants<float> constants;
    LfoShares<float> idleShares;
    bool lfoUsed[Voice::kModulatorCount];
    bool holds;
    bool crossFree;
    OscillatorTargets<float> heldOscillators;
    FilterTargets<float> heldFilter;
};

// count samples of the voice of run from its position in its sub-block.
// Alone, a voice's chain through both oscillators sets its speed, so a voice
// whose oscillators do not reach each other runs two shorter chains instead.
template <class Osc1, class Osc2>
void RenderOne(CVoiceRun& run, float* left, float* right, int32_t count)
{
    CVoiceKernel<Osc1, Osc2> kernel(run.TheVoice(), run.Sub(), run.Constants());
    const int32_t from = run.Position();
    WithConstant(kernel.Holds(),
                 [&](auto holds)
                 {
                     WithConstant(kernel.CrossFree(),
                                  [&](auto crossFree)
                                  {
                                      for (int32_t j = 0; j < count; ++j)
                                          kernel.template Run<holds, crossFree>(from + j, left[j], right[j]);
                                  });
                 });
    kernel.Store();
}

// Two voices with the same waveforms side by side: each voice's samples form
// one long chain through the oscillator feedback, and two independent chains
// keep the processor busy where one would leave it waiting. The later voice
// adds first, as in a plain last-to-first render.
template <class Osc1, class Osc2>
void RenderTwo(CVoiceRun& later, CVoiceRun& earlier, float* left, float* right, int32_t count)
{
    CVoiceKernel<Osc1, Osc2> first(later.TheVoice(), later.Sub(), later.Constants());
    CVoiceKernel<Osc1, Osc2> second(earlier.TheVoice(), earlier.Sub(), earlier.Constants());
    const int32_t laterFrom = later.Position();
    const int32_t earlierFrom = earlier.Position();
    WithConstant(first.Holds() && second.Holds(),
                 [&](auto holds)
                 {
                     WithConstant(first.CrossFree() && second.CrossFree(),
                                  [&](auto crossFree)
                                  {
                                      for (int32_t j = 0; j < count; ++j)
                                      {
                                          first.template Run<holds, crossFree>(laterFrom + j, left[j], right[j]);
                                          second.template Run<holds, crossFree>(earlierFrom + j, left[j], right[j]);
                                      }
                                  });
                 });
    first.Store();
    second.Store();
}
