#include "gui/draw/CBitmap.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/CSoftContext.h"

#include <gtest/gtest.h>

namespace
{

constexpr uint32_t kMarker = 0x123456;

class Graphic : public ::testing::Test
{
protected:
    Graphic() : dc(40, 30), g(&dc) { g.FillRect(kMarker, Rect{0, 0, 40, 30}); }

    // The box around every pixel that is not the marker.
    Rect InkBox()
    {
        Rect box{40, 30, -1, -1};
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x)
                if (dc.GetPixel(x, y) != kMarker)
                    box = Union(box, Rect{x, y, x + 1, y + 1});
        return box;
    }
    int Count(uint32_t colour)
    {
        int n = 0;
        for (int32_t y = 0; y < 30; ++y)
            for (int32_t x = 0; x < 40; ++x)
                n += dc.GetPixel(x, y) == colour;
        return n;
    }

    CSoftContext dc;
    CGraphic g;
};

TEST_F(Graphic, EmptyOrFullyClippedRequestsDrawNothing)
{
    g.FillRect(0xFFFFFF, Rect{5, 5, 5, 20});
    g.FrameRect(0xFFFFFF, Rect{5, 5, 20, 5});
    g.Gloss(Rect{5, 5, 20, 5}, 0xFFFFFF, 0.5f, 0);
    g.Gloss(Rect{5, 5, 20, 5}, 0xFFFFFF, -0.5f, 0);
    g.Gradient(Rect{5, 5, 5, 9}, 0xFFFFFF, 0xFFFFFF, kGradientVertical);
    CBitmap empty(0, 0, 0);
    g.StretchImage(&empty, Rect{0, 0, 40, 30});
    g.StretchImage(nullptr, Rect{0, 0, 40, 30});
    g.clip = Rect{0, 0, 10, 10};
    g.FillRect(0xFFFFFF, Rect{10, 10, 30, 30});
    g.Ellipse(0xFFFFFF, Rect{12, 12, 30, 30});
    g.Text(0xFFFFFF, "Hidden", Rect{12, 12, 40, 30}, 0);
    EXPECT_TRUE(InkBox().IsEmpty());
}

TEST_F(Graphic, CutRectanglesLeaveTheCornersAloneAndFramesAreOnePixelOutlines)
{
    g.FillCutRect(0xFFFFFF, Rect{2, 3, 8, 7});
    for (const auto& corner : {std::pair{2, 3}, {7, 3}, {2, 6}, {7, 6}})
        EXPECT_EQ(dc.GetPixel(corner.first, corner.second), kMarker);
    EXPECT_EQ(dc.GetPixel(3, 3), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixel(2, 4), 0xFFFFFFu);
    EXPECT_EQ(InkBox(), (Rect{2, 3, 8, 7}));

    // A 5 x 4 outline has 14 pixels; the cut one leaves out its four corners.
    g.FillRect(kMarker, Rect{0, 0, 40, 30});
    g.FrameRect(0xFFFFFF, Rect{2, 2, 7, 6});
    EXPECT_EQ(Count(0xFFFFFF), 14);
    EXPECT_EQ(InkBox(), (Rect{2, 2, 7, 6}));
    g.FrameCutRect(0x00FF00, Rect{10, 2, 15, 6});
    EXPECT_EQ(Count(0x00FF00), 10);
    EXPECT_EQ(dc.GetPixel(10, 2), kMarker);
}

TEST_F(Graphic, GradientHasExactEndsAndAnEvenMiddle)
{
    g.Gradient(Rect{0, 0, 3, 5}, 0x102030, 0x506070, kGradientVertical);
    EXPECT_EQ(dc.GetPixel(0, 0), 0x102030u);
    EXPECT_EQ(dc.GetPixel(2, 2), 0x304050u);
    EXPECT_EQ(dc.GetPixel(1, 4), 0x506070u);
    EXPECT_EQ(dc.GetPixel(0, 5), kMarker);
    g.Gradient(Rect{10, 0, 13, 1}, 0x000000, 0x0000C8, 0);
    EXPECT_EQ(dc.GetPixel(10, 0), 0x000000u);
    EXPECT_EQ(dc.GetPixel(11, 0), 0x000064u);
    EXPECT_EQ(dc.GetPixel(12, 0), 0x0000C8u);
}

