#pragma once

#include <cstdint>

// The knob filmstrip compiled into the library: a PNG of kKnobFrameCount
// square frames of kKnobFrameSize pixels, 8-bit RGBA, stacked top to bottom.
// Frame 0 shows the knob at its minimum (pointer towards seven o'clock), the
// last frame at its maximum (five o'clock); outside the knob it is transparent.
// The bytes are drawn and encoded at build time by tools/knobstrip.
constexpr int kKnobFrameSize = 48;
constexpr int kKnobFrameCount = 30;

extern const uint8_t kKnobFilmstripPng[];
extern const int32_t kKnobFilmstripPngBytes;
