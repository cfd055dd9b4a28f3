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
    // "T": a bar of five on the capital row, then a stem in the middle column.
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(dc.GetPixel(x, CSoftFont::kGlyphTop), kWhite) << x;
    EXPECT_EQ(dc.GetPixel(0, CSoftFont::kGlyphTop), 0u);
    EXPECT_EQ(dc.GetPixel(6, CSoftFont::kGlyphTop), 0u);
    for (int y = CSoftFont::kGlyphTop + 1; y < CSoftFont::kGlyphTop + 8; ++y)
    {
        EXPECT_EQ(dc.GetPixel(3, y), kWhite) << y;
        EXPECT_EQ(dc.GetPixel(2, y), 0u) << y;
    }
    EXPECT_EQ(dc.GetPixel(3, CSoftFont::kGlyphTop + 8), 0u);
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
