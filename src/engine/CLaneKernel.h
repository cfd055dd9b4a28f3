#pragma once

#include "engine/Lanes.h"
#include "engine/SubBlock.h"
#include "engine/VoiceFormulas.h"
#include "engine/WithConstant.h"
#include "engine/CVoiceRun.h"

#include <cstdint>

// Four voices with the same waveforms side by side, one per vector lane: the
// modulation, smoothing, filter and gain arithmetic runs for all four at
// once, and the four oscillator chains (each a long run of dependent steps
// through the feedback) run interleaved. Every lane computes exactly what the
// one-voice kernel computes, and the lanes add into the buffers in lane
// order, so the samples equal rendering the voices one after the other.
template <class Osc1, class Osc2>
class CLaneKernel
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
        for (int32_t l = 0; l < kLaneCount; ++l)
            LoadConstants(l, *voices[l], *blocks[l]);
        // What an LFO looked up as zero gives, as the samples would work it out.
        idleShares.FromLfo1(constants, Lanes{});
        idleShares.FromLfo2(constants, Lanes{});
        idleShares.FromLfo3(constants, Lanes{});
    }

    // Takes the state of the four voices at the start of a stretch.
    void Start(Voice* const* voices, const SubBlock* const* blocks)
    {
        for (int32_t l = 0; l < kLaneCount; ++l)
            LoadState(l, *voices[l], *blocks[l]);
    }

    // A stretch of count samples (at most one sub-block) runs in three
    // passes that keep few values live in each: Modulate runs the envelopes,
    // LFOs and smoothers that do not depend on the oscillators, Oscillate the
    // oscillator chains, Finish the filter and output. Lane l starts at
    // sample from[l] of its sub-block.
    void Modulate(const int32_t* from, int32_t count)
    {
        // The loop runs on locals: the stores into the rows could alias the
        // members and would keep them in memory.
        Running running{smoothers, {envelopes[0], envelopes[1], envelopes[2]}, noiseIndex};
        if (Holds())
            ModulateHolding(from, count, running);
        else
            for (int32_t j = 0; j < count; ++j)
                ModulateAt(from, j, running);
        smoothers = running.smoothers;
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
            envelopes[k] = running.envelopes[k];
        noiseIndex = running.noiseIndex;
    }

    // The oscillator chains of several kernels, one per lane, interleaved:
    // each chain is a long run of dependent steps through the feedback, and
    // the more independent chains run side by side, the less the processor
    // waits. Their state is held in locals so that it can stay in registers.
    template <int32_t kKernels>
    static void Oscillate(CLaneKernel* const* kernels, int32_t count)
    {
        bool crossFree = true;
        for (int32_t k = 0; k < kKernels; ++k)
            crossFree = crossFree && kernels[k]->CrossFree();
        WithConstant(crossFree, [&](auto free) { OscillateChains<kKernels, free>(kernels, count); });
    }

    // The filter and gains, then the lanes added into left and right.
    void Finish(float* left, float* right, int32_t count)
    {
        // The filter runs on locals: the stores into the rows could alias a
        // member and would keep it in memory.
        MStateVariableFilterOf<Lanes> state = filter;
        const MStateVariableFilterOf<Lanes>::Weights blend = weights;
        for (int32_t j = 0; j < count; ++j)
            Sound(j, state, blend);
        filter = state;
        AddLanes(toLeftAt, left, count);
        AddLanes(toRightAt, right, count);
    }

    void Store(Voice* const* voices, const SubBlock* const* blocks) const
    {
        for (int32_t l = 0; l < kLaneCount; ++l)
        {
            Voice& v = *voices[l];
            for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
                envelopes[k].Store(l, v.envelopes[k], blocks[l]->stepping[k]);
            v.state1a = a1[l];
            v.state1b = b1[l];
            v.state2a = a2[l];
            v.state2b = b2[l];
            v.lastOsc2 = lastOsc2[l];
            v.noiseIndex = noiseIndex[l];
            v.filter = MStateVariableFilter{filter.low[l], filter.band[l], filter.high[l]};
            v.pm.state = pm[l].state;
            SmootherSet<LaneSmoother>::Each(
                smoothers, v, [l](const LaneSmoother& ours, Smoother& its) { its.state = ours.state[l]; });
        }
    }

