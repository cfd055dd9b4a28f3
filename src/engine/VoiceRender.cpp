#include "engine/VoiceRender.h"

#include "engine/Modulation.h"
#include "engine/VoiceParams.h"

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <utility>

namespace {

constexpr double kPitchBaseHertz = 13.75;  // pitch 0; note 69 is 440 Hz
constexpr int32_t kNoteToPitch = -9;
// ln 2 as the single-precision constant, widened.
const double kLn2 = static_cast<double>(static_cast<float>(0.6931471805599453));
constexpr double kPhaseGuard = 32.0;       // keeps table arguments positive
constexpr float kFlushBelow = 1e-10f;

float Flush(float value)
{
    return std::fabs(value) < kFlushBelow ? 0.0f : value;
}

// Everything the per-sample loop needs that is fixed for one sub-block.
struct SubBlock
{
    VoiceParams params;
    const float* sine;
    const float* noise;
    MStateVariableFilter::Weights weights;
    float wheel;
    float gainLeft;
    float gainRight;
    float slopeLeft;
    float slopeRight;
    bool stepping[Voice::kModulatorCount];
    int32_t waves[Voice::kModulatorCount];
    int32_t length;
};

// A local copy of one envelope for the loop. An envelope that is not stepping
// in this sub-block gets zero steps, so one branch-free update serves both.
struct EnvelopeCursor
{
    float value;
    float step;
    float change;

    EnvelopeCursor(const Envelope& e, bool stepping)
        : value(e.value), step(stepping ? e.step : 0.0f), change(stepping ? e.stepChange : 0.0f)
    {
    }

    float Next()
    {
        const float current = value;
        value += step;
        step += change;
        return current;
    }

    void StoreInto(Envelope& e, bool stepping) const
    {
        e.value = value;
        if (stepping)
        {
            e.step = step;
            e.stepChange = change;
        }
    }
};

// A depth blend with its constant parts worked out once: x a s + (1 - a) s.
struct ScaledDepth
{
    float times;
    float plus;

    static ScaledDepth Of(float depth, float scale = 1.0f) { return ScaledDepth{depth * scale, (1.0f - depth) * scale}; }
    float At(float x) const { return x * times + plus; }
};

// The per-sample render of one voice over part of a sub-block: the voice's
// state is loaded into locals, run sample by sample and stored back. Running
// a sub-block in several stretches gives the same samples as in one. The
// products that hold still over the sub-block are formed here, once.
template <class Osc1, class Osc2>
class SampleKernel
{
public:
    SampleKernel(Voice& v, const SubBlock& s)
        : voice(v), block(s), env1(v.envelopes[0], s.stepping[0]), env2(v.envelopes[1], s.stepping[1]),
          env3(v.envelopes[2], s.stepping[2]), lfo1(v.lfos[0]), lfo2(v.lfos[1]), lfo3(v.lfos[2]),
          phase1(kPhaseGuard + v.phase1), increment1(v.increment1), phase2(v.phase2), increment2(v.increment2),
          a1(v.state1a), b1(v.state1b), a2(v.state2a), b2(v.state2b), lastOsc2(static_cast<float>(v.lastOsc2)),
          noiseIndex(v.noiseIndex), filter(v.filter), amplitude(v.amplitude), cutoff(v.cutoff), phase(v.phase),
          pm(v.pm), shape1(v.shape1), shape2(v.shape2), mix(v.mix)
    {
        const VoiceParams& p = s.params;
        const NoteFactors& k = v.factors;
        ratio1 = p.ratio1;
        ratio2 = p.ratio2;
        filterScale = p.filterScale;
        lfo1Step = lfo1.increment * lfo1.continuous;
        lfo2Step = lfo2.increment * lfo2.continuous;
        lfo3Step = lfo3.increment * lfo3.continuous;
        lfo1Wheel = ScaledDepth::Of(Depth(s.wheel, p.mwLfo1Depth));
        // Feedback o (o s + 1 - s) fb^3 with s = feedbackShape^2, folded into
        // two products so that few operations stand between one sample and
        // the next.
        const float feedbackSquare = p.feedbackShape * p.feedbackShape;
        const float feedbackAmount = p.feedback * p.feedback * p.feedback;
        feedbackOfSquare = feedbackSquare * feedbackAmount;
        feedbackOfLinear = (1.0f - feedbackSquare) * feedbackAmount;
        pmLinear = static_cast<float>(p.pmRatio) * (1.0f - p.pmShape);
        pmSquared = static_cast<float>(p.pmRatio) * p.pmShape;
        shape1Env = ScaledDepth::Of(p.e3Mod1, k.shape1 * p.mod1);
        shape1Lfo = ScaledDepth::Of(p.lfo3Mod1);
        shape2Env = ScaledDepth::Of(p.e3Mod2, p.mod2 * k.shape2);
        shape2Lfo = ScaledDepth::Of(p.lfo3Mod2);
        phaseEnv = ScaledDepth::Of(p.e3Phase, k.phase * 0.5f * p.phase);
        phaseLfo = ScaledDepth::Of(p.lfo3Phase);
        pmEnv = ScaledDepth::Of(p.e3Pm, p.pmAmount * k.pm * Depth(s.wheel, p.mwPm));
        pmLfo = ScaledDepth::Of(p.lfo3Pm);
        mixLfo = ScaledDepth::Of(p.lfo1Mix, p.mix * k.mix);
        cutoffEnv = ScaledDepth::Of(p.filterEnv);
        cutoffLfo = ScaledDepth::Of(p.lfo2Cutoff);
        cutoffDepth = static_cast<double>(k.cutoff * p.cutoff) * Depth(s.wheel, p.mwCutoff);
        resonanceLfo = ScaledDepth::Of(p.lfo2Q, p.q * k.resonance);
        noiseLfo = ScaledDepth::Of(p.lfo1Noise, p.noise * p.noise * k.noise);
        volumeLfo = ScaledDepth::Of(p.lfo2Volume, p.volume * k.volume);
        tremolo = ScaledDepth::Of(p.lfo1Tremolo);
    }

