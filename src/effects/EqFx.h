#pragma once

#include "effects/EffectMath.h"
#include "engine/Lanes.h"

#include <cstdint>

// State of the equaliser: two cascades of four one-pole low-passes (low and
// high crossover) and the last three inputs. T is double for one channel, or
// a vector of both channels side by side.
template <typename T>
struct EqState
{
    T lf;              // low-band coefficient, 2 sin(pi f / rate)
    T p1, p2, p3, p4;  // low cascade
    T hf;              // high-band coefficient
    T q1, q2, q3, q4;  // high cascade
    T x1, x2, x3;      // input history, x3 the oldest
};
using EqBandState = EqState<double>;

// The gains of one block, as the equaliser's samples use them.
struct EqMix
{
    double low, mid, high, output;
    double wet, dry;
};

// Keeps the cascades out of the denormal range: about 1 / (2^32 - 1).
constexpr double kEqAntiDenormal = 2.3283064370807974e-10;

// One sample through the state; returns the output.
template <typename T>
T EqStep(EqState<T>& z, T x, const EqMix& g)
{
    z.p1 = z.p1 + z.lf * (x - z.p1) + kEqAntiDenormal;
    z.p2 += z.lf * (z.p1 - z.p2);
    z.p3 += z.lf * (z.p2 - z.p3);
    z.p4 += z.lf * (z.p3 - z.p4);
    const T l = z.p4;
    z.q1 = z.q1 + z.hf * (x - z.q1) + kEqAntiDenormal;
    z.q2 += z.hf * (z.q1 - z.q2);
    z.q3 += z.hf * (z.q2 - z.q3);
    z.q4 += z.hf * (z.q3 - z.q4);
    const T h = z.x3 - z.q4;
    const T m = z.x3 - (h + l);
    z.x3 = z.x2;
    z.x2 = z.x1;
    z.x1 = x;
    return (m * g.mid + l * g.low + h * g.high) * g.wet * g.output + g.dry * x;
}

// Three-band equaliser: the input splits into low, mid and high bands at two
// crossover frequencies; each band has its own gain, then an output gain. The
// bands are aligned to the input delayed by three samples; the dry part uses
// the undelayed input.
class EqFx
{
public:
    EqFx();

    // Stores the rate, clears both channel states and recomputes the
    // coefficients. rate must be positive.
    void SetSampleRate(float rate);
    void SetLevel(float level);  // 0..1
    // Band and output gains in percent, 0..200.
    void SetGains(int32_t low, int32_t mid, int32_t high, int32_t output);
    // Crossovers in Hz: low 20..2000, high 800..10000. Each is further kept
    // at or below a quarter of the rate, where the cascades stay tame.
    void SetFrequencies(int32_t lowHz, int32_t highHz);
    // Recomputes lf and hf of both channel states from the frequencies.
    void UpdateCoefficients();

    // Clears both channels' filter memories; coefficients and settings stay.
    void Reset();
    // Both buffers in place.
    void Process(float* left, float* right, int32_t n);
    // The equaliser's output straight into next (a stage whose Lanes
    // Next(Lanes) takes both channels in lanes 0 and 1), a sample at a time
    // in one loop, both buffers in place: for an owner whose next stage
    // waits on its own recursion, which the equaliser's work then fills.
    template <class Stage>
    void ProcessInto(Stage& next, float* left, float* right, int32_t n);

    // The two loops ProcessInto chooses from; they give the same bits. The
    // wide one, built for AVX, holds the low and high cascades of both
    // channels in one vector of four doubles, which halves the cascades'
    // operations.
    template <class Stage>
    void ProcessNarrowInto(Stage& next, float* left, float* right, int32_t n);
#ifdef VELMORA_WIDE_VECTORS
    template <class Stage>
    [[gnu::target("avx")]] void ProcessWideInto(Stage& next, float* left, float* right, int32_t n);
#endif

    // True when both channels have settled in silence: silent blocks then
    // repeat the last output instead of running the cascades.
    bool IsSettled() const;
    // True when Process repeats the last output over these samples.
    bool Repeats(const float* left, const float* right, int32_t n) const;

private:
    // The plain loop's state for one block, a sample a call: construct,
    // call Next once a sample, then End.
    class Block;

