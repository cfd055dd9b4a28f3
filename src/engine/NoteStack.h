#pragma once

#include <cstdint>

// The held notes of mono play as packed MIDI events, oldest at the bottom.
// Holds at most 128; a push beyond that is not recorded.
class NoteStack
{
public:
    static constexpr int32_t kCapacity = 128;

    int32_t Count() const { return count; }
    bool Empty() const { return count == 0; }
    // The newest event; only when not empty.
    uint32_t Top() const { return events[count - 1]; }
    uint32_t At(int32_t index) const { return events[index]; }

    // Returns false when the stack is full and the event was not recorded.
    bool Push(uint32_t event);

    void Clear() { count = 0; }

    // Removes the oldest entry of note (only that one); false when none.
    bool Remove(int32_t note);

private:
    uint32_t events[kCapacity] = {};
    int32_t count = 0;
};

// The note number (first data byte) of a packed event.
inline int32_t EventNote(uint32_t event)
{
    return static_cast<int32_t>((event >> 8) & 0x7F);
}

// The velocity (second data byte) of a packed event.
inline int32_t EventVelocity(uint32_t event)
{
    return static_cast<int32_t>((event >> 16) & 0x7F);
}