    // Sample i of the sub-block, added into left and right. Always inlined:
    // the loops keep the state in registers only when it is.
    [[gnu::always_inline]] void Run(int32_t i, float& left, float& right)
    {
        const double at = i;
        const float e1 = env1.Next();
        const float e2 = env2.Next();
        const float e3 = env3.Next();
        const float l1 = lfo1.table[static_cast<int64_t>(at * lfo1Step + lfo1.phase) & EngineTables::kLfoMask];
        const float l2 = lfo2.table[static_cast<int64_t>(at * lfo2Step + lfo2.phase) & EngineTables::kLfoMask];
        const float l3 = lfo3.table[static_cast<int64_t>(at * lfo3Step + lfo3.phase) & EngineTables::kLfoMask];
        const float l1w = lfo1Wheel.At(l1);

        const float amount1 = shape1.Process(shape1Env.At(e3) * shape1Lfo.At(l3));
        const float amount2 = shape2.Process(shape2Env.At(e3) * shape2Lfo.At(l3));

        const float noiseSample = block.noise[noiseIndex & EngineTables::kNoiseMask];
        ++noiseIndex;

        // Oscillator 2 feeds oscillator 1 with one sample of delay and
        // oscillator 1 modulates oscillator 2 at once: everything that does
        // not depend on that loop is computed beside it.
        const double base1 = at * increment1 + phase1;
        const double base2 = at * increment2 + phase2;
        const float phaseOffset = phase.Process(phaseEnv.At(e3) * phaseLfo.At(l3));
        const float offset2 = static_cast<float>(kPhaseGuard) + phaseOffset;
        const float pmScale = pmEnv.At(e3) * pmLfo.At(l3);

        const float feedback = lastOsc2 * (lastOsc2 * feedbackOfSquare + feedbackOfLinear);
        const float out1 = Osc1::Compute(block.sine, feedback + base1, amount1, ratio1, a1, b1);
        const float modulator = out1 * (pmLinear + out1 * pmSquared);
        const float pmOffset = pm.Process(modulator * pmScale);
        const float out2 = Osc2::Compute(block.sine, (pmOffset + offset2) + base2, amount2, ratio2, a2, b2);
        lastOsc2 = out2;

        const float x = mix.Process(mixLfo.At(l1w));
        const float oscillators = (1.0f - x) * out1 + x * out2;
        const double c = cutoffEnv.At(e2) * cutoffDepth * cutoffLfo.At(l2);
        const float f = cutoff.Process(static_cast<float>(c * c));
        const float d = MStateVariableFilter::Damping(resonanceLfo.At(l2), f, filterScale);

        const float noise = noiseLfo.At(l1w) * noiseSample;
        const float sample = filter.Process((oscillators + noise) * 0.5f, f, d, block.weights);

        const float g = amplitude.Process(volumeLfo.At(l2) * e1 * tremolo.At(l1w));
        const float out = sample * g;
        left += (block.gainLeft + i * block.slopeLeft) * out;
        right += (block.gainRight + i * block.slopeRight) * out;
    }

    void Store()
    {
        Voice& v = voice;
        env1.StoreInto(v.envelopes[0], block.stepping[0]);
        env2.StoreInto(v.envelopes[1], block.stepping[1]);
        env3.StoreInto(v.envelopes[2], block.stepping[2]);
        v.state1a = a1;
        v.state1b = b1;
        v.state2a = a2;
        v.state2b = b2;
        v.lastOsc2 = lastOsc2;
        v.noiseIndex = noiseIndex;
        v.filter = filter;
        v.amplitude = amplitude;
        v.cutoff = cutoff;
        v.phase = phase;
        v.pm = pm;
        v.shape1 = shape1;
        v.shape2 = shape2;
        v.mix = mix;
    }

private:
    Voice& voice;
    const SubBlock& block;
    EnvelopeCursor env1;
    EnvelopeCursor env2;
    EnvelopeCursor env3;
    const LfoState lfo1;
    const LfoState lfo2;
    const LfoState lfo3;
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
    Smoother amplitude;
    Smoother cutoff;
    Smoother phase;
    Smoother pm;
    Smoother shape1;
    Smoother shape2;
    Smoother mix;
    double ratio1;
    double ratio2;
    int32_t filterScale;
    double lfo1Step;
    double lfo2Step;
    double lfo3Step;
    ScaledDepth lfo1Wheel;
    float feedbackOfSquare;
    float feedbackOfLinear;
    float pmLinear;
    float pmSquared;
    ScaledDepth shape1Env;
    ScaledDepth shape1Lfo;
    ScaledDepth shape2Env;
    ScaledDepth shape2Lfo;
    ScaledDepth phaseEnv;
    ScaledDepth phaseLfo;
    ScaledDepth pmEnv;
    ScaledDepth pmLfo;
    ScaledDepth mixLfo;
    ScaledDepth cutoffEnv;
    ScaledDepth cutoffLfo;
    double cutoffDepth;
    ScaledDepth resonanceLfo;
    ScaledDepth noiseLfo;
    ScaledDepth volumeLfo;
    ScaledDepth tremolo;
};

// count samples of one voice from sample `from` of its sub-block.
template <class Osc1, class Osc2>
void RenderOne(Voice& v, const SubBlock& s, int32_t from, float* left, float* right, int32_t count)
{
    SampleKernel<Osc1, Osc2> kernel(v, s);
    for (int32_t j = 0; j < count; ++j)
        kernel.Run(from + j, left[j], right[j]);
    kernel.Store();
}

// Two voices with the same waveforms side by side: each voice's samples form
// one long chain through the oscillator feedback, and two independent chains
// keep the processor busy where one would leave it waiting. The later voice
// adds first, as in a plain last-to-first render.
template <class Osc1, class Osc2>
void RenderTwo(Voice& later, const SubBlock& laterBlock, int32_t laterFrom, Voice& earlier,
               const SubBlock& earlierBlock, int32_t earlierFrom, float* left, float* right, int32_t count)
{
    SampleKernel<Osc1, Osc2> first(later, laterBlock);
    SampleKernel<Osc1, Osc2> second(earlier, earlierBlock);
    for (int32_t j = 0; j < count; ++j)
    {
        first.Run(laterFrom + j, left[j], right[j]);
        second.Run(earlierFrom + j, left[j], right[j]);
    }
    first.Store();
    second.Store();
}

// Four float lanes, one voice each, computed with single vector operations.
using Lanes = float __attribute__((vector_size(16)));
using LaneInts = int32_t __attribute__((vector_size(16)));
using LaneCounts = uint32_t __attribute__((vector_size(16)));  // wrap around
// Picks four lanes out of two vectors (0..3 from a, 4..7 from b). The fuzzers
// build this file with clang, whose builtin has another name and form.
#if defined(__clang__)
#define LANE_SHUFFLE(a, b, i0, i1, i2, i3) __builtin_shufflevector(a, b, i0, i1, i2, i3)
#else
#define LANE_SHUFFLE(a, b, i0, i1, i2, i3) __builtin_shuffle(a, b, LaneInts{i0, i1, i2, i3})
#endif
constexpr int32_t kQuad = 4;
constexpr int32_t kLfoMask = EngineTables::kLfoMask;
constexpr uint32_t kNoiseMask = EngineTables::kNoiseMask;
// The double-precision values of the four lanes, two to a vector.
using Pairs = double __attribute__((vector_size(16)));
constexpr int32_t kPairs = 2;

// Lanes 2 half and 2 half + 1, widened.
Pairs Widen(Lanes lanes, int32_t half)
{
    return Pairs{lanes[2 * half], lanes[2 * half + 1]};
}

// One table entry per lane, each from its own table.
Lanes Gather(const float* const* tables, LaneInts index)
{
    return Lanes{tables[0][index[0]], tables[1][index[1]], tables[2][index[2]], tables[3][index[3]]};
}

// Four entries of one table.
Lanes Gather(const float* table, LaneCounts index)
{
    return Lanes{table[index[0]], table[index[1]], table[index[2]], table[index[3]]};
}

struct LaneDepth
{
    Lanes times;
    Lanes plus;

