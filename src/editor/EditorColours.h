#pragma once

#include <cstdint>

// Colours of the knobs and panels (0x00BBGGRR).
constexpr uint32_t kAccentColour = 0x0080FE;  // RGB (254, 128, 0)
constexpr uint32_t kGreyColour = 0x808080;    // RGB (128, 128, 128)
constexpr uint32_t kBoxColour = 0x181818;     // RGB (24, 24, 24)
