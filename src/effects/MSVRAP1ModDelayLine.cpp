#include "effects/MSVRAP1ModDelayLine.h"

#include <algorithm>
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
    // The one-line form of the side-by-side tick, a stack chunk at a time.
    constexpr int32_t kChunk = 64;
    MSVRAP1ModDelayLine* const self[] = {this};
    Lanes chunk[kChunk];
    for (int32_t done = 0; done < n; done += kChunk)
    {
        const int32_t count = std::min(kChunk, n - done);
        TickSideBySide<1>(self, chunk, count);
        for (int32_t s = 0; s < count; ++s)
            out[done + s] = chunk[s][0];
    }
}
