#pragma once

#include "effects/MDelayLine.h"

#include <cstdint>

// Delay line whose read position moves around a base delay by up to `depth`
// samples. The buffer holds base delay + depth + 11 guard samples, so the
// moving read never meets the write position. Per sample the owner calls
// Tick, then Write.
class MModDelayLine : public MDelayLine
{
public:
    // Either may be set first; each re-allocates with the other's current
    // value. Call only while the owner is built. Negative values count as 0.
    void SetBaseDelay(int32_t samples);
    void SetDepth(int32_t samples);

    // Next output sample; advances the read position.
    virtual float Tick() = 0;

    int32_t BaseDelay() const { return baseDelay; }
    int32_t Depth() const { return depth; }

protected:
    float readPosition = 0.0f;  // 0 <= readPosition < size

private:
    void Rebuild();

    int32_t depth = 0;
    int32_t baseDelay = 0;
};