    void Set(int32_t l, float depth, float scale = 1.0f)
    {
        times[l] = depth * scale;
        plus[l] = (1.0f - depth) * scale;
    }
    Lanes At(Lanes x) const { return x * times + plus; }
};

struct LaneSmoother
{
    Lanes coefficient;
    Lanes complement;
    Lanes state;

    void LoadCoefficients(int32_t l, const Smoother& s)
    {
        coefficient[l] = s.coefficient;
        complement[l] = s.complement;
    }
    Lanes Process(Lanes target)
    {
        state = target * complement + state * coefficient;
        return state;
    }
};

// Four voices with the same waveforms side by side, one per vector lane: the
// modulation, smoothing, filter and gain arithmetic runs for all four at
// once, and the four oscillator chains (each a long run of dependent steps
// through the feedback) run interleaved. Every lane computes exactly what the
// one-voice loop computes, and the lanes add into the buffers in lane order,
// so the samples equal rendering the voices one after the other.
template <class Osc1, class Osc2>
class QuadKernel
{
public:
    // Takes what holds for the whole block from four voices and their
    // sub-blocks: the program's values, the note's factors and the rates.
    void Prepare(Voice* const* voices, const SubBlock* const* blocks)
    {
        sine = blocks[0]->sine;
        noise = blocks[0]->noise;
        for (bool& used : lfoUsed)
            used = false;
        noiseUsed = false;
        for (int32_t l = 0; l < kQuad; ++l)
            LoadConstants(l, *voices[l], *blocks[l]);
    }

    // Takes the state of the four voices at the start of a stretch.
    void Start(Voice* const* voices, const SubBlock* const* blocks)
    {
        for (int32_t l = 0; l < kQuad; ++l)
            LoadState(l, *voices[l], *blocks[l]);
    }

    // A stretch of count samples (at most one sub-block) runs in three
    // passes that keep few values live in each: Modulate runs the envelopes,
    // LFOs and smoothers that do not depend on the oscillators, Oscillate the
    // oscillator chains, Finish the filter and output. Lane l starts at
    // sample from[l] of its sub-block.
    void Modulate(const int32_t* from, int32_t count)
    {
        for (int32_t j = 0; j < count; ++j)
            ModulateAt(from, j);
    }

    // The oscillator chains of several kernels, one per lane, interleaved:
    // each chain is a long run of dependent steps through the feedback, and
    // the more independent chains run side by side, the less the processor
    // waits. Their state is held in locals so that it can stay in registers.
    template <int32_t kKernels>
    static void Oscillate(QuadKernel* const* kernels, int32_t count)
    {
        constexpr int32_t kLanes = kKernels * kQuad;
        float a1s[kLanes];
        float b1s[kLanes];
        float a2s[kLanes];
        float b2s[kLanes];
        float last[kLanes];
        float pmAt[kLanes];
        for (int32_t n = 0; n < kLanes; ++n)
        {
            const QuadKernel& q = *kernels[n / kQuad];
            const int32_t l = n % kQuad;
            a1s[n] = q.a1[l];
            b1s[n] = q.b1[l];
            a2s[n] = q.a2[l];
            b2s[n] = q.b2[l];
            last[n] = q.lastOsc2[l];
            pmAt[n] = q.pmState[l];
        }
        for (int32_t j = 0; j < count; ++j)
        {
#pragma GCC unroll 8
            for (int32_t n = 0; n < kLanes; ++n)
            {
                QuadKernel& q = *kernels[n / kQuad];
                const int32_t l = n % kQuad;
                const int32_t h = l / 2;
                const int32_t i = l % 2;
                const float o = last[n];
                const float feedback = o * (o * q.feedbackOfSquare[l] + q.feedbackOfLinear[l]);
                const float first =
                    Osc1::Compute(q.sine, feedback + q.base1[j][h][i], q.amount1[j][l], q.ratio1[l], a1s[n], b1s[n]);
                const float modulator = first * (q.pmLinear[l] + first * q.pmSquared[l]);
                pmAt[n] = modulator * q.pmScale[j][l] * q.pmComplement[l] + pmAt[n] * q.pmCoefficient[l];
                const float second = Osc2::Compute(q.sine, (pmAt[n] + q.offset2[j][l]) + q.base2[j][h][i],
                                                   q.amount2[j][l], q.ratio2[l], a2s[n], b2s[n]);
                last[n] = second;
                q.out1At[j][l] = first;
                q.out2At[j][l] = second;
            }
        }
        for (int32_t n = 0; n < kLanes; ++n)
        {
            QuadKernel& q = *kernels[n / kQuad];
            const int32_t l = n % kQuad;
            q.a1[l] = a1s[n];
            q.b1[l] = b1s[n];
            q.a2[l] = a2s[n];
            q.b2[l] = b2s[n];
            q.lastOsc2[l] = last[n];
            q.pmState[l] = pmAt[n];
        }
    }

