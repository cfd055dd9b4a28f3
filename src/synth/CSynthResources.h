#pragma once

#include <cstdint>

// State shared between the synth and its editor that outlives an editor
// window: the editor reads programsChanged on every idle tick.
class CSynthResources
{
public:
    // Raised by program changes, renames and chunk loads; the editor clears it
    // when it rebuilds. One byte, written whole.
    volatile uint8_t programsChanged = 0;
};
