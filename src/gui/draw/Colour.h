#pragma once

#include <cstdint>

// Colours are 0x00BBGGRR: red in bits 0-7, green 8-15, blue 16-23.
constexpr uint32_t kNoColour = 0xFFFFFFFFu;  // -1: nothing selected or no fill
constexpr uint32_t kWhite = 0xFFFFFFu;

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return red | green << 8 | blue << 16;
}

// Each channel a + (b - a) * t, rounded to nearest and clamped to 0..255.
uint32_t Mix(uint32_t a, uint32_t b, double t);