    // The filter and gains, then the lanes added into left and right.
    void Finish(float* left, float* right, int32_t count)
    {
        for (int32_t j = 0; j < count; ++j)
            Sound(j);
        AddLanes(toLeftAt, left, count);
        AddLanes(toRightAt, right, count);
    }

    void Store(Voice* const* voices, const SubBlock* const* blocks) const
    {
        for (int32_t l = 0; l < kQuad; ++l)
        {
            Voice& v = *voices[l];
            const SubBlock& s = *blocks[l];
            StoreEnvelope(v.envelopes[0], s.stepping[0], env1Value[l], env1Step[l], env1Change[l]);
            StoreEnvelope(v.envelopes[1], s.stepping[1], env2Value[l], env2Step[l], env2Change[l]);
            StoreEnvelope(v.envelopes[2], s.stepping[2], env3Value[l], env3Step[l], env3Change[l]);
            v.state1a = a1[l];
            v.state1b = b1[l];
            v.state2a = a2[l];
            v.state2b = b2[l];
            v.lastOsc2 = lastOsc2[l];
            v.noiseIndex = noiseIndex[l];
            v.filter.low = low[l];
            v.filter.band = band[l];
            v.filter.high = high[l];
            v.amplitude.state = amplitude.state[l];
            v.cutoff.state = cutoff.state[l];
            v.phase.state = phase.state[l];
            v.pm.state = pmState[l];
            v.shape1.state = shape1.state[l];
            v.shape2.state = shape2.state[l];
            v.mix.state = mix.state[l];
        }
    }

private:
    [[gnu::always_inline]] void ModulateAt(const int32_t* from, int32_t j)
    {
        const Lanes e1 = env1Value;
        env1Value += env1Step;
        env1Step += env1Change;
        const Lanes e2 = env2Value;
        env2Value += env2Step;
        env2Step += env2Change;
        const Lanes e3 = env3Value;
        env3Value += env3Step;
        env3Step += env3Change;

        const LaneInts sampleAt = LaneInts{from[0], from[1], from[2], from[3]} + j;
        // Sample positions are small integers, exact in either precision.
        const Lanes position = __builtin_convertvector(sampleAt, Lanes);
        const Pairs at[kPairs] = {Widen(position, 0), Widen(position, 1)};
        Pairs lfoAt[Voice::kModulatorCount][kPairs];
        for (int32_t h = 0; h < kPairs; ++h)
        {
            for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
                lfoAt[k][h] = at[h] * lfoStep[k][h] + lfoPhase[k][h];
            base1[j][h] = at[h] * increment1[h] + phase1[h];
            base2[j][h] = at[h] * increment2[h] + phase2[h];
        }
        // An LFO that no lane routes anywhere, or noise that no lane mixes in,
        // is not looked up: its values would be multiplied by zero.
        Lanes lfo[Voice::kModulatorCount] = {};
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
        {
            if (!lfoUsed[k])
                continue;
            const Pairs* entry = lfoAt[k];
            const LaneInts index = {static_cast<int32_t>(static_cast<int64_t>(entry[0][0]) & kLfoMask),
                                    static_cast<int32_t>(static_cast<int64_t>(entry[0][1]) & kLfoMask),
                                    static_cast<int32_t>(static_cast<int64_t>(entry[1][0]) & kLfoMask),
                                    static_cast<int32_t>(static_cast<int64_t>(entry[1][1]) & kLfoMask)};
            lfo[k] = Gather(lfoTable[k], index);
        }
        const Lanes l1 = lfo[0];
        const Lanes l2 = lfo[1];
        const Lanes l3 = lfo[2];
        const Lanes noiseSample = noiseUsed ? Gather(noise, noiseIndex & kNoiseMask) : Lanes{};
        noiseIndex += 1;
        const Lanes l1w = lfo1Wheel.At(l1);
        amount1[j] = shape1.Process(shape1Env.At(e3) * shape1Lfo.At(l3));
        amount2[j] = shape2.Process(shape2Env.At(e3) * shape2Lfo.At(l3));
        const Lanes phaseOffset = phase.Process(phaseEnv.At(e3) * phaseLfo.At(l3));
        offset2[j] = static_cast<float>(kPhaseGuard) + phaseOffset;
        pmScale[j] = pmEnv.At(e3) * pmLfo.At(l3);
        mixAt[j] = mix.Process(mixLfo.At(l1w));

        const Lanes envCutoff = cutoffEnv.At(e2);
        const Lanes lfoCutoff = cutoffLfo.At(l2);
        Pairs squared[kPairs];
        for (int32_t h = 0; h < kPairs; ++h)
        {
            const Pairs c = Widen(envCutoff, h) * cutoffDepth[h] * Widen(lfoCutoff, h);
            squared[h] = c * c;
        }
        const Lanes target = {static_cast<float>(squared[0][0]), static_cast<float>(squared[0][1]),
                              static_cast<float>(squared[1][0]), static_cast<float>(squared[1][1])};
        const Lanes f = cutoff.Process(target);
        const Lanes resonance = resonanceLfo.At(l2);
        const Lanes eased = (resonance * f * 6.25f + resonance * 3.0f) * 0.25f;
        const LaneInts easeOff = (f < 0.16f) & compensate;
        const Lanes r = easeOff ? eased : resonance;
        cutoffAt[j] = f;
        dampingAt[j] = 1.0f - 0.98f * r;
        noiseAt[j] = noiseLfo.At(l1w) * noiseSample;
        gainAt[j] = amplitude.Process(volumeLfo.At(l2) * e1 * tremolo.At(l1w));
        toLeftAt[j] = gainLeft + position * slopeLeft;
        toRightAt[j] = gainRight + position * slopeRight;
    }

    [[gnu::always_inline]] void Sound(int32_t j)
    {
        const Lanes out1 = out1At[j];
        const Lanes out2 = out2At[j];
        const Lanes x = mixAt[j];
        const Lanes oscillators = (1.0f - x) * out1 + x * out2;
        const Lanes f = cutoffAt[j];
        const Lanes input = (oscillators + noiseAt[j]) * 0.5f;
        low = low + f * band;
        high = input - low - dampingAt[j] * band;
        band = band + f * high;
        const Lanes sample = low * weightLow + band * weightBand + high * weightHigh;
        const Lanes out = sample * gainAt[j];
        toLeftAt[j] *= out;
        toRightAt[j] *= out;
    }

