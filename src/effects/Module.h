#pragma once

#include <cstddef>

// Base of the sample-processing blocks the reverb is built from. Blocks are
// set up once when their owner is built; afterwards nothing allocates.
class Module
{
public:
    virtual ~Module() = default;

    // Clears all state; the base holds none.
    virtual void Reset() {}
    // Bytes of sample memory the block holds.
    virtual size_t MemorySize() const { return 0; }
};
