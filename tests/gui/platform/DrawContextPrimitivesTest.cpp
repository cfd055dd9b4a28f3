// The primitive tests every drawing backend passes: the software backend in
// every build, and the system backend where the build has one (the Windows
// run builds this file alone, see tests/gui/windows).
#include "gui/draw/CGraphic.h"
#include "gui/platform/CDrawContext.h"
#include "gui/platform/CSoftContext.h"

#ifdef _WIN32
#include "gui/platform/CWin32Context.h"
#endif

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace
{

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;

struct Backend
{
    std::string name;
    CDrawContext* (*make)(int32_t width, int32_t height);
};

void PrintTo(const Backend& backend, std::ostream* out)
{
    *out << backend.name;
}

std::vector<Backend> Backends()
{
    std::vector<Backend> all{
        {"software", [](int32_t w, int32_t h) -> CDrawContext* { return new CSoftContext(w, h); }}};
#ifdef _WIN32
    all.push_back({"win32", [](int32_t w, int32_t h) -> CDrawContext* { return CWin32Context::NewBitmap(w, h); }});
#endif
    return all;
}

// The box around every pixel that is not black; empty when there is none.
Rect InkBox(CDrawContext& dc)
{
    Rect box{dc.Width(), dc.Height(), -1, -1};
    for (int32_t y = 0; y < dc.Height(); ++y)
        for (int32_t x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) != 0)
                box = Union(box, Rect{x, y, x + 1, y + 1});
    return box;
}

int CountColour(CDrawContext& dc, uint32_t colour)
{
    int count = 0;
    for (int32_t y = 0; y < dc.Height(); ++y)
        for (int32_t x = 0; x < dc.Width(); ++x)
            count += dc.GetPixel(x, y) == colour;
    return count;
}

class Primitives : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        dc.reset(GetParam().make(40, 30));
        ASSERT_NE(dc, nullptr);
        g = std::make_unique<CGraphic>(dc.get());
    }

    std::unique_ptr<CDrawContext> dc;
    std::unique_ptr<CGraphic> g;
};

TEST_P(Primitives, FillsStopExactlyAtTheClipAppliedAfterTheOriginAndReversedOnesAreSwapped)
{
    g->clip = Rect{5, 6, 15, 12};
    g->FillRect(kRed, Rect{0, 0, 40, 30});
    EXPECT_EQ(InkBox(*dc), (Rect{5, 6, 15, 12}));
    EXPECT_EQ(CountColour(*dc, kRed), 10 * 6);

    g->clip = Rect{0, 0, 40, 30};
    g->FillRect(0, Rect{0, 0, 40, 30});
    g->originX = 10;
    g->originY = 5;
    g->clip = Rect{12, 7, 40, 30};
    g->FillRect(kGreen, Rect{0, 0, 4, 4});
    // Local (0..4) is device (10..14, 5..9); the clip cuts two columns and two rows.
    EXPECT_EQ(InkBox(*dc), (Rect{12, 7, 14, 9}));
    // A reversed rectangle fills the swapped area, local (4..20, 3..18).
    g->FillRect(kBlue, Rect{20, 18, 4, 3});
    EXPECT_EQ(CountColour(*dc, kBlue), 16 * 15);
    EXPECT_EQ(dc->GetPixel(14, 8), kBlue);
}

TEST_P(Primitives, LinesLeaveOutTheirLastPointAndStayInsideTheClip)
{
    g->SetPen(kWhite);
    g->Line(3, 4, 10, 4);     // horizontal: x 3..9
    g->Line(20, 2, 20, 9);    // vertical: y 2..8
    g->Line(25, 10, 30, 15);  // diagonal: (25,10)..(29,14)
    EXPECT_EQ(dc->GetPixel(9, 4), kWhite);
    EXPECT_EQ(dc->GetPixel(10, 4), 0u);
    EXPECT_EQ(dc->GetPixel(20, 9), 0u);
    EXPECT_EQ(dc->GetPixel(29, 14), kWhite);
    EXPECT_EQ(dc->GetPixel(30, 15), 0u);
    EXPECT_EQ(CountColour(*dc, kWhite), 7 + 7 + 5);
    // And never cross the clip.
    g->clip = Rect{0, 0, 6, 30};
    g->Line(0, 25, 30, 25);
    EXPECT_EQ(CountColour(*dc, kWhite), 7 + 7 + 5 + 6);
}