    // Adds the lanes of each sample into the buffer in lane order, four
    // samples at a time: the rows are turned into columns so that one vector
    // addition per lane serves four samples.
    static void AddLanes(const Lanes* rows, float* buffer, int32_t count)
    {
        int32_t j = 0;
        for (; j + kQuad <= count; j += kQuad)
        {
            const Lanes low01 = LANE_SHUFFLE(rows[j], rows[j + 1], 0, 4, 1, 5);
            const Lanes low23 = LANE_SHUFFLE(rows[j + 2], rows[j + 3], 0, 4, 1, 5);
            const Lanes high01 = LANE_SHUFFLE(rows[j], rows[j + 1], 2, 6, 3, 7);
            const Lanes high23 = LANE_SHUFFLE(rows[j + 2], rows[j + 3], 2, 6, 3, 7);
            Lanes sum;
            std::memcpy(&sum, buffer + j, sizeof sum);
            sum += LANE_SHUFFLE(low01, low23, 0, 1, 4, 5);
            sum += LANE_SHUFFLE(low01, low23, 2, 3, 6, 7);
            sum += LANE_SHUFFLE(high01, high23, 0, 1, 4, 5);
            sum += LANE_SHUFFLE(high01, high23, 2, 3, 6, 7);
            std::memcpy(buffer + j, &sum, sizeof sum);
        }
        for (; j < count; ++j)
            for (int32_t l = 0; l < kQuad; ++l)
                buffer[j] += rows[j][l];
    }

    static void StoreEnvelope(Envelope& e, bool stepping, float value, float step, float change)
    {
        e.value = value;
        if (stepping)
        {
            e.step = step;
            e.stepChange = change;
        }
    }

    void LoadState(int32_t l, const Voice& v, const SubBlock& s)
    {
        // An envelope that is not stepping in this sub-block gets zero steps.
        env1Value[l] = v.envelopes[0].value;
        env1Step[l] = s.stepping[0] ? v.envelopes[0].step : 0.0f;
        env1Change[l] = s.stepping[0] ? v.envelopes[0].stepChange : 0.0f;
        env2Value[l] = v.envelopes[1].value;
        env2Step[l] = s.stepping[1] ? v.envelopes[1].step : 0.0f;
        env2Change[l] = s.stepping[1] ? v.envelopes[1].stepChange : 0.0f;
        env3Value[l] = v.envelopes[2].value;
        env3Step[l] = s.stepping[2] ? v.envelopes[2].step : 0.0f;
        env3Change[l] = s.stepping[2] ? v.envelopes[2].stepChange : 0.0f;
        for (int32_t i = 0; i < Voice::kModulatorCount; ++i)
            lfoPhase[i][l / 2][l % 2] = v.lfos[i].phase;
        phase1[l / 2][l % 2] = kPhaseGuard + v.phase1;
        increment1[l / 2][l % 2] = v.increment1;
        phase2[l / 2][l % 2] = v.phase2;
        increment2[l / 2][l % 2] = v.increment2;
        a1[l] = v.state1a;
        b1[l] = v.state1b;
        a2[l] = v.state2a;
        b2[l] = v.state2b;
        lastOsc2[l] = static_cast<float>(v.lastOsc2);
        noiseIndex[l] = v.noiseIndex;
        low[l] = v.filter.low;
        band[l] = v.filter.band;
        high[l] = v.filter.high;
        amplitude.state[l] = v.amplitude.state;
        cutoff.state[l] = v.cutoff.state;
        phase.state[l] = v.phase.state;
        pmState[l] = v.pm.state;
        shape1.state[l] = v.shape1.state;
        shape2.state[l] = v.shape2.state;
        mix.state[l] = v.mix.state;
        gainLeft[l] = s.gainLeft;
        gainRight[l] = s.gainRight;
        slopeLeft[l] = s.slopeLeft;
        slopeRight[l] = s.slopeRight;
    }

    void LoadConstants(int32_t l, const Voice& v, const SubBlock& s)
    {
        const VoiceParams& p = s.params;
        const NoteFactors& k = v.factors;
        for (int32_t i = 0; i < Voice::kModulatorCount; ++i)
        {
            const LfoState& lfo = v.lfos[i];
            lfoTable[i][l] = lfo.table;
            lfoStep[i][l / 2][l % 2] = lfo.increment * lfo.continuous;
        }
        amplitude.LoadCoefficients(l, v.amplitude);
        cutoff.LoadCoefficients(l, v.cutoff);
        phase.LoadCoefficients(l, v.phase);
        pmCoefficient[l] = v.pm.coefficient;
        pmComplement[l] = v.pm.complement;
        shape1.LoadCoefficients(l, v.shape1);
        shape2.LoadCoefficients(l, v.shape2);
        mix.LoadCoefficients(l, v.mix);
        ratio1[l] = p.ratio1;
        ratio2[l] = p.ratio2;
        compensate[l] = p.filterScale != 0 ? -1 : 0;
        weightLow[l] = s.weights.low;
        weightBand[l] = s.weights.band;
        weightHigh[l] = s.weights.high;
        lfo1Wheel.Set(l, Depth(s.wheel, p.mwLfo1Depth));
        const float feedbackSquare = p.feedbackShape * p.feedbackShape;
        const float feedbackAmount = p.feedback * p.feedback * p.feedback;
        feedbackOfSquare[l] = feedbackSquare * feedbackAmount;
        feedbackOfLinear[l] = (1.0f - feedbackSquare) * feedbackAmount;
        pmLinear[l] = static_cast<float>(p.pmRatio) * (1.0f - p.pmShape);
        pmSquared[l] = static_cast<float>(p.pmRatio) * p.pmShape;
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
        cutoffDepth[l / 2][l % 2] = static_cast<double>(k.cutoff * p.cutoff) * Depth(s.wheel, p.mwCutoff);
        resonanceLfo.Set(l, p.lfo2Q, p.q * k.resonance);
        noiseLfo.Set(l, p.lfo1Noise, p.noise * p.noise * k.noise);
        volumeLfo.Set(l, p.lfo2Volume, p.volume * k.volume);
        tremolo.Set(l, p.lfo1Tremolo);
        // A blend whose times is zero gives the same value for any input.
        lfoUsed[0] = lfoUsed[0] || (lfo1Wheel.times[l] != 0.0f && (mixLfo.times[l] != 0.0f || noiseLfo.times[l] != 0.0f
                                                                  || tremolo.times[l] != 0.0f));
        lfoUsed[1] = lfoUsed[1] || cutoffLfo.times[l] != 0.0f || resonanceLfo.times[l] != 0.0f
                     || volumeLfo.times[l] != 0.0f;
        lfoUsed[2] = lfoUsed[2] || shape1Lfo.times[l] != 0.0f || shape2Lfo.times[l] != 0.0f || phaseLfo.times[l] != 0.0f
                     || pmLfo.times[l] != 0.0f;
        noiseUsed = noiseUsed || noiseLfo.times[l] != 0.0f || noiseLfo.plus[l] != 0.0f;
    }

