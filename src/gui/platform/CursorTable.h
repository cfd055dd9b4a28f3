#pragma once

#include <cstdint>

// The mouse cursors a control or a window border can ask for by index.
enum class CursorShape
{
    Arrow,
    Wait,
    SizeWestEast,
    SizeNorthSouth,
    SizeNorthEastSouthWest,
    SizeNorthWestSouthEast
};

constexpr int32_t kCursorArrow = 1;
constexpr int32_t kCursorWait = 2;
constexpr int32_t kCursorCount = 10;  // indices 1..10

// The shape of cursor index: 1 arrow, 2 wait, 3 and 5 west-east, 4 and 6
// north-south, 7 and 9 north-east/south-west, 8 and 10 north-west/south-east
// sizing; the arrow for any other index.
CursorShape CursorShapeOf(int32_t index);
