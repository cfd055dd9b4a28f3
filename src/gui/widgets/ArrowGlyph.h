#pragma once

#include "gui/draw/CGraphic.h"

#include <cstdint>

// Which way an arrow glyph points.
enum class ArrowDirection
{
    Left,
    Right,
    Up,
    Down
};

// A filled triangle of the given colour centred in box (local to g): its
// base is one less than half the box's shorter side, made odd (at least 3),
// its depth half the base rounded up: a 16-pixel square gets a 7 x 4 arrow.
void DrawArrow(CGraphic& g, Rect box, ArrowDirection direction, uint32_t colour);