    const float* sine;
    const float* noise;
    // What the first pass leaves for the second, per sample of the stretch.
    Pairs base1[kMaxSubBlock][kPairs];  // oscillator phases before feedback
    Pairs base2[kMaxSubBlock][kPairs];
    Lanes amount1[kMaxSubBlock];
    Lanes amount2[kMaxSubBlock];
    Lanes offset2[kMaxSubBlock];
    Lanes pmScale[kMaxSubBlock];
    Lanes mixAt[kMaxSubBlock];
    Lanes cutoffAt[kMaxSubBlock];
    Lanes dampingAt[kMaxSubBlock];
    Lanes noiseAt[kMaxSubBlock];
    Lanes gainAt[kMaxSubBlock];
    Lanes toLeftAt[kMaxSubBlock];
    Lanes toRightAt[kMaxSubBlock];
    Lanes out1At[kMaxSubBlock];  // what the oscillator chains leave for the filter
    Lanes out2At[kMaxSubBlock];
    Lanes env1Value;
    Lanes env1Step;
    Lanes env1Change;
    Lanes env2Value;
    Lanes env2Step;
    Lanes env2Change;
    Lanes env3Value;
    Lanes env3Step;
    Lanes env3Change;
    const float* lfoTable[Voice::kModulatorCount][kQuad];
    Pairs lfoPhase[Voice::kModulatorCount][kPairs];
    Pairs lfoStep[Voice::kModulatorCount][kPairs];
    Pairs phase1[kPairs];  // with the guard that keeps table arguments positive
    Pairs increment1[kPairs];
    Pairs phase2[kPairs];
    Pairs increment2[kPairs];
    float a1[kQuad];
    float b1[kQuad];
    float a2[kQuad];
    float b2[kQuad];
    float lastOsc2[kQuad];
    LaneCounts noiseIndex;
    bool lfoUsed[Voice::kModulatorCount];  // by any lane
    bool noiseUsed;
    Lanes low;
    Lanes band;
    Lanes high;
    LaneSmoother amplitude;
    LaneSmoother cutoff;
    LaneSmoother phase;
    LaneSmoother shape1;
    LaneSmoother shape2;
    LaneSmoother mix;
    float pmCoefficient[kQuad];
    float pmComplement[kQuad];
    float pmState[kQuad];
    double ratio1[kQuad];
    double ratio2[kQuad];
    LaneInts compensate;
    Lanes weightLow;
    Lanes weightBand;
    Lanes weightHigh;
    Lanes gainLeft;
    Lanes gainRight;
    Lanes slopeLeft;
    Lanes slopeRight;
    LaneDepth lfo1Wheel;
    float feedbackOfSquare[kQuad];
    float feedbackOfLinear[kQuad];
    float pmLinear[kQuad];
    float pmSquared[kQuad];
    LaneDepth shape1Env;
    LaneDepth shape1Lfo;
    LaneDepth shape2Env;
    LaneDepth shape2Lfo;
    LaneDepth phaseEnv;
    LaneDepth phaseLfo;
    LaneDepth pmEnv;
    LaneDepth pmLfo;
    LaneDepth mixLfo;
    LaneDepth cutoffEnv;
    LaneDepth cutoffLfo;
    Pairs cutoffDepth[kPairs];
    LaneDepth resonanceLfo;
    LaneDepth noiseLfo;
    LaneDepth volumeLfo;
    LaneDepth tremolo;
};

class VoiceRun;

// Renders the voices of runs (kKernels times four, with the same waveforms)
// side by side, a stretch at a time, while all of them sound.
template <class Osc1, class Osc2, int32_t kKernels>
void RenderStretches(VoiceRun* runs, Voice* const* voices, float* left, float* right);

using RenderOneFunction = void (*)(Voice&, const SubBlock&, int32_t, float*, float*, int32_t);
using RenderTwoFunction = void (*)(Voice&, const SubBlock&, int32_t, Voice&, const SubBlock&, int32_t, float*,
                                   float*, int32_t);
using RenderLanesFunction = void (*)(VoiceRun*, Voice* const*, float*, float*);

// The loops for a pair of waveforms, chosen once per stretch.
struct RenderLoops
{
    RenderOneFunction one;
    RenderTwoFunction two;
    RenderLanesFunction four;
    RenderLanesFunction eight;
};

template <class Osc1, class Osc2>
constexpr RenderLoops LoopsOf()
{
    return RenderLoops{&RenderOne<Osc1, Osc2>, &RenderTwo<Osc1, Osc2>, &RenderStretches<Osc1, Osc2, 1>,
                       &RenderStretches<Osc1, Osc2, 2>};
}

template <class Osc1>
constexpr RenderLoops LoopsFor(OscWave wave2)
{
    switch (wave2)
    {
    case kOscSaw: return LoopsOf<Osc1, CSawOSC>();
    case kOscSquare: return LoopsOf<Osc1, CSquareOSC>();
    case kOscPulse: return LoopsOf<Osc1, CPWMOSC>();
    case kOscPm: return LoopsOf<Osc1, CPMOSC>();
    case kOscSaw2: return LoopsOf<Osc1, CSAWPHSOSC>();
    default: return LoopsOf<Osc1, COSC>();
    }
}

RenderLoops PickLoops(const Voice& v)
{
    switch (v.osc1)
    {
    case kOscSaw: return LoopsFor<CSawOSC>(v.osc2);
    case kOscSquare: return LoopsFor<CSquareOSC>(v.osc2);
    case kOscPulse: return LoopsFor<CPWMOSC>(v.osc2);
    case kOscPm: return LoopsFor<CPMOSC>(v.osc2);
    case kOscSaw2: return LoopsFor<CSAWPHSOSC>(v.osc2);
    default: return LoopsFor<COSC>(v.osc2);
    }
}

// Stereo position of the voice at sample i of the sub-block, as gains.
PanGains PanAt(const Voice& v, const VoiceParams& p, int32_t i)
{
    const float position = p.lfo2Pan * v.lfos[1].Value(i) + (1.0f - p.lfo2Pan) * v.factors.pan;
    return PanLaw(position, p.pan);
}

double Increment(double semitones, int32_t sampleRate)
{
    return std::exp(semitones / 12.0 * kLn2) * kPitchBaseHertz / sampleRate;
}

// The increment of the last pitch asked for: a held note without vibrato or
// glide asks for the same pitch in every sub-block.
class PitchCache
{
public:
    double Increment(double semitones, int32_t sampleRate)
    {
        if (!(semitones == lastSemitones))
        {
            lastSemitones = semitones;
            lastIncrement = ::Increment(semitones, sampleRate);
        }
        return lastIncrement;
    }

private:
    double lastSemitones = NAN;  // never equal: the first call computes
    double lastIncrement = 0.0;
};

void FlushSmoothers(Voice& v)
{
    for (Smoother* s : {&v.amplitude, &v.cutoff, &v.phase, &v.pm, &v.shape1, &v.shape2, &v.mix})
        s->state = Flush(s->state);
}

// One voice on its way through a block, a sub-block at a time. Sub-blocks
// hold at most 32 samples and end at every envelope segment end and random
// LFO step, so that pitch, pan slope and rates hold still inside one.
class VoiceRun
{
public:
    // The program cannot change during one call, so what is read from it
    // alone is read once per block rather than once per sub-block.
    VoiceRun(Voice& v, const RenderContext& c, int32_t frames) : voice(v), context(c), program(*v.program), remaining(frames)
    {
        sub.params = ReadVoiceParams(program);
        sub.weights = MStateVariableFilter::BlendWeights(program.blend);
        sub.sine = context.tables->sine;
        sub.noise = context.tables->noise;
        sub.wheel = context.modWheel;
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
        {
            const SynthLfo& lfoParams = program.lfo[l];
            sub.waves[l] = LfoWave(lfoParams);
            lfoIncrements[l] = LfoIncrement(lfoParams, context.sampleRate, context.tempo);
        }
        NextSubBlock();
    }

