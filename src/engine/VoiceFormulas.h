#pragma once

#include "engine/Lanes.h"
#include "engine/MStateVariableFilter.h"
#include "engine/Modulation.h"
#include "engine/SubBlock.h"
#include "engine/Voice.h"

#include <cstdint>

// The per-sample arithmetic of a voice, written once for both renders: F is
// float for one voice at a time, or Lanes for four voices side by side.

constexpr double kPhaseGuard = 32.0;  // cycles added so table arguments stay positive

// Wide and mask companions of F: double and int for one voice, their lane
// forms beside Lanes.
template <class F>
struct LaneTypes
{
    using Wide = double;
    using Mask = int32_t;
};

template <>
struct LaneTypes<Lanes>
{
    using Wide = LaneDoubles;
    using Mask = LaneInts;
};

// A depth blend with its constant parts worked out once: x a s + (1 - a) s.
template <class F>
struct ScaledDepth
{
    F times;
    F plus;

    void Set(int32_t l, float depth, float scale = 1.0f)
    {
        Put(times, l, depth * scale);
        Put(plus, l, (1.0f - depth) * scale);
    }
    F At(F x) const { return x * times + plus; }
};

// A local copy of one envelope for the loop. An envelope that is not stepping
// in this sub-block gets zero steps, so one branch-free update serves both.
template <class F>
struct EnvelopeCursor
{
    F value;
    F step;
    F change;

    void Load(int32_t l, const Envelope& e, bool stepping)
    {
        Put(value, l, e.value);
        Put(step, l, stepping ? e.step : 0.0f);
        Put(change, l, stepping ? e.stepChange : 0.0f);
    }

    F Next()
    {
        const F current = value;
        value += step;
        step += change;
        return current;
    }

    // True when Next leaves the cursor as it is in every lane: a step of +0
    // with a change of either zero stays +0, and adding it leaves any value
    // but -0 as it is (a flat segment changes by -0).
    bool Holds() const
    {
        return !AnyLane(Bits(step) | (Bits(change) & INT32_MAX)) && !AnyLane(Bits(value) == INT32_MIN);
    }

    void Store(int32_t l, Envelope& e, bool stepping) const
    {
        e.value = Get(value, l);
        if (stepping)
        {
            e.step = Get(step, l);
            e.stepChange = Get(change, l);
        }
    }
};

// Smoother::Process over four lanes.
struct LaneSmoother
{
    Lanes coefficient;
    Lanes complement;
    Lanes state;

    Lanes Process(Lanes target)
    {
        state = target * complement + state * coefficient;
        return state;
    }
};

// The smoothers that run beside the oscillators (the phase-modulation one
// runs inside their chain). S is Smoother or LaneSmoother.
template <class S>
struct SmootherSet
{
    S amplitude;
    S cutoff;
    S phase;
    S shape1;
    S shape2;
    S mix;

    // Calls visit(ours, the voice's) for each smoother; V is Voice or const Voice.
    template <class Set, class V, class Visit>
    static void Each(Set& set, V& v, Visit visit)
    {
        visit(set.amplitude, v.amplitude);
        visit(set.cutoff, v.cutoff);
        visit(set.phase, v.phase);
        visit(set.shape1, v.shape1);
        visit(set.shape2, v.shape2);
        visit(set.mix, v.mix);
    }
};

// What holds still for one voice over a sub-block: the program's values
// scaled by the note's factors and the mod wheel, formed once.
template <class F>
struct VoiceConstants
{
    using Wide = typename LaneTypes<F>::Wide;

