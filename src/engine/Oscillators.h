#pragma once

#include "engine/EngineTables.h"

#include <cstdint>

// The oscillator waveforms. Every one is built from the shared sine table by
// phase modulation: Compute takes the phase in cycles, the shape amount
// (0..1), the frequency ratio of the modulating sine and two values of
// per-voice memory, and returns one sample in -1..1. The waveforms hold no
// state; the render picks one pair per sub-block and loops over it, so no
// call per sample is dispatched at run time.

// One cycle spans 65535 table steps. phase must not be negative (callers add
// 32 cycles); the index wraps.
inline float SineLookup(const float* sine, double phase)
{
    return sine[static_cast<int64_t>(phase * 65535.0) & EngineTables::kSineMask];
}

// Self-feedback amount of the waveforms (the single-precision 0.2, widened).
constexpr double kOscFeedback = static_cast<double>(0.2f);

// Silence: waveform numbers 5..15.
struct COSC
{
    static float Compute(const float*, double, float, double, float&, float&) { return 0.0f; }
};

// "SAW": a sine with self-feedback; amount 0 is a pure sine, more bends it
// towards a sawtooth.
struct CSawOSC
{
    static float Compute(const float* sine, double phase, float amount, double, float& a, float&)
    {
        const float y = SineLookup(sine, phase + amount * kOscFeedback * a);
        a = y;
        return y;
    }
};

// "SQUARE": feedback through the squared previous sample.
struct CSquareOSC
{
    static float Compute(const float* sine, double phase, float amount, double, float& a, float&)
    {
        const float y = SineLookup(sine, phase + (a * a * amount) * kOscFeedback);
        a = y;
        return y;
    }
};

// "PULSE": two self-fed sines offset by 0.05 + 0.45 amount cycles; amount is
// the pulse width.
struct CPWMOSC
{
    static float Compute(const float* sine, double phase, float amount, double, float& a, float& b)
    {
        const float p = SineLookup(sine, phase + a * kOscFeedback);
        a = p;
        const float q = SineLookup(sine, phase + b * kOscFeedback + 0.05 + amount * 0.45f);
        b = q;
        return (p - q) * 0.5f;
    }
};

// "PM": a sine modulated by a sine at ratio times the frequency; amount is
// the modulation index in cycles.
struct CPMOSC
{
    static float Compute(const float* sine, double phase, float amount, double ratio, float& a, float& b)
    {
        const float m = SineLookup(sine, phase * ratio);
        a = m;
        const float y = SineLookup(sine, phase + m * amount);
        b = y;
        return y;
    }
};

// "SAW2": two self-fed sines, the first at ratio times the frequency, the
// second offset by half the amount in cycles.
struct CSAWPHSOSC
{
    static float Compute(const float* sine, double phase, float amount, double ratio, float& a, float& b)
    {
        const float p = SineLookup(sine, phase * ratio + a * kOscFeedback);
        a = p;
        const float q = SineLookup(sine, phase + b * kOscFeedback + amount * 0.5f);
        b = q;
        return (p + q) * 0.5f;
    }
};

// The waveform kinds in the order of their numbers; kSilent stands for COSC.
enum OscWave : int32_t
{
    kOscSaw = 0,
    kOscSquare,
    kOscPulse,
    kOscPm,
    kOscSaw2,
    kOscSilent,
    kOscWaveCount
};

// The waveform of a program's wave1/wave2 number: 0..4 as listed, 5..15
// silent, and any other number (only a corrupt record holds one) silent too.
OscWave OscTable(int32_t wave);