    // Samples are left to render in the current sub-block.
    bool Active() const { return active; }
    int32_t Left() const { return sub.length - position; }
    int32_t Position() const { return position; }
    int32_t Offset() const { return offset; }  // in the block
    const SubBlock& Sub() const { return sub; }
    Voice& TheVoice() { return voice; }

    void Advance(int32_t count)
    {
        position += count;
        offset += count;
        if (position < sub.length)
            return;
        FinishSubBlock();
        NextSubBlock();
    }

private:
    void NextSubBlock()
    {
        for (;;)
        {
            if (remaining <= 0 || voice.Finished())
            {
                active = false;
                return;
            }
            StartSubBlock();
            if (sub.length > 0)
            {
                position = 0;
                active = true;
                return;
            }
            FinishSubBlock();
        }
    }

    void StartSubBlock()
    {
        Voice& v = voice;
        const VoiceParams& params = sub.params;

        int32_t n = remaining < kMaxSubBlock ? remaining : kMaxSubBlock;
        for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
        {
            const Envelope& envelope = v.envelopes[e];
            if (envelope.active && envelope.remaining < n)
                n = envelope.remaining;
        }
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
        {
            const int32_t wave = sub.waves[l];
            const double increment = lfoIncrements[l];
            LfoState& lfo = v.lfos[l];
            LfoState& global = context.globalLfos[l];
            lfo.increment = increment;
            global.increment = increment;
            StartPendingStep(lfo, wave, *context.random);
            StartPendingStep(global, wave, *context.random);
            // A step always lies at least one sample ahead, so the render
            // moves on even when a cycle is shorter than a sample.
            if (wave == EngineTables::kLfoRandomWave && lfo.countdown < n)
            {
                const int32_t untilStep = static_cast<int32_t>(lfo.countdown);
                n = untilStep < 1 ? (n < 1 ? n : 1) : untilStep;
            }
        }

        // Pitch, fixed for the sub-block.
        double glide = 0.0;
        if (v.glideRemaining > 0)
        {
            if (v.glideRemaining < n)
                n = v.glideRemaining;
            glide = static_cast<double>(v.glideRemaining) / v.glideLength * v.glideOffset;
            v.glideRemaining -= n;
        }
        const float bend = context.pitchBend;
        const int32_t bendRange = bend >= 0.0f ? params.bendUp : params.bendDown;
        const float vibrato = Depth(context.modWheel, params.mwLfo1Depth) * params.lfo1Vibrato
                              * (2.0f * v.lfos[0].Value(0) - 1.0f);
        const double pitch = v.note + params.coarse + kNoteToPitch + bend * bendRange + vibrato + glide;
        const double detune = params.detune * params.detune * v.factors.detune * 0.5f;
        v.increment1 = pitch1.Increment(params.coarse2 + pitch - detune, context.sampleRate);
        v.increment2 = pitch2.Increment(pitch + detune, context.sampleRate);

        sub.length = n;
        for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
            sub.stepping[e] = v.envelopes[e].active && v.envelopes[e].remaining > 0;
        if (n > 0)
        {
            const PanGains start = PanAt(v, params, 0);
            const PanGains end = PanAt(v, params, n);
            sub.gainLeft = start.left;
            sub.gainRight = start.right;
            sub.slopeLeft = (end.left - start.left) / n;
            sub.slopeRight = (end.right - start.right) / n;
        }
    }

