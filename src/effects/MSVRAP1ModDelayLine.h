#pragma once

#include "effects/EffectMath.h"
#include "effects/MModDelayLine.h"
#include "engine/EngineTables.h"

#include <cmath>

// Modulated delay line whose read position follows a sine LFO from
// the engine's sine table (no interpolation of the table), read with first-order
// allpass-style interpolation whose coefficient is the plain fraction.
class MSVRAP1ModDelayLine final : public MModDelayLine
{
public:
    MSVRAP1ModDelayLine();

    // LFO start phase and increment, both in cycles (per sample).
    void SetLfo(double startPhase, double increment);

    void Reset() override;
    // Inline: the reverb's inner loop.
    void Tick(float* out, int32_t n) override;

private:
    const float* sine;
    double lfoPhase = 0.0;
    double lfoIncrement = 0.0;
    float previousOutput = 0.0f;
};

inline void MSVRAP1ModDelayLine::Tick(float* out, int32_t n)
{
    // The loop runs on locals: out may not alias the members for the compiler.
    double phase = lfoPhase;
    float read = readPosition;
    float previous = previousOutput;
    const float depth = static_cast<float>(Depth());
    const float length = static_cast<float>(size);
    const double increment = lfoIncrement;
    const float* table = sine;
    const float* samples = buffer.data();
    for (int32_t s = 0; s < n; ++s)
    {
        const int32_t index = static_cast<int32_t>(phase * EngineTables::kSineSize) & EngineTables::kSineMask;
        phase += increment;
        if (phase >= 1.0)
            phase -= 1.0;

        const float position = read + depth * table[index];
        read += 1.0f;
        if (read >= length)
            read -= length;

        // floor (the position lies well inside the 32-bit range, where
        // truncation stepped down below zero is exact), then wrap once: the
        // excursion is never larger than the buffer.
        int32_t i = static_cast<int32_t>(position);
        i -= static_cast<float>(i) > position ? 1 : 0;
        const float fraction = position - static_cast<float>(i);
        if (i < 0)
            i += size;
        else if (i >= size)
            i -= size;
        const int32_t next = i + 1 == size ? 0 : i + 1;

        // The interpolation memory is a feedback path: flush it like the others.
        previous = FlushTiny(samples[i] + fraction * (samples[next] - previous));
        out[s] = previous;
    }
    lfoPhase = phase;
    readPosition = read;
    previousOutput = previous;
}
