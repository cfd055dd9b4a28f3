#include "gui/platform/CSoftContext.h"
#include "gui/platform/CSoftFont.h"

#include <gtest/gtest.h>

namespace
{

constexpr uint32_t kWhite = 0xFFFFFF;

TEST(CSoftContext, ANonPositiveSideGivesAnEmptySurfaceThatIgnoresDrawing)
{
    CSoftContext dc(0, 5);
    EXPECT_EQ(dc.Width(), 0);
    EXPECT_EQ(dc.Height(), 0);
    EXPECT_EQ(dc.Bits(), nullptr);
    dc.SelectBrush(kWhite);
    dc.FillRect(Rect{0, 0, 5, 5});
    dc.Text(0, 0, "A", kWhite, nullptr);
    EXPECT_EQ(dc.GetPixel(0, 0), CDrawContext::kNoPixel);
}

TEST(CSoftContext, TextDrawsTheGlyphPicturesAtTheirCellRows)
{
    CSoftContext dc(12, 13);
    dc.Text(1, 0, "T", kWhite, nullptr);
    // "T": a bar of five on the capital row, then a stem of seven in the middle column.
    const int top = CSoftFont::kGlyphTop;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 12; ++x)
        {
            const bool ink = y == top ? x >= 1 && x <= 5 : x == 3 && y > top && y < top + 8;
            EXPECT_EQ(dc.GetPixel(x, y), ink ? kWhite : 0u) << x << "," << y;
        }
}

TEST(CSoftContext, BlitWithinOneSurfaceReadsBeforeItWrites)
{
    CSoftContext dc(6, 1);
    for (int32_t x = 0; x < 6; ++x)
    {
        dc.SelectBrush(static_cast<uint32_t>(x + 1));
        dc.FillRect(Rect{x, 0, x + 1, 1});
    }
    // Shift columns 0..4 right by one onto themselves: 1 1 2 3 4 5.
    dc.Blit(Rect{1, 0, 6, 1}, dc, 0, 0);
    const uint32_t expected[6] = {1, 1, 2, 3, 4, 5};
    for (int32_t x = 0; x < 6; ++x)
        EXPECT_EQ(dc.GetPixel(x, 0), expected[x]) << x;
}

}  // namespace