private:
    // What the modulation pass steps from sample to sample.
    struct Running
    {
        SmootherSet<LaneSmoother> smoothers;
        EnvelopeCursor<Lanes> envelopes[Voice::kModulatorCount];
        LaneCounts noiseIndex;
    };

    // Oscillate's loop; kCrossFree as for the one-voice kernel, in every lane.
    template <int32_t kKernels, bool kCrossFree>
    static void OscillateChains(CLaneKernel* const* kernels, int32_t count)
    {
        constexpr int32_t kChains = kKernels * kLaneCount;
        float a1s[kChains];
        float b1s[kChains];
        float a2s[kChains];
        float b2s[kChains];
        float last[kChains];
        Smoother pms[kChains];
        for (int32_t n = 0; n < kChains; ++n)
        {
            const CLaneKernel& q = *kernels[n / kLaneCount];
            const int32_t l = n % kLaneCount;
            a1s[n] = q.a1[l];
            b1s[n] = q.b1[l];
            a2s[n] = q.a2[l];
            b2s[n] = q.b2[l];
            last[n] = q.lastOsc2[l];
            pms[n] = q.pm[l];
        }
        for (int32_t j = 0; j < count; ++j)
        {
#pragma GCC unroll 8
            for (int32_t n = 0; n < kChains; ++n)
            {
                CLaneKernel& q = *kernels[n / kLaneCount];
                const VoiceConstants<Lanes>& c = q.constants;
                const SampleModulation<Lanes>& m = q.modulation[j];
                const int32_t l = n % kLaneCount;
                const int32_t h = l / 2;
                const int32_t i = l % 2;
                const double base1 = q.base1[j][h][i];
                const double phase1 =
                    kCrossFree ? base1 : Feedback(last[n], c.feedbackOfSquare[l], c.feedbackOfLinear[l]) + base1;
                const float first = Osc1::Compute(q.sine, phase1, m.amount1[l], c.ratio1.half[h][i], a1s[n], b1s[n]);
                const float pmOffset = pms[n].Process(Modulator(first, c.pmLinear[l], c.pmSquared[l]) * m.pmScale[l]);
                const double phase2 = (kCrossFree ? m.offset2[l] : pmOffset + m.offset2[l]) + q.base2[j][h][i];
                const float second = Osc2::Compute(q.sine, phase2, m.amount2[l], c.ratio2.half[h][i], a2s[n], b2s[n]);
                last[n] = second;
                q.out1At[j][l] = first;
                q.out2At[j][l] = second;
            }
        }
        for (int32_t n = 0; n < kChains; ++n)
        {
            CLaneKernel& q = *kernels[n / kLaneCount];
            const int32_t l = n % kLaneCount;
            q.a1[l] = a1s[n];
            q.b1[l] = b1s[n];
            q.a2[l] = a2s[n];
            q.b2[l] = b2s[n];
            q.lastOsc2[l] = last[n];
            q.pm[l] = pms[n];
        }
    }

    // True when no lane's oscillators reach each other.
    bool CrossFree() const
    {
        bool free = true;
        for (int32_t l = 0; l < kLaneCount; ++l)
            free = free && IsCrossFree(constants, l, pm[l].state);
        return free;
    }

    // True when every envelope of every lane holds its value through the
    // stretch and no LFO or noise is looked up: then the smoothers' targets
    // are the same in every sample.
    bool Holds() const
    {
        bool holds = !noiseUsed;
        for (bool used : lfoUsed)
            holds = holds && !used;
        for (const EnvelopeCursor<Lanes>& e : envelopes)
            holds = holds && e.Holds();
        return holds;
    }

    // ModulateAt for a stretch that Holds: the targets are worked out once.
    void ModulateHolding(const int32_t* from, int32_t count, Running& running)
    {
        const OscillatorTargets<Lanes> oscillators =
            TargetsOfOscillators(constants, running.envelopes[2].value, idleShares);
        const FilterTargets<Lanes> filters =
            TargetsOfFilter(constants, running.envelopes[0].value, running.envelopes[1].value, idleShares, Lanes{});
        for (int32_t j = 0; j < count; ++j)
        {
            AtPosition(from, j);
            SmoothOscillators(running.smoothers, oscillators, modulation[j]);
            SmoothFilter(constants, running.smoothers, filters, modulation[j]);
        }
        running.noiseIndex += static_cast<uint32_t>(count);
    }

    // What depends on the position alone at sample j of the stretch: the
    // oscillators' phases before feedback and the pan gains. Returns the
    // lanes' sample positions.
    [[gnu::always_inline]] Lanes AtPosition(const int32_t* from, int32_t j)
    {
        const LaneInts sampleAt = LaneInts{from[0], from[1], from[2], from[3]} + j;
        // Sample positions are small integers, exact in either precision.
        const Lanes position = __builtin_convertvector(sampleAt, Lanes);
        for (int32_t h = 0; h < kPairs; ++h)
        {
            const Pairs at = Widen(position, h);
            base1[j][h] = at * increment1.half[h] + phase1.half[h];
            base2[j][h] = at * increment2.half[h] + phase2.half[h];
        }
        toLeftAt[j] = gainLeft + position * slopeLeft;
        toRightAt[j] = gainRight + position * slopeRight;
        return position;
    }

    [[gnu::always_inline]] void ModulateAt(const int32_t* from, int32_t j, Running& running)
    {
        Lanes e[Voice::kModulatorCount];
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
            e[k] = running.envelopes[k].Next();

        const Lanes position = AtPosition(from, j);
        const Pairs at[kPairs] = {Widen(position, 0), Widen(position, 1)};
        Pairs lfoAt[Voice::kModulatorCount][kPairs];
        for (int32_t h = 0; h < kPairs; ++h)
            for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
                lfoAt[k][h] = at[h] * constants.lfoStep[k].half[h] + lfoPhase[k].half[h];
        // An LFO that no lane routes anywhere, or noise that no lane mixes in,
        // is not looked up: its values would be multiplied by zero, and its
        // shares are those of a zero.
        LfoShares<Lanes> shares = idleShares;
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
        {
            if (!lfoUsed[k])
                continue;
            const Pairs* entry = lfoAt[k];
            const LaneInts index = {LfoIndex(entry[0][0]), LfoIndex(entry[0][1]), LfoIndex(entry[1][0]),
                                    LfoIndex(entry[1][1])};
            const Lanes value = Gather(lfoTable[k], index);
            if (k == 0)
                shares.FromLfo1(constants, value);
            else if (k == 1)
                shares.FromLfo2(constants, value);
            else
                shares.FromLfo3(constants, value);
        }
        const Lanes noiseSample = noiseUsed ? Gather(noise, running.noiseIndex & EngineTables::kNoiseMask) : Lanes{};
        running.noiseIndex += 1;
        SmoothOscillators(running.smoothers, TargetsOfOscillators(constants, e[2], shares), modulation[j]);
        SmoothFilter(constants, running.smoothers, TargetsOfFilter(constants, e[0], e[1], shares, noiseSample),
                     modulation[j]);
    }

    [[gnu::always_inline]] void Sound(int32_t j, MStateVariableFilterOf<Lanes>& state,
                                      const MStateVariableFilterOf<Lanes>::Weights& blend)
    {
        const SampleModulation<Lanes>& m = modulation[j];
        const Lanes input = FilterInput(m.mix, out1At[j], out2At[j], m.noise);
        const Lanes out = state.Process(input, m.cutoff, m.damping, blend) * m.gain;
        toLeftAt[j] *= out;
        toRightAt[j] *= out;
    }

    // Adds the lanes of each sample into the buffer in lane order, four
    // samples at a time: the rows are turned into columns so that one vector
    // addition per lane serves four samples.
    static void AddLanes(const Lanes* rows, float* buffer, int32_t count)
    {
        int32_t j = 0;
        for (; j + kLaneCount <= count; j += kLaneCount)
        {
            const Lanes low01 = Shuffle<0, 4, 1, 5>(rows[j], rows[j + 1]);
            const Lanes low23 = Shuffle<0, 4, 1, 5>(rows[j + 2], rows[j + 3]);
            const Lanes high01 = Shuffle<2, 6, 3, 7>(rows[j], rows[j + 1]);
            const Lanes high23 = Shuffle<2, 6, 3, 7>(rows[j + 2], rows[j + 3]);
            Lanes sum = LoadLanes(buffer + j);
            sum += Shuffle<0, 1, 4, 5>(low01, low23);
            sum += Shuffle<2, 3, 6, 7>(low01, low23);
            sum += Shuffle<0, 1, 4, 5>(high01, high23);
            sum += Shuffle<2, 3, 6, 7>(high01, high23);
            StoreLanes(buffer + j, sum);
        }
        for (; j < count; ++j)
            for (int32_t l = 0; l < kLaneCount; ++l)
                buffer[j] += rows[j][l];
    }

    void LoadState(int32_t l, const Voice& v, const SubBlock& s)
    {
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
        {
            envelopes[k].Load(l, v.envelopes[k], s.stepping[k]);
            Put(lfoPhase[k], l, v.lfos[k].phase);
        }
        Put(phase1, l, kPhaseGuard + v.phase1);
        Put(increment1, l, v.increment1);
        Put(phase2, l, v.phase2);
        Put(increment2, l, v.increment2);
        a1[l] = v.state1a;
        b1[l] = v.state1b;
        a2[l] = v.state2a;
        b2[l] = v.state2b;
        lastOsc2[l] = static_cast<float>(v.lastOsc2);
        noiseIndex[l] = v.noiseIndex;
        Put(filter.low, l, v.filter.low);
        Put(filter.band, l, v.filter.band);
        Put(filter.high, l, v.filter.high);
        pm[l].state = v.pm.state;
        SmootherSet<LaneSmoother>::Each(smoothers, v,
                                        [l](LaneSmoother& ours, const Smoother& its) { ours.state[l] = its.state; });
        Put(gainLeft, l, s.gainLeft);
        Put(gainRight, l, s.gainRight);
        Put(slopeLeft, l, s.slopeLeft);
        Put(slopeRight, l, s.slopeRight);
    }

    void LoadConstants(int32_t l, const Voice& v, const SubBlock& s)
    {
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
            lfoTable[k][l] = v.lfos[k].table;
        pm[l] = v.pm;
        SmootherSet<LaneSmoother>::Each(smoothers, v,
                                        [l](LaneSmoother& ours, const Smoother& its)
                                        {
                                            ours.coefficient[l] = its.coefficient;
                                            ours.complement[l] = its.complement;
                                        });
        Put(weights.low, l, s.weights.low);
        Put(weights.band, l, s.weights.band);
        Put(weights.high, l, s.weights.high);
        constants.Load(l, v, s);
        const VoiceConstants<Lanes>& c = constants;
        for (int32_t k = 0; k < Voice::kModulatorCount; ++k)
            lfoUsed[k] = lfoUsed[k] || RoutesLfo(c, l, k);
        noiseUsed = noiseUsed || c.noiseLfo.times[l] != 0.0f || c.noiseLfo.plus[l] != 0.0f;
    }

    const float* sine;
    const float* noise;
    // What the first pass leaves for the second and third, per sample of the
    // stretch.
    Pairs base1[kMaxSubBlock][kPairs];  // oscillator phases before feedback
    Pairs base2[kMaxSubBlock][kPairs];
    SampleModulation<Lanes> modulation[kMaxSubBlock];
    Lanes toLeftAt[kMaxSubBlock];
    Lanes toRightAt[kMaxSubBlock];
    Lanes out1At[kMaxSubBlock];  // what the oscillator chains leave for the filter
    Lanes out2At[kMaxSubBlock];
    EnvelopeCursor<Lanes> envelopes[Voice::kModulatorCount];
    const float* lfoTable[Voice::kModulatorCount][kLaneCount];
    LaneDoubles lfoPhase[Voice::kModulatorCount];
    LaneDoubles phase1;  // with the guard that keeps table arguments positive
    LaneDoubles increment1;
    LaneDoubles phase2;
    LaneDoubles increment2;
    float a1[kLaneCount];
    float b1[kLaneCount];
    float a2[kLaneCount];
    float b2[kLaneCount];
    float lastOsc2[kLaneCount];
    LaneCounts noiseIndex;
    bool lfoUsed[Voice::kModulatorCount];  // by any lane
    bool noiseUsed;
    MStateVariableFilterOf<Lanes> filter;
    MStateVariableFilterOf<Lanes>::Weights weights;
    SmootherSet<LaneSmoother> smoothers;
    Smoother pm[kLaneCount];  // runs inside the oscillator chains
    VoiceConstants<Lanes> constants;
    LfoShares<Lanes> idleShares;
    Lanes gainLeft;
    Lanes gainRight;
    Lanes slopeLeft;
    Lanes slopeRight;
};

