#include "effects/MModDelayLine.h"

#include <algorithm>

void MModDelayLine::SetBaseDelay(int32_t samples)
{
    baseDelay = std::max(samples, 0);
    Rebuild();
}

void MModDelayLine::SetDepth(int32_t samples)
{
    depth = std::max(samples, 0);
    Rebuild();
}

void MModDelayLine::Rebuild()
{
    Allocate(baseDelay + depth + kGuardSamples);
    readPosition = static_cast<float>(size - baseDelay);
    if (readPosition >= static_cast<float>(size))
        readPosition -= static_cast<float>(size);
}