TEST_P(Primitives, DottedPenSetsEverySecondPixel)
{
    g->dottedPen = 1;
    g->SetPen(kWhite);
    g->Line(2, 3, 12, 3);
    for (int32_t x = 2; x < 12; ++x)
        EXPECT_EQ(dc->GetPixel(x, 3), (x - 2) % 2 == 0 ? kWhite : 0u) << "x " << x;
}

// Exact positions are the software font's (see CGraphicTest); every backend centres.
TEST_P(Primitives, TextWithoutAlignmentBitsIsCentredAndClippedToItsRectangle)
{
    g->Text(kWhite, "HH", Rect{0, 0, 40, 30}, 0);
    const Rect ink = InkBox(*dc);
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_LE(std::abs(ink.left - (40 - ink.right)), 2);
    EXPECT_LE(std::abs(ink.top - (30 - ink.bottom)), 3);
    // Clipped to its rectangle unless asked not to be.
    g->FillRect(0, Rect{0, 0, 40, 30});
    g->Text(kWhite, "HHHHHHHHHH", Rect{10, 0, 20, 30}, 2 | 4);
    EXPECT_EQ(InkBox(*dc).right, 20);
    EXPECT_GE(InkBox(*dc).left, 10);
    g->Text(kWhite, "HHHHHHHHHH", Rect{10, 15, 20, 30}, 2 | 4 | 0x4000);
    EXPECT_GT(InkBox(*dc).right, 30);
}

TEST_P(Primitives, StretchRepeatsAndDropsRowsAndColumnsInsideItsClip)
{
    std::unique_ptr<CDrawContext> source(GetParam().make(2, 2));
    CGraphic s(source.get());
    s.FillRect(kRed, Rect{0, 0, 1, 1});
    s.FillRect(kGreen, Rect{1, 0, 2, 1});
    s.FillRect(kBlue, Rect{0, 1, 1, 2});
    s.FillRect(kWhite, Rect{1, 1, 2, 2});
    dc->Stretch(Rect{10, 10, 14, 14}, *source, Rect{0, 0, 2, 2}, Rect{0, 0, 40, 30});
    EXPECT_EQ(dc->GetPixel(11, 11), kRed);
    EXPECT_EQ(dc->GetPixel(12, 10), kGreen);
    EXPECT_EQ(dc->GetPixel(10, 13), kBlue);
    EXPECT_EQ(dc->GetPixel(13, 13), kWhite);
    // Shrinking keeps whole pixels: no blend of red and green appears.
    dc->Stretch(Rect{0, 0, 1, 1}, *source, Rect{0, 0, 2, 2}, Rect{0, 0, 40, 30});
    const uint32_t kept = dc->GetPixel(0, 0);
    EXPECT_TRUE(kept == kRed || kept == kGreen || kept == kBlue || kept == kWhite) << std::hex << kept;
    // Only inside the clip.
    g->FillRect(0, Rect{0, 0, 40, 30});
    dc->Stretch(Rect{0, 0, 40, 30}, *source, Rect{0, 0, 2, 2}, Rect{5, 5, 8, 9});
    EXPECT_EQ(InkBox(*dc), (Rect{5, 5, 8, 9}));
}

TEST_P(Primitives, BlitCopiesFromTheSourcePosition)
{
    std::unique_ptr<CDrawContext> source(GetParam().make(8, 8));
    CGraphic s(source.get());
    s.FillRect(kBlue, Rect{3, 2, 5, 4});
    g->originX = 10;
    g->Blit(s, Rect{0, 0, 4, 4}, 2, 1);
    // Source (3..5, 2..4) lands at local (1..3, 1..3), device (11..13, 1..3).
    EXPECT_EQ(InkBox(*dc), (Rect{11, 1, 13, 3}));
}

TEST_P(Primitives, ClipRegionsNestAndPop)
{
    dc->PushClipRegion(Rect{2, 2, 20, 20});
    dc->PushClipRegion(Rect{10, 0, 30, 10});
    g->FillRect(kRed, Rect{0, 0, 40, 30});
    EXPECT_EQ(InkBox(*dc), (Rect{10, 2, 20, 10}));
    dc->PopClipRegion();
    g->FillRect(kGreen, Rect{0, 0, 40, 30});
    EXPECT_EQ(InkBox(*dc), (Rect{2, 2, 20, 20}));
    dc->PopClipRegion();
    g->FillRect(kBlue, Rect{0, 0, 40, 30});
    EXPECT_EQ(CountColour(*dc, kBlue), 40 * 30);
}

INSTANTIATE_TEST_SUITE_P(Backends, Primitives, ::testing::ValuesIn(Backends()),
                         [](const ::testing::TestParamInfo<Backend>& info) { return info.param.name; });

}  // namespace