// Renders the voices of runs (kKernels times four, with the same waveforms)
// side by side, a stretch at a time, while all of them sound.
template <class Osc1, class Osc2, int32_t kKernels>
void RenderStretches(CVoiceRun* runs, Voice* const* voices, float* left, float* right)
{
    constexpr int32_t kSize = kKernels * kLaneCount;
    using Kernel = CLaneKernel<Osc1, Osc2>;
    const SubBlock* blocks[kSize];
    for (int32_t i = 0; i < kSize; ++i)
        blocks[i] = &runs[i].Sub();
    Kernel lanes[kKernels];
    Kernel* kernels[kKernels];
    for (int32_t k = 0; k < kKernels; ++k)
    {
        kernels[k] = &lanes[k];
        lanes[k].Prepare(voices + k * kLaneCount, blocks + k * kLaneCount);
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
            lanes[k].Start(voices + k * kLaneCount, blocks + k * kLaneCount);
            lanes[k].Modulate(from + k * kLaneCount, count);
        }
        Kernel::template Oscillate<kKernels>(kernels, count);
        for (int32_t k = 0; k < kKernels; ++k)
        {
            lanes[k].Finish(l, r, count);
            lanes[k].Store(voices + k * kLaneCount, blocks + k * kLaneCount);
        }
        for (int32_t i = 0; i < kSize; ++i)
            runs[i].Advance(count);
    }
}