    void FinishSubBlock()
    {
        Voice& v = voice;
        const int32_t n = sub.length;
        v.phase1 += n * v.increment1;
        v.phase2 += n * v.increment2;
        for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
        {
            Envelope& envelope = v.envelopes[e];
            if (!envelope.active)
                continue;
            envelope.remaining -= n;
            envelope.value = Flush(envelope.value);
            if (envelope.remaining == 0)
                AdvanceEnvelope(context.limits->range[e], envelope, program.env[e]);
        }
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
            AdvanceLfo(v.lfos[l], sub.waves[l], n);
        v.filter.FlushDenormals();
        FlushSmoothers(v);
        remaining -= n;
    }

    Voice& voice;
    const RenderContext& context;
    const SynthProgram& program;
    double lfoIncrements[Voice::kModulatorCount];
    PitchCache pitch1;
    PitchCache pitch2;
    SubBlock sub = {};
    int32_t remaining;
    int32_t position = 0;
    int32_t offset = 0;
    bool active = false;
};

void FinishAlone(VoiceRun& run, float* left, float* right)
{
    const RenderLoops loops = PickLoops(run.TheVoice());
    while (run.Active())
    {
        const int32_t count = run.Left();
        loops.one(run.TheVoice(), run.Sub(), run.Position(), left + run.Offset(), right + run.Offset(), count);
        run.Advance(count);
    }
}

template <class Osc1, class Osc2, int32_t kKernels>
void RenderStretches(VoiceRun* runs, Voice* const* voices, float* left, float* right)
{
    constexpr int32_t kSize = kKernels * kQuad;
    using Kernel = QuadKernel<Osc1, Osc2>;
    const SubBlock* blocks[kSize];
    for (int32_t i = 0; i < kSize; ++i)
        blocks[i] = &runs[i].Sub();
    Kernel quads[kKernels];
    Kernel* kernels[kKernels];
    for (int32_t k = 0; k < kKernels; ++k)
    {
        kernels[k] = &quads[k];
        quads[k].Prepare(voices + k * kQuad, blocks + k * kQuad);
    }
    for (;;)
    {
        int32_t count = kMaxSubBlock;
        int32_t from[kSize];
        for (int32_t i = 0; i < kSize; ++i)
        {
            if (!runs[i].Active())
                return;
            count = runs[i].Left() < count ? runs[i].Left() : count;
            from[i] = runs[i].Position();
        }
        // All runs stand at the same sample of the block.
        float* l = left + runs[0].Offset();
        float* r = right + runs[0].Offset();
        for (int32_t k = 0; k < kKernels; ++k)
        {
            quads[k].Start(voices + k * kQuad, blocks + k * kQuad);
            quads[k].Modulate(from + k * kQuad, count);
        }
        Kernel::template Oscillate<kKernels>(kernels, count);
        for (int32_t k = 0; k < kKernels; ++k)
        {
            quads[k].Finish(l, r, count);
            quads[k].Store(voices + k * kQuad, blocks + k * kQuad);
        }
        for (int32_t i = 0; i < kSize; ++i)
            runs[i].Advance(count);
    }
}

}  // namespace

bool RenderVoice(Voice& v, const RenderContext& context, float* left, float* right, int32_t frames)
{
    VoiceRun run(v, context, frames);
    FinishAlone(run, left, right);
    return !v.Finished();
}

void RenderVoicePair(Voice& later, Voice& earlier, const RenderContext& context, float* left, float* right,
                     int32_t frames, VoicePairResult& result)
{
    VoiceRun first(later, context, frames);
    VoiceRun second(earlier, context, frames);
    const RenderLoops laterLoops = PickLoops(later);
    const RenderLoops earlierLoops = PickLoops(earlier);
    const bool sameWaves = later.osc1 == earlier.osc1 && later.osc2 == earlier.osc2;
    while (first.Active() && second.Active())
    {
        // Both runs stand at the same sample of the block.
        const int32_t count = first.Left() < second.Left() ? first.Left() : second.Left();
        float* l = left + first.Offset();
        float* r = right + first.Offset();
        if (sameWaves)
        {
            laterLoops.two(later, first.Sub(), first.Position(), earlier, second.Sub(), second.Position(), l, r,
                           count);
        }
        else
        {
            laterLoops.one(later, first.Sub(), first.Position(), l, r, count);
            earlierLoops.one(earlier, second.Sub(), second.Position(), l, r, count);
        }
        first.Advance(count);
        second.Advance(count);
    }
    FinishAlone(first, left, right);
    FinishAlone(second, left, right);
    result.laterSounding = !later.Finished();
    result.earlierSounding = !earlier.Finished();
}

namespace {

template <size_t... kIndex>
std::array<VoiceRun, sizeof...(kIndex)> MakeRuns(Voice* const* voices, const RenderContext& context, int32_t frames,
                                                 std::index_sequence<kIndex...>)
{
    return {VoiceRun(*voices[kIndex], context, frames)...};
}

// Renders kKernels times four voices side by side while all of them sound and
// share their waveforms; the rest of each voice is rendered alone.
template <int32_t kKernels>
void RenderGroup(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                 bool* sounding)
{
    constexpr int32_t kSize = kKernels * kQuad;
    bool sameWaves = true;
    for (int32_t l = 1; l < kSize; ++l)
        sameWaves = sameWaves && voices[l]->osc1 == voices[0]->osc1 && voices[l]->osc2 == voices[0]->osc2;
    if (!sameWaves && kKernels > 1)
    {
        // One quad after the other, as the voices would be rendered alone.
        for (int32_t k = 0; k < kKernels; ++k)
            RenderGroup<1>(voices + k * kQuad, context, left, right, frames, sounding + k * kQuad);
        return;
    }
    std::array<VoiceRun, kSize> runs = MakeRuns(voices, context, frames, std::make_index_sequence<kSize>());
    // Voices with other waveforms add one after the other, as alone.
    if (sameWaves)
    {
        const RenderLoops loops = PickLoops(*voices[0]);
        (kKernels > 1 ? loops.eight : loops.four)(runs.data(), voices, left, right);
    }
    for (int32_t i = 0; i < kSize; ++i)
    {
        FinishAlone(runs[i], left, right);
        sounding[i] = !voices[i]->Finished();
    }
}

}  // namespace

void RenderVoiceQuad(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                     bool* sounding)
{
    RenderGroup<1>(voices, context, left, right, frames, sounding);
}

void RenderVoiceOctet(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                      bool* sounding)
{
    RenderGroup<2>(voices, context, left, right, frames, sounding);
}
