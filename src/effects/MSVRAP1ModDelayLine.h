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
    // Inline: the reverb calls it six times a sample.
    float Tick() override;

private:
    const float* sine;
    double lfoPhase = 0.0;
    double lfoIncrement = 0.0;
    float previousOutput = 0.0f;
};

inline float MSVRAP1ModDelayLine::Tick()
{
    const int32_t index = static_cast<int32_t>(lfoPhase * EngineTables::kSineSize) & EngineTables::kSineMask;
    lfoPhase += lfoIncrement;
    if (lfoPhase >= 1.0)
        lfoPhase -= 1.0;

    const float position = readPosition + static_cast<float>(Depth()) * sine[index];
    readPosition += 1.0f;
    if (readPosition >= static_cast<float>(size))
        readPosition -= static_cast<float>(size);

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
    const float y = FlushTiny(buffer[i] + fraction * (buffer[next] - previousOutput));
    previousOutput = y;
    return y;
}
