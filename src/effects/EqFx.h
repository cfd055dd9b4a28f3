#pragma once

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

private:
    EqMix Mix() const;
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
