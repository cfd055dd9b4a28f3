#include "effects/MSinOsc.h"
#include "effects/EffectMath.h"
#include "engine/StableMath.h"

#include <cmath>

void MSinOsc::Setup(float frequencyHz, float sampleRate, float startDegrees)
{
    frequency = frequencyHz;
    const double w = 2.0 * kPi * frequencyHz / sampleRate;
    const double phi = startDegrees * 2.0 * kPi / 360.0;
    k = 2.0 * StableCos(w);
    y1 = StableSin(phi - w);
    y = StableSin(phi);
    c = StableSin(kPi / 2.0 - w);
}

float MSinOsc::Tick()
{
    const double v = y * k - y1;
    if (v >= 1.0)
    {
        y1 = c;
        y = 1.0;
        return 1.0f;
    }
    if (v <= -1.0)
    {
        y1 = -c;
        y = -1.0;
        return -1.0f;
    }
    y1 = y;
    y = v;
    return static_cast<float>(v);
}