    Wide ratio1;
    Wide ratio2;
    Wide lfoStep[Voice::kModulatorCount];
    Wide cutoffDepth;
    typename LaneTypes<F>::Mask compensate;  // non-zero: resonance eased at low cutoff
    F feedbackOfSquare;
    F feedbackOfLinear;
    F pmLinear;
    F pmSquared;
    ScaledDepth<F> lfo1Wheel;
    ScaledDepth<F> shape1Env;
    ScaledDepth<F> shape1Lfo;
    ScaledDepth<F> shape2Env;
    ScaledDepth<F> shape2Lfo;
    ScaledDepth<F> phaseEnv;
    ScaledDepth<F> phaseLfo;
    ScaledDepth<F> pmEnv;
    ScaledDepth<F> pmLfo;
    ScaledDepth<F> mixLfo;
    ScaledDepth<F> cutoffEnv;
    ScaledDepth<F> cutoffLfo;
    ScaledDepth<F> resonanceLfo;
    ScaledDepth<F> noiseLfo;
    ScaledDepth<F> volumeLfo;
    ScaledDepth<F> tremolo;

    // Lane l from voice v in sub-block s.
    void Load(int32_t l, const Voice& v, const SubBlock& s)
    {
        const VoiceParams& p = s.params;
        const NoteFactors& k = v.factors;
        Put(ratio1, l, p.ratio1);
        Put(ratio2, l, p.ratio2);
        for (int32_t i = 0; i < Voice::kModulatorCount; ++i)
            Put(lfoStep[i], l, v.lfos[i].increment * v.lfos[i].continuous);
        Put(cutoffDepth, l, static_cast<double>(k.cutoff * p.cutoff) * Depth(s.wheel, p.mwCutoff));
        Put(compensate, l, p.filterScale);
        // Feedback o (o s + 1 - s) fb^3 with s = feedbackShape^2, folded into
        // two products so that few operations stand between one sample and
        // the next.
        const float feedbackSquare = p.feedbackShape * p.feedbackShape;
        const float feedbackAmount = p.feedback * p.feedback * p.feedback;
        Put(feedbackOfSquare, l, feedbackSquare * feedbackAmount);
        Put(feedbackOfLinear, l, (1.0f - feedbackSquare) * feedbackAmount);
        Put(pmLinear, l, static_cast<float>(p.pmRatio) * (1.0f - p.pmShape));
        Put(pmSquared, l, static_cast<float>(p.pmRatio) * p.pmShape);
        lfo1Wheel.Set(l, Depth(s.wheel, p.mwLfo1Depth));
        shape1Env.Set(l, p.e3Mod1, k.shape1 * p.mod1);
        shape1Lfo.Set(l, p.lfo3Mod1);
        shape2Env.Set(l, p.e3Mod2, p.mod2 * k.shape2);
        shape2Lfo.Set(l, p.lfo3Mod2);
        phaseEnv.Set(l, p.e3Phase, k.phase * 0.5f * p.phase);
        phaseLfo.Set(l, p.lfo3Phase);
        pmEnv.Set(l, p.e3Pm, p.pmAmount * k.pm * Depth(s.wheel, p.mwPm));
        pmLfo.Set(l, p.lfo3Pm);
        mixLfo.Set(l, p.lfo1Mix, p.mix * k.mix);
        cutoffEnv.Set(l, p.filterEnv);
        cutoffLfo.Set(l, p.lfo2Cutoff);
        resonanceLfo.Set(l, p.lfo2Q, p.q * k.resonance);
        noiseLfo.Set(l, p.lfo1Noise, p.noise * p.noise * k.noise);
        volumeLfo.Set(l, p.lfo2Volume, p.volume * k.volume);
        tremolo.Set(l, p.lfo1Tremolo);
    }
};

// Index into an LFO wave of the position (in table entries) reached.
inline int32_t LfoIndex(double position)
{
    return static_cast<int32_t>(static_cast<int64_t>(position) & EngineTables::kLfoMask);
}

// The filter's frequency coefficient target: (envelope x depth x LFO)^2,
// in double.
template <class D>
D CutoffSquare(D env, D depth, D lfo)
{
    const D c = env * depth * lfo;
    return c * c;
}

inline float CutoffTarget(float env, double depth, float lfo)
{
    return static_cast<float>(CutoffSquare<double>(env, depth, lfo));
}

