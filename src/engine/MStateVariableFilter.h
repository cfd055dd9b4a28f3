#pragma once

#include <cstdint>

// Two-pole state-variable filter whose low-, band- and high-pass outputs are
// blended. f is the frequency coefficient (0..1, used directly), d the
// damping (0.02..1); with both in those ranges the filter is stable.
struct MStateVariableFilter
{
    // Output weights of the three taps for one block.
    struct Weights
    {
        float low;
        float band;
        float high;
    };

    float low;
    float band;
    float high;

    void Reset() { low = band = high = 0.0f; }

    // blend 0 low-pass, 0.5 band-pass, 1 high-pass, crossfading linearly
    // between neighbours; clamped to 0..1.
    static Weights BlendWeights(float blend);

    // Resonance 0..1 to damping. With compensate set, the resonance is eased
    // off below f = 0.16 (three quarters of it at f = 0).
    static float Damping(float resonance, float f, int32_t compensate)
    {
        const float eased = (resonance * f * 6.25f + resonance * 3.0f) * 0.25f;
        const float r = compensate && f < kCompensateBelow ? eased : resonance;
        return 1.0f - kResonanceScale * r;
    }

    float Process(float x, float f, float d, const Weights& w)
    {
        low = low + f * band;
        high = x - low - d * band;
        band = band + f * high;
        return low * w.low + band * w.band + high * w.high;
    }

    // Feedback state below 1e-10 goes to exactly 0, so silence never decays
    // into denormals.
    void FlushDenormals();

private:
    static constexpr float kCompensateBelow = 0.16f;
    // Full resonance leaves a damping of 0.02: the filter rings but does not
    // oscillate on its own.
    static constexpr float kResonanceScale = 0.98f;
};
