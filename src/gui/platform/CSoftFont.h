#pragma once

#include <cstdint>

// The software backend's font: our own proportional bitmap font for
// printable ASCII with the metrics of a small 8-point sans-serif (capitals
// 8 pixels high, line cell 13 pixels). Other bytes are drawn as '?'.
class CSoftFont
{
public:
    static constexpr int32_t kLineHeight = 13;
    // Cell row where capitals and ascenders start; the baseline is 8 rows lower.
    static constexpr int32_t kGlyphTop = 2;

    // Pixels from one character's origin to the next.
    static int32_t Advance(char c);
    static int32_t TextWidth(const char* text);

    // The glyph's picture: rows from kGlyphTop down, separated by '/', '#'
    // for a set pixel; every row is as wide as the glyph.
    static const char* Glyph(char c);
};
