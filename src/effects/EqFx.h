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

    // True when both channels have settled in silence: silent blocks then
    // repeat the last output instead of running the cascades.
    bool IsSettled() const;
    // True when Process repeats the last output over these samples.
    bool Repeats(const float* left, const float* right, int32_t n) const;

    // One block a sample a call, as Process runs it when it does not repeat
    // the last output: for an owner that runs the next stage's samples in
    // the same loop. Construct, call Next once a sample, then End.
    class Block;

private:
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
