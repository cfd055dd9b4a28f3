#include "gui/platform/CursorTable.h"

#include <gtest/gtest.h>

#include <utility>

namespace
{

TEST(CursorTable, GivesEachIndexItsShapeAndUnknownOnesTheArrow)
{
    const std::pair<int32_t, CursorShape> table[] = {
        {kCursorArrow, CursorShape::Arrow},
        {kCursorWait, CursorShape::Wait},
        {3, CursorShape::SizeWestEast},
        {5, CursorShape::SizeWestEast},
        {4, CursorShape::SizeNorthSouth},
        {6, CursorShape::SizeNorthSouth},
        {7, CursorShape::SizeNorthEastSouthWest},
        {9, CursorShape::SizeNorthEastSouthWest},
        {8, CursorShape::SizeNorthWestSouthEast},
        {10, CursorShape::SizeNorthWestSouthEast},
        {0, CursorShape::Arrow},
        {11, CursorShape::Arrow},
        {-3, CursorShape::Arrow},
    };
    for (const auto& row : table)
        EXPECT_EQ(CursorShapeOf(row.first), row.second) << "index " << row.first;
}

}  // namespace
