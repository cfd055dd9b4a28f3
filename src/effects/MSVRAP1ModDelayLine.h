#pragma once

#include "effects/MModDelayLine.h"

// Modulated delay line whose read position follows a sine LFO from
// ModuleSineTable (no interpolation of the table), read with first-order
// allpass-style interpolation whose coefficient is the plain fraction.
class MSVRAP1ModDelayLine final : public MModDelayLine
{
public:
    MSVRAP1ModDelayLine();

    // LFO start phase and increment, both in cycles (per sample).
    void SetLfo(double startPhase, double increment);

    void Reset() override;
    float Tick() override;

private:
    const float* sine;
    double lfoPhase = 0.0;
    double lfoIncrement = 0.0;
    float previousOutput = 0.0f;
};
