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

void MModDelayLine::SetSpan(int32_t floats)
{
    span = std::max(floats, 0);
    Rebuild();
}

void MModDelayLine::Rebuild()
{
    Allocate(baseDelay + depth + kGuardSamples, depth + 1);
    readPosition = static_cast<float>(size - baseDelay);
    if (readPosition >= static_cast<float>(size))
        readPosition -= static_cast<float>(size);
}

void MModDelayLine::MirrorMargins()
{
    float* ring = Ring();
    std::copy(ring + size - margin, ring + size, ring - margin);
    std::copy(ring, ring + margin, ring + size);
}
