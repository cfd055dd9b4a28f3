#include "gui/platform/CursorTable.h"

CursorShape CursorShapeOf(int32_t index)
{
    switch (index)
    {
    case 2:
        return CursorShape::Wait;
    case 3:
    case 5:
        return CursorShape::SizeWestEast;
    case 4:
    case 6:
        return CursorShape::SizeNorthSouth;
    case 7:
    case 9:
        return CursorShape::SizeNorthEastSouthWest;
    case 8:
    case 10:
        return CursorShape::SizeNorthWestSouthEast;
    default:
        return CursorShape::Arrow;
    }
}
