#include "effects/MSinOsc.h"

#include <cmath>

void MSinOsc::Setup(float frequencyHz, float sampleRate, float startDegrees)
{
    frequency = frequencyHz;
    const double w = 2.0 * M_PI * frequencyHz / sampleRate;
    const double phi = startDegrees * 2.0 * M_PI / 360.0;
    k = 2.0 * std::cos(w);
    y1 = std::sin(phi - w);
    y = std::sin(phi);
    c = std::sin(M_PI / 2.0 - w);
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