inline Lanes CutoffTarget(Lanes env, const LaneDoubles& depth, Lanes lfo)
{
    const Pairs low = CutoffSquare(Widen(env, 0), depth.half[0], Widen(lfo, 0));
    const Pairs high = CutoffSquare(Widen(env, 1), depth.half[1], Widen(lfo, 1));
    return Lanes{static_cast<float>(low[0]), static_cast<float>(low[1]), static_cast<float>(high[0]),
                 static_cast<float>(high[1])};
}

// Oscillator 2's previous sample fed back into oscillator 1.
template <class F>
F Feedback(F last, F ofSquare, F ofLinear)
{
    return last * (last * ofSquare + ofLinear);
}

// Oscillator 1's sample as it modulates oscillator 2's phase.
template <class F>
F Modulator(F out1, F linear, F squared)
{
    return out1 * (linear + out1 * squared);
}

// Whether lane l of c, with a phase-modulation smoother state of pmState,
// leaves each oscillator to itself: no feedback from oscillator 2 and no
// phase modulation from oscillator 1. Every value in these products is
// finite, so zero factors give a feedback of +-0, which leaves the phase it
// is added to as it is, and a phase-modulation smoother that stays at +-0
// from a state of +-0, whose sum with the guarded offset is the offset
// itself: leaving both out of the chain gives the same samples.
template <class F>
bool IsCrossFree(const VoiceConstants<F>& c, int32_t l, float pmState)
{
    return Get(c.feedbackOfSquare, l) == 0.0f && Get(c.feedbackOfLinear, l) == 0.0f && Get(c.pmEnv.times, l) == 0.0f &&
           Get(c.pmEnv.plus, l) == 0.0f && pmState == 0.0f;
}

// The values of one sample that do not depend on the oscillator chain.
template <class F>
struct SampleModulation
{
    F amount1;  // oscillator shapes
    F amount2;
    F offset2;  // oscillator 2's phase offset, with the guard
    F pmScale;  // phase-modulation depth
    F mix;      // 0 oscillator 1 .. 1 oscillator 2
    F cutoff;   // filter coefficients
    F damping;
    F noise;  // the noise to add
    F gain;   // amplitude, before panning
};

// What each routing makes of its LFO's value (0..1) in one sample. An LFO
// that no voice routes anywhere gives the same shares in every sample, so
// they can be worked out once.
template <class F>
struct LfoShares
{
    F shape1;  // LFO 3
    F shape2;
    F phase;
    F pm;
    F mix;  // LFO 1, through the mod wheel
    F noise;
    F tremolo;
    F cutoff;  // LFO 2
    F resonance;
    F volume;

    void FromLfo1(const VoiceConstants<F>& c, F l1)
    {
        const F l1w = c.lfo1Wheel.At(l1);
        mix = c.mixLfo.At(l1w);
        noise = c.noiseLfo.At(l1w);
        tremolo = c.tremolo.At(l1w);
    }

    void FromLfo2(const VoiceConstants<F>& c, F l2)
    {
        cutoff = c.cutoffLfo.At(l2);
        resonance = c.resonanceLfo.At(l2);
        volume = c.volumeLfo.At(l2);
    }

    void FromLfo3(const VoiceConstants<F>& c, F l3)
    {
        shape1 = c.shape1Lfo.At(l3);
        shape2 = c.shape2Lfo.At(l3);
        phase = c.phaseLfo.At(l3);
        pm = c.pmLfo.At(l3);
    }
};

// Whether lane l of c routes LFO k anywhere: an LFO whose every depth is
// zero gives the same shares whatever its value.
template <class F>
bool RoutesLfo(const VoiceConstants<F>& c, int32_t l, int32_t k)
{
    if (k == 0)
        return Get(c.lfo1Wheel.times, l) != 0.0f &&
               (Get(c.mixLfo.times, l) != 0.0f || Get(c.noiseLfo.times, l) != 0.0f || Get(c.tremolo.times, l) != 0.0f);
    if (k == 1)
        return Get(c.cutoffLfo.times, l) != 0.0f || Get(c.resonanceLfo.times, l) != 0.0f ||
               Get(c.volumeLfo.times, l) != 0.0f;
    return Get(c.shape1Lfo.times, l) != 0.0f || Get(c.shape2Lfo.times, l) != 0.0f || Get(c.phaseLfo.times, l) != 0.0f ||
           Get(c.pmLfo.times, l) != 0.0f;
}

