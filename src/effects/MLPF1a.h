#pragma once

#include "effects/EffectMath.h"
#include "effects/Module.h"
#include "engine/Lanes.h"

#include <cstdint>

// FlushTiny lane by lane.
inline Lanes FlushLanes(Lanes value)
{
    const LaneInts bits = reinterpret_cast<LaneInts>(value);
    const Lanes magnitude = reinterpret_cast<Lanes>(bits & INT32_MAX);
    return reinterpret_cast<Lanes>(bits & ~(magnitude < kFlushThreshold));
}

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

    // Filters n samples in place; outputs below the flush threshold become 0,
    // and so does the memory, for a feedback path that must not go denormal.
    void ProcessFlushed(float* samples, int32_t n)
    {
        // Locals: the samples may not alias the members for the compiler.
        const float g = gain;
        const float c = coefficient;
        float memory = state;
        for (int32_t s = 0; s < n; ++s)
        {
            memory = FlushTiny(g * samples[s] - c * memory);
            samples[s] = memory;
        }
        state = memory;
    }

    // Replaces the state, used by owners that flush tiny outputs.
    void SetState(float value) { state = value; }

    float State() const { return state; }
    float Gain() const { return gain; }
    float Coefficient() const { return coefficient; }

private:
    float state = 0.0f;
    float gain = 0.0f;
    float coefficient = 0.0f;
};
