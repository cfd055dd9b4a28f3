#include "effects/MDelayLine.h"

#include <algorithm>

void MDelayLine::Setup(int32_t newDelay)
{
    newDelay = std::max(newDelay, 1);
    delay = newDelay;
    Allocate(newDelay + kGuardSamples);
    readIndex = size - newDelay;
}

void MDelayLine::Allocate(int32_t floats)
{
    size = floats;
    buffer.assign(static_cast<size_t>(floats), 0.0f);
    writeIndex = 0;
}

void MDelayLine::Reset()
{
    std::fill(buffer.begin(), buffer.end(), 0.0f);
}

size_t MDelayLine::MemorySize() const
{
    return static_cast<size_t>(size) * sizeof(float);
}