// What the one-voice render takes from the program, the note and the block,
// worked out once a block: the constants, which LFOs are looked up, and what
// those routed nowhere give.
struct VoiceBlockConstants
{
    VoiceConstants<float> constants;
    LfoShares<float> idleShares;
    bool lfoUsed[Voice::kModulatorCount];
    bool looksUp;

    void Load(const Voice& v, const SubBlock& s)
    {
        constants.Load(0, v, s);
        // An LFO routed nowhere is not looked up: its shares are those of a zero.
        idleShares.FromLfo1(constants, 0.0f);
        idleShares.FromLfo2(constants, 0.0f);
        idleShares.FromLfo3(constants, 0.0f);
        looksUp = false;
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
        {
            lfoUsed[k] = RoutesLfo(constants, 0, k);
            looksUp = looksUp || lfoUsed[k];
        }
    }
};

// What the smoothers beside the oscillators glide towards in one sample, and
// the values that need no smoothing: the same while the envelopes hold and
// no LFO or noise is looked up.
template <class F>
struct OscillatorTargets
{
    F shape1;
    F shape2;
    F phase;
    F pmScale;
};

template <class F>
struct FilterTargets
{
    F mix;
    F cutoff;
    F resonance;
    F noise;
    F gain;
};

// From envelope 3 and LFO 3's shares.
template <class F>
[[gnu::always_inline]] inline OscillatorTargets<F> TargetsOfOscillators(const VoiceConstants<F>& c, F e3,
                                                                        const LfoShares<F>& lfo)
{
    return {c.shape1Env.At(e3) * lfo.shape1, c.shape2Env.At(e3) * lfo.shape2, c.phaseEnv.At(e3) * lfo.phase,
            c.pmEnv.At(e3) * lfo.pm};
}

// From envelopes 1 and 2, LFO 1's and 2's shares and the noise sample.
template <class F>
[[gnu::always_inline]] inline FilterTargets<F> TargetsOfFilter(const VoiceConstants<F>& c, F e1, F e2,
                                                               const LfoShares<F>& lfo, F noiseSample)
{
    return {lfo.mix, CutoffTarget(c.cutoffEnv.At(e2), c.cutoffDepth, lfo.cutoff), lfo.resonance,
            lfo.noise * noiseSample, lfo.volume * e1 * lfo.tremolo};
}

// The part of the modulation the oscillator chain reads, stepping the
// smoothers s. Done apart from the rest so that the one-voice kernel can
// start its chain early.
template <class F, class S>
[[gnu::always_inline]] inline void SmoothOscillators(SmootherSet<S>& s, const OscillatorTargets<F>& t,
                                                     SampleModulation<F>& m)
{
    m.amount1 = s.shape1.Process(t.shape1);
    m.amount2 = s.shape2.Process(t.shape2);
    m.offset2 = static_cast<float>(kPhaseGuard) + s.phase.Process(t.phase);
    m.pmScale = t.pmScale;
}

// The part of the modulation the filter and gain read.
template <class F, class S>
[[gnu::always_inline]] inline void SmoothFilter(const VoiceConstants<F>& c, SmootherSet<S>& s,
                                                const FilterTargets<F>& t, SampleModulation<F>& m)
{
    m.mix = s.mix.Process(t.mix);
    m.cutoff = s.cutoff.Process(t.cutoff);
    m.damping = MStateVariableFilterOf<F>::Damping(t.resonance, m.cutoff, c.compensate);
    m.noise = t.noise;
    m.gain = s.amplitude.Process(t.gain);
}

// The two oscillators blended, with the noise, as the filter's input.
template <class F>
F FilterInput(F mix, F out1, F out2, F noise)
{
    const F oscillators = (1.0f - mix) * out1 + mix * out2;
    return (oscillators + noise) * 0.5f;
}
