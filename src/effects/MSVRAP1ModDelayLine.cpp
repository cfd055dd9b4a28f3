#include "effects/MSVRAP1ModDelayLine.h"

#include <cmath>

MSVRAP1ModDelayLine::MSVRAP1ModDelayLine() : sine(EngineTables::Get().sine)
{
}

void MSVRAP1ModDelayLine::SetLfo(double startPhase, double increment)
{
    lfoPhase = startPhase - std::floor(startPhase);
    lfoIncrement = increment;
}

void MSVRAP1ModDelayLine::Reset()
{
    MModDelayLine::Reset();
    previousOutput = 0.0f;
}

void MSVRAP1ModDelayLine::Tick(float* out, int32_t n)
{
    MSVRAP1ModDelayLine* const self[] = {this};
    SideBySide<1> line(self);
    for (int32_t s = 0; s < n; ++s)
        out[s] = line.Next()[0];
    line.Store();
}
