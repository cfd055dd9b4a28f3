#pragma once

#include "effects/Module.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// Ring buffer with a fixed distance between the write and the read position.
// Per sample the owner calls Read, then Write: Read returns the sample written
// exactly `delay` Writes earlier. Eleven guard samples lie beyond the longest
// delay so modulated readers may look ahead without leaving the buffer.
class MDelayLine : public Module
{
public:
    static constexpr int32_t kGuardSamples = 11;

    // Allocates delay + 11 zeroed floats, and span more past the ring's end
    // for ReadSpan and WriteSpan; call when the owner is built. A delay
    // below 1 is taken as 1.
    void Setup(int32_t delay, int32_t span = 0);

    void Reset() override;
    size_t MemorySize() const override;

    void Write(float value)
    {
        Ring()[writeIndex] = value;
        if (++writeIndex == size)
            writeIndex = 0;
    }

    float Read()
    {
        float value = Ring()[readIndex];
        if (++readIndex == size)
            readIndex = 0;
        return value;
    }

    // The block form of n Writes.
    void Write(const float* values, int32_t n);

    // The next n Reads (n up to the span) lie one after the other from the
    // pointer returned, past the ring's end where they would wrap: the ring's
    // start is copied there first. For an owner that loads whole vectors.
    const float* ReadSpan(int32_t n)
    {
        const float* from = Ring() + readIndex;
        const int32_t over = readIndex + n - size;
        if (over > 0)
            std::copy(Ring(), Ring() + over, Ring() + size);
        readIndex += n;
        if (readIndex >= size)
            readIndex -= size;
        return from;
    }
    // Where the next Writes go, one after the other, past the ring's end
    // where they would wrap; Wrote takes n of them (n up to the span) and
    // moves those past the end to the ring's start. Up to three more may be
    // written after them: they land in the guard, which no read reaches
    // before those places are written again, or past the ring.
    float* WriteSpan() { return Ring() + writeIndex; }
    void Wrote(int32_t n)
    {
        const int32_t over = writeIndex + n - size;
        if (over > 0)
            std::copy(Ring() + size, Ring() + size + over, Ring());
        writeIndex += n;
        if (writeIndex >= size)
            writeIndex -= size;
    }

    // The n samples up to the one written `distance` Writes before the latest
    // (0 = the latest), oldest first; distance is limited to 0..size - n.
    void Tap(int32_t distance, float* out, int32_t n) const;

    int32_t Size() const { return size; }
    int32_t Delay() const { return delay; }

protected:
    // Allocates a ring of `floats` zeroed floats with `margin` more on either
    // side and the span after that, and puts the write position at the start.
    void Allocate(int32_t floats, int32_t margin = 0);

    // Ring()[i], 0 <= i < size, is the ring; the margins lie beyond.
    float* Ring() { return buffer.data() + margin; }
    const float* Ring() const { return buffer.data() + margin; }

    std::vector<float> buffer;
    int32_t size = 0;
    int32_t margin = 0;
    int32_t writeIndex = 0;
    int32_t span = 0;

private:
    int32_t readIndex = 0;
    int32_t delay = 0;
};