TEST_F(Graphic, GlossShadesHalfFromLightToMidAndKeepsAnInsetPlain)
{
    // light = Mix(0x28, white, 0.25) = 0x5E; mid = Mix(0x28, 0x5E, 0.25) = 53.5 -> 0x36.
    // Rows 0..10 (the middle row 10 included) blend 0x5E -> 0x36; row 5 is 0x4A.
    g.Gloss(Rect{0, 0, 6, 20}, 0x282828, 0.25f, 0);
    EXPECT_EQ(dc.GetPixel(3, 0), 0x5E5E5Eu);
    EXPECT_EQ(dc.GetPixel(3, 5), 0x4A4A4Au);
    EXPECT_EQ(dc.GetPixel(3, 10), 0x363636u);
    EXPECT_EQ(dc.GetPixel(3, 11), 0x282828u);
    EXPECT_EQ(dc.GetPixel(6, 0), kMarker);
    // Negative: the lower half, up to light.
    g.Gloss(Rect{0, 0, 6, 20}, 0x282828, -0.25f, 0);
    EXPECT_EQ(dc.GetPixel(3, 9), 0x282828u);
    EXPECT_EQ(dc.GetPixel(3, 10), 0x363636u);
    EXPECT_EQ(dc.GetPixel(3, 19), 0x5E5E5Eu);
    // An inset keeps the border plain.
    g.Gloss(Rect{10, 0, 18, 10}, 0x282828, 0.25f, 2);
    EXPECT_EQ(dc.GetPixel(11, 3), 0x282828u);
    EXPECT_EQ(dc.GetPixel(12, 2), 0x5E5E5Eu);
}

TEST_F(Graphic, TextAlignsToItsRectangle)
{
    // "Hi" is 8 wide (7 of ink) and its line 13 high; ink starts kGlyphTop (2) rows into the line.
    struct Case
    {
        Rect box;
        uint32_t align;
        Rect ink;
    };
    const Case cases[] = {
        {{10, 4, 40, 30}, kAlignLeft | kAlignTop, {10, 6, 17, 14}},
        // Centred: x = 4 + (36 - 8) / 2 = 18, y = 2 + (27 - 13) / 2 = 9.
        {{4, 2, 40, 29}, 0, {18, 11, 25, 19}},
        // x = 30 - 8 = 22; the line starts at 25 - 13 = 12.
        {{0, 0, 30, 25}, kAlignRight | kAlignBottom, {22, 14, 29, 22}},
    };
    for (const Case& c : cases)
    {
        g.FillRect(kMarker, Rect{0, 0, 40, 30});
        g.Text(0xFFFFFF, "Hi", c.box, c.align);
        EXPECT_EQ(InkBox(), c.ink) << c.align;
    }
}

TEST_F(Graphic, OriginMovesEveryOperationAndClipRegionsAreBoundedByTheLimits)
{
    g.originX = 5;
    g.originY = 7;
    g.FillRect(0xFFFFFF, Rect{0, 0, 1, 1});
    EXPECT_EQ(g.GetPixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(InkBox(), (Rect{5, 7, 6, 8}));

    g.originX = g.originY = 0;
    g.FillRect(kMarker, Rect{0, 0, 40, 30});
    g.limitWidth = 12;
    g.PushClipRegion(Rect{4, 4, 30, 30});
    dc.SelectBrush(0xFFFFFF);
    dc.FillRect(Rect{0, 0, 40, 30});
    g.PopClipRegion();
    EXPECT_EQ(InkBox(), (Rect{4, 4, 12, 30}));
}

TEST(CBitmap, IsAThirtyTwoBitSurfaceOrNothing)
{
    CBitmap bitmap(5, 3, 0);
    ASSERT_NE(bitmap.graphic, nullptr);
    EXPECT_EQ(bitmap.bitsPerPixel, 32);
    EXPECT_EQ(bitmap.stride, 20);
    ASSERT_NE(bitmap.bits, nullptr);
    bitmap.graphic->FillRect(0x030201, Rect{4, 2, 5, 3});
    EXPECT_EQ(bitmap.bits[2 * 20 + 4 * 4], 3);      // blue first
    EXPECT_EQ(bitmap.bits[2 * 20 + 4 * 4 + 2], 1);  // red third
    CBitmap empty(0, 10, 32);
    EXPECT_EQ(empty.graphic, nullptr);
    EXPECT_EQ(empty.width, 0);
    CBitmap odd(4, 4, 24);
    EXPECT_EQ(odd.graphic, nullptr);
}

}  // namespace
