#pragma once

// A fuzz target's check: stops the run at once where the code under test
// broke a promise, so that libFuzzer keeps the input.
inline void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}
