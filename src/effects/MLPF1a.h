#pragma once

#include "effects/EffectMath.h"
#include "effects/Module.h"
#include "engine/Lanes.h"

#include <cstdint>

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

    float State() const { return state; }
    float Gain() const { return gain; }
    float Coefficient() const { return coefficient; }

private:
    float state = 0.0f;
    float gain = 0.0f;
    float coefficient = 0.0f;
};

// Four filters side by side, one a lane, for a feedback path that must not
// go denormal: outputs below the flush threshold become 0, and so does the
// memory.
class MLPF1aLanes
{
public:
    explicit MLPF1aLanes(const MLPF1a* filters)
    {
        for (int32_t l = 0; l < kLaneCount; ++l)
        {
            gain[l] = filters[l].Gain();
            coefficient[l] = filters[l].Coefficient();
            memory[l] = filters[l].State();
        }
    }

    Lanes ProcessFlushed(Lanes x)
    {
        memory = FlushTiny(gain * x - coefficient * memory);
        return memory;
    }

    // Hands the memories back to the filters.
    void Store(MLPF1a* filters) const
    {
        for (int32_t l = 0; l < kLaneCount; ++l)
            filters[l].SetState(memory[l]);
    }

private:
    Lanes gain = {};
    Lanes coefficient = {};
    Lanes memory = {};
};
