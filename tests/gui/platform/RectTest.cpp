#include "gui/platform/Rect.h"

#include <gtest/gtest.h>

namespace
{

TEST(Rect, NormalisedSwapsReversedEdges)
{
    EXPECT_EQ(Normalised(Rect{10, 8, 2, 3}), (Rect{2, 3, 10, 8}));
    EXPECT_EQ(Normalised(Rect{2, 3, 10, 8}), (Rect{2, 3, 10, 8}));
}

TEST(Rect, RightAndBottomAreExclusive)
{
    const Rect r{2, 3, 10, 8};
    EXPECT_EQ(r.Width(), 8);
    EXPECT_EQ(r.Height(), 5);
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_FALSE(r.Contains(10, 7));
    EXPECT_FALSE(r.Contains(9, 8));
    EXPECT_TRUE((Rect{4, 4, 4, 9}).IsEmpty());
}

TEST(Rect, IntersectionAndUnion)
{
    EXPECT_EQ(Intersection(Rect{0, 0, 10, 10}, Rect{5, -5, 20, 7}), (Rect{5, 0, 10, 7}));
    EXPECT_TRUE(Intersection(Rect{0, 0, 10, 10}, Rect{10, 0, 20, 10}).IsEmpty());
    EXPECT_EQ(Union(Rect{0, 0, 2, 2}, Rect{5, 6, 7, 8}), (Rect{0, 0, 7, 8}));
    EXPECT_EQ(Union(Rect{}, Rect{5, 6, 7, 8}), (Rect{5, 6, 7, 8}));
    EXPECT_EQ(Union(Rect{5, 6, 7, 8}, Rect{3, 3, 3, 3}), (Rect{5, 6, 7, 8}));
    EXPECT_EQ(Offset(Rect{1, 2, 3, 4}, 10, -2), (Rect{11, 0, 13, 2}));
}

}  // namespace
