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