    EqMix Mix() const;
    // Both channels side by side, so that each step runs once for both: lane
    // 0 left, lane 1 right; and one channel back from them.
    static EqState<Pairs> Join(const EqBandState& left, const EqBandState& right);
    static EqBandState Lane(const EqState<Pairs>& both, int32_t channel);
    // True when a step of silence leaves the state as it is; out is that
    // step's output, which every further silent step repeats.
    static bool Settled(const EqBandState& state, const EqMix& mix, float& out);

    EqBandState left{};
    EqBandState right{};
    bool wide = WideVectorsRun();
    float sampleRate = 44100.0f;
    float level = 0.0f;
    int32_t lowGain = 100;
    int32_t midGain = 100;
    int32_t highGain = 100;
    int32_t outputGain = 100;
    int32_t lowFrequency = 880;
    int32_t highFrequency = 5000;
    // What lf and hf were last computed from.
    int32_t coefficientLow = 0;
    int32_t coefficientHigh = 0;
    float coefficientRate = 0.0f;
};

class EqFx::Block
{
public:
    explicit Block(EqFx& eq) : fx(eq), mix(eq.Mix()), state(Join(eq.left, eq.right)) {}

    // in: the stereo input in lanes 0 and 1; returns the output likewise.
    Lanes Next(Lanes in) { return NarrowPair(EqStep(state, Pairs{in[0], in[1]}, mix)); }

    void End()
    {
        fx.left = Lane(state, 0);
        fx.right = Lane(state, 1);
    }

private:
    EqFx& fx;
    const EqMix mix;
    EqState<Pairs> state;
};

template <class Stage>
void EqFx::ProcessInto(Stage& next, float* leftSamples, float* rightSamples, int32_t n)
{
#ifdef VELMORA_WIDE_VECTORS
    if (wide)
    {
        ProcessWideInto(next, leftSamples, rightSamples, n);
        return;
    }
#endif
    ProcessNarrowInto(next, leftSamples, rightSamples, n);
}

template <class Stage>
void EqFx::ProcessNarrowInto(Stage& next, float* leftSamples, float* rightSamples, int32_t n)
{
    Block block(*this);
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes out = next.Next(block.Next(StereoLanes(leftSamples[s], rightSamples[s])));
        leftSamples[s] = out[0];
        rightSamples[s] = out[1];
    }
    block.End();
}

#ifdef VELMORA_WIDE_VECTORS
template <class Stage>
void EqFx::ProcessWideInto(Stage& next, float* leftSamples, float* rightSamples, int32_t n)
{
    // Lanes: low left, low right, high left, high right. Each lane runs the
    // operations of EqStep in its order.
    using Quads = double __attribute__((vector_size(32)));
    const EqMix g = Mix();
    const Quads f{left.lf, right.lf, left.hf, right.hf};
    Quads c1{left.p1, right.p1, left.q1, right.q1};
    Quads c2{left.p2, right.p2, left.q2, right.q2};
    Quads c3{left.p3, right.p3, left.q3, right.q3};
    Quads c4{left.p4, right.p4, left.q4, right.q4};
    Pairs x1{left.x1, right.x1};
    Pairs x2{left.x2, right.x2};
    Pairs x3{left.x3, right.x3};
    for (int32_t s = 0; s < n; ++s)
    {
        const Pairs x{leftSamples[s], rightSamples[s]};
        const Quads both = __builtin_shufflevector(x, x, 0, 1, 0, 1);
        c1 = c1 + f * (both - c1) + kEqAntiDenormal;
        c2 += f * (c1 - c2);
        c3 += f * (c2 - c3);
        c4 += f * (c3 - c4);
        const Pairs l = __builtin_shufflevector(c4, c4, 0, 1);
        const Pairs h = x3 - __builtin_shufflevector(c4, c4, 2, 3);
        const Pairs m = x3 - (h + l);
        x3 = x2;
        x2 = x1;
        x1 = x;
        const Lanes out = next.Next(NarrowPair((m * g.mid + l * g.low + h * g.high) * g.wet * g.output + g.dry * x));
        leftSamples[s] = out[0];
        rightSamples[s] = out[1];
    }
    left = {left.lf, c1[0], c2[0], c3[0], c4[0], left.hf, c1[2], c2[2], c3[2], c4[2], x1[0], x2[0], x3[0]};
    right = {right.lf, c1[1], c2[1], c3[1], c4[1], right.hf, c1[3], c2[3], c3[3], c4[3], x1[1], x2[1], x3[1]};
}
#endif
