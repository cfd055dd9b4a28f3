#pragma once

#include "engine/DspMath.h"

#include <cstdint>

// Two-pole state-variable filter whose low-, band- and high-pass outputs are
// blended. f is the frequency coefficient (0..1, used directly), d the
// damping (0.02..1); with both in those ranges the filter is stable. T is
// float for one voice, or a vector of floats for voices side by side (one
// voice a lane); both run the same arithmetic.
template <class T>
struct MStateVariableFilterOf
{
    // Output weights of the three taps for one block.
    struct Weights
    {
        T low;
        T band;
        T high;
    };

    T low;
    T band;
    T high;

    void Reset() { low = band = high = T{}; }

    // blend 0 low-pass, 0.5 band-pass, 1 high-pass, crossfading linearly
    // between neighbours; clamped to 0..1.
    static Weights BlendWeights(float blend);

    // Resonance 0..1 to damping. Where compensate is non-zero, the resonance
    // is eased off below f = 0.16 (three quarters of it at f = 0). Mask is an
    // integer, or a vector of them beside a vector T.
    template <class Mask>
    static T Damping(T resonance, T f, Mask compensate)
    {
        const T eased = (resonance * f * 6.25f + resonance * 3.0f) * 0.25f;
        const auto easeOff = (f < kCompensateBelow) & (compensate != 0);
        const T r = easeOff ? eased : resonance;
        return 1.0f - kResonanceScale * r;
    }

    T Process(T x, T f, T d, const Weights& w)
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

using MStateVariableFilter = MStateVariableFilterOf<float>;

template <>
MStateVariableFilter::Weights MStateVariableFilter::BlendWeights(float blend);

template <>
inline void MStateVariableFilter::FlushDenormals()
{
    low = FlushTiny(low);
    band = FlushTiny(band);
    high = FlushTiny(high);
}
