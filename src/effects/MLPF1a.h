#pragma once

#include "effects/Module.h"

// One-pole low-pass: y = gain * x - coefficient * state. With
// gain = (1 - a) * g and coefficient = -a it has pole a and DC gain g.
class MLPF1a final : public Module
{
public:
    void Reset() override { state = 0.0f; }

    void SetCoefficients(float newGain, float newCoefficient)
    {
        gain = newGain;
        coefficient = newCoefficient;
    }

    float Process(float x)
    {
        state = gain * x - coefficient * state;
        return state;
    }

    // Replaces the state, used by owners that flush tiny outputs.
    void SetState(float value) { state = value; }

    float Gain() const { return gain; }
    float Coefficient() const { return coefficient; }

private:
    float state = 0.0f;
    float gain = 0.0f;
    float coefficient = 0.0f;
};
