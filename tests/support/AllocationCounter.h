#pragma once

#include <cstdint>

// Counts the heap allocations of the test binary AllocationCounter.cpp is
// compiled into: it replaces the global operator new family and, on glibc
// builds without AddressSanitizer (which owns malloc itself), malloc, calloc
// and realloc too. Such a binary should hold nothing else that minds.
class CAllocationWindow
{
public:
    // Starts counting from zero.
    CAllocationWindow();
    ~CAllocationWindow();

    // Stops counting and returns the allocations seen.
    int64_t Stop();

    // Whether plain malloc calls are counted as well.
    static bool CountsMalloc();
};
