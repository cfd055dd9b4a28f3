#pragma once

#include <cstdint>

// The toolkit's code (gui/platform/InputCodes.h) of a system virtual-key number
// that has no character: negative for the special keys, kKeyNone for the
// rest. Printable keys are translated by the keyboard layout instead.
int32_t SpecialKeyCode(int32_t virtualKey);
