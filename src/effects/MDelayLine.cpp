#include "effects/MDelayLine.h"

#include <algorithm>
#include <cstring>

void MDelayLine::Setup(int32_t newDelay, int32_t newSpan)
{
    newDelay = std::max(newDelay, 1);
    delay = newDelay;
    span = std::max(newSpan, 0);
    Allocate(newDelay + kGuardSamples);
    readIndex = size - newDelay;
}

void MDelayLine::Allocate(int32_t floats, int32_t newMargin)
{
    size = floats;
    margin = newMargin;
    buffer.assign(static_cast<size_t>(floats + 2 * newMargin + span), 0.0f);
    writeIndex = 0;
}

void MDelayLine::Reset()
{
    std::fill(buffer.begin(), buffer.end(), 0.0f);
}

size_t MDelayLine::MemorySize() const
{
    return buffer.size() * sizeof(float);
}

void MDelayLine::Write(const float* values, int32_t n)
{
    while (n > 0)
    {
        const int32_t run = std::min(n, size - writeIndex);
        std::memcpy(Ring() + writeIndex, values, sizeof(float) * static_cast<size_t>(run));
        values += run;
        n -= run;
        writeIndex += run;
        if (writeIndex == size)
            writeIndex = 0;
    }
}

void MDelayLine::Tap(int32_t distance, float* out, int32_t n) const
{
    distance = std::clamp(distance, 0, size - n);
    int32_t index = writeIndex - distance - n;
    if (index < 0)
        index += size;
    const int32_t run = std::min(n, size - index);
    std::memcpy(out, Ring() + index, sizeof(float) * static_cast<size_t>(run));
    std::memcpy(out + run, Ring(), sizeof(float) * static_cast<size_t>(n - run));
}
