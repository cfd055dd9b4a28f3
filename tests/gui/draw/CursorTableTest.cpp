#include "gui/draw/CursorTable.h"

#include <gtest/gtest.h>

namespace
{

TEST(CursorTable, GivesEachIndexItsShape)
{
    EXPECT_EQ(CursorShapeOf(kCursorArrow), CursorShape::Arrow);
    EXPECT_EQ(CursorShapeOf(kCursorWait), CursorShape::Wait);
    EXPECT_EQ(CursorShapeOf(3), CursorShape::SizeWestEast);
    EXPECT_EQ(CursorShapeOf(5), CursorShape::SizeWestEast);
    EXPECT_EQ(CursorShapeOf(4), CursorShape::SizeNorthSouth);
    EXPECT_EQ(CursorShapeOf(6), CursorShape::SizeNorthSouth);
    EXPECT_EQ(CursorShapeOf(7), CursorShape::SizeNorthEastSouthWest);
    EXPECT_EQ(CursorShapeOf(9), CursorShape::SizeNorthEastSouthWest);
    EXPECT_EQ(CursorShapeOf(8), CursorShape::SizeNorthWestSouthEast);
    EXPECT_EQ(CursorShapeOf(10), CursorShape::SizeNorthWestSouthEast);
}

TEST(CursorTable, UnknownIndicesShowTheArrow)
{
    EXPECT_EQ(CursorShapeOf(0), CursorShape::Arrow);
    EXPECT_EQ(CursorShapeOf(11), CursorShape::Arrow);
    EXPECT_EQ(CursorShapeOf(-3), CursorShape::Arrow);
}

} // namespace
