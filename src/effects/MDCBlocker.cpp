#include "effects/MDCBlocker.h"

#include "effects/EffectMath.h"
#include "engine/StableMath.h"

#include <cmath>

MDCBlocker::MDCBlocker()
{
    SetSampleRate(44100.0f);
}

void MDCBlocker::SetSampleRate(float rate)
{
    pole = static_cast<float>(StableExp(-2.0 * kPi * kCornerHz / rate));
    gain = 0.5f * (1.0f + pole);
}

void MDCBlocker::Reset()
{
    lastInput = 0.0f;
    lastOutput = 0.0f;
}

void MDCBlocker::Process(float* samples, int32_t n)
{
    float x1 = lastInput;
    float y1 = lastOutput;
    for (int32_t i = 0; i < n; ++i)
    {
        const float x = samples[i];
        // The output feeds back: flushed, so a decaying offset ends in exact zero.
        y1 = FlushTiny(gain * (x - x1) + pole * y1);
        x1 = x;
        samples[i] = y1;
    }
    lastInput = x1;
    lastOutput = y1;
}
