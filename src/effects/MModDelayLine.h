#pragma once

#include "effects/MDelayLine.h"

#include <cstdint>

// Delay line whose read position moves around a base delay by up to `depth`
// samples. The buffer holds base delay + depth + 11 guard samples, so the
// moving read never meets the write position. The owner calls Tick for a
// block, then writes as many samples: no read comes closer than
// base delay - depth - 1 samples to the write position, so a block of at
// most that many reads only samples written before it.
class MModDelayLine : public MDelayLine
{
public:
    // Any may be set first; each re-allocates with the others' current
    // values. Call only while the owner is built. Negative values count as 0.
    void SetBaseDelay(int32_t samples);
    void SetDepth(int32_t samples);
    // Room past the far margin for WriteSpan.
    void SetSpan(int32_t floats);

    // Next n output samples; advances the read position.
    virtual void Tick(float* out, int32_t n) = 0;

    int32_t BaseDelay() const { return baseDelay; }
    int32_t Depth() const { return depth; }

protected:
    // The margins, depth + 1 samples, repeat the ring's other end, so reads
    // from Ring() - depth to Ring() + size + depth need no wrap; refresh
    // them before reading.
    void MirrorMargins();

    float readPosition = 0.0f;  // 0 <= readPosition < size

private:
    void Rebuild();

    int32_t depth = 0;
    int32_t baseDelay = 0;
};
