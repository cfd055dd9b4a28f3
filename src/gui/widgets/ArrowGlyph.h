#pragma once

#include "gui/draw/CGraphic.h"

#include <cstdint>

// Directions of an arrow glyph.
enum class ArrowDirection
{
    Left,
    Right,
    Up,
    Down,
};

// A filled triangle of 4 rows (7 pixels across at its base) pointing in
// direction, centred in r: the arrow of scroll-bar buttons and the expander
// of tree nodes, so that both look alike.
void DrawArrowGlyph(CGraphic& g, Rect r, ArrowDirection direction, uint32_t colour);
