#include "gui/draw/CGui.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CSoftContext.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

// A colour that no theme item uses: whatever keeps it was not drawn.
constexpr uint32_t kMarker = 0x123456;

class ItemDrawing : public ::testing::Test
{
protected:
    ItemDrawing() { gui.Init(); }

    // Draws item key into a fresh marker-filled w x h surface.
    CSoftContext* Draw(const char* key, int32_t w, int32_t h, int32_t flags)
    {
        dc = std::make_unique<CSoftContext>(w, h);
        g = std::make_unique<CGraphic>(dc.get());
        g->FillRect(kMarker, Rect{0, 0, w, h});
        DrawItem(*g, Rect{0, 0, w, h}, gui.Find(key), flags);
        return dc.get();
    }

    CGui gui;
    std::unique_ptr<CSoftContext> dc;
    std::unique_ptr<CGraphic> g;
};

TEST_F(ItemDrawing, FlagTwoLeavesTheFrameOutAndFlagFourTheFill)
{
    CSoftContext* s = Draw("winbkgnd", 10, 8, kItemNoFrame);
    EXPECT_EQ(s->GetPixel(1, 0), 0x505050u);
    EXPECT_EQ(s->GetPixel(0, 0), kMarker);
    EXPECT_EQ(s->GetPixel(5, 4), 0x505050u);
    s = Draw("winbkgnd", 10, 8, kItemFrameOnly);
    EXPECT_EQ(s->GetPixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(s->GetPixel(5, 4), kMarker);
    s = Draw("winbkgnd", 10, 8, kItemFrameOnly | kItemNoFrame);
    EXPECT_EQ(s->GetPixel(1, 0), kMarker);
    EXPECT_EQ(s->GetPixel(5, 4), kMarker);
}

// Every item of the theme, checked against what its own properties say.
TEST_F(ItemDrawing, EveryItemShowsItsFillShapeAndFrame)
{
    for (int32_t i = 0; i < gui.Count(); ++i)
    {
        const CSkinItem* item = gui.Item(i);
        const int32_t w = item->width > 0 ? item->width : 24;
        const int32_t h = item->height > 0 ? item->height : 14;
        CSoftContext* s = Draw(item->itemid, w, h, 0);
        const uint32_t edge = item->itemframe               ? item->itemframecol
                              : item->itemfill == kFillNone ? kMarker
                                                            : item->itemfillcol;
        const uint32_t corner = item->itemshape == kShapeCut ? kMarker : edge;
        EXPECT_EQ(s->GetPixel(0, 0), corner) << item->itemid;
        EXPECT_EQ(s->GetPixel(w - 1, h - 1), corner) << item->itemid;
        EXPECT_EQ(s->GetPixel(w / 2, h - 1), edge) << item->itemid;
        EXPECT_EQ(s->GetPixel(0, h / 2), edge) << item->itemid;
        if (item->itemfill == kFillNone)
        {
            EXPECT_EQ(s->GetPixel(w / 2, h / 2), kMarker) << item->itemid;
        }
        if (item->itemfill == kFillSolid)
        {
            EXPECT_EQ(s->GetPixel(w / 2, h / 2), item->itemfillcol) << item->itemid;
        }
        if (item->itemfill == kFillShaded && item->itemfillImg == kShadeGloss)
        {
            // Upper half lighter than the colour, lower half the colour itself.
            EXPECT_GT(s->GetPixel(w / 2, 1) & 0xFF, item->itemfillcol & 0xFF) << item->itemid;
            EXPECT_EQ(s->GetPixel(w / 2, h - 2), item->itemfillcol) << item->itemid;
        }
        if (item->itemfill == kFillShaded && item->itemfillImg == kShadeBevel)
        {
            EXPECT_EQ(s->GetPixel(w / 2, h / 2), item->itemfillcol) << item->itemid;
        }
    }
}

// The caption's gloss is drawn at its own height from the image made once
// for it, marked here so that its use shows; at any other height afresh.
TEST_F(ItemDrawing, CaptionUsesItsPreRenderedGlossOnlyAtItsOwnHeight)
{
    CGraphic* image = gui.Find("caption")->itemfilltex->graphic;
    image->FillRect(0x00FF00, Rect{0, 0, 256, 20});
    CSoftContext* s = Draw("caption", 30, 20, 0);
    EXPECT_EQ(s->GetPixel(1, 1), 0x00FF00u);
    EXPECT_EQ(s->GetPixel(28, 18), 0x00FF00u);
    // The outline in the fill colour stays around it.
    EXPECT_EQ(s->GetPixel(15, 0), 0x282828u);

    // 21 rows: middle = 10, rows 0..10 blend 0x5E -> 0x36.
    s = Draw("caption", 30, 21, 0);
    EXPECT_EQ(s->GetPixel(15, 1), Mix(0x5E5E5E, 0x363636, 0.1));
    EXPECT_EQ(s->GetPixel(15, 10), 0x363636u);
    EXPECT_EQ(s->GetPixel(15, 15), 0x282828u);
}

TEST_F(ItemDrawing, MenuTabsHaveBevelLinesInsideTheirFrame)
{
    // A 6-pixel-high strip: frame 0x282828 around, bevel light top (row 0,
    // under the frame) and dark bottom, the image's 0x505050 inside.
    CSoftContext* s = Draw("menutabs", 20, 6, kItemNoFrame);
    EXPECT_EQ(s->GetPixel(10, 0), 0x505050u);  // light bevel line
    EXPECT_EQ(s->GetPixel(10, 5), 0x282828u);  // dark bevel line
    EXPECT_EQ(s->GetPixel(0, 0), kMarker);     // not reached by the lines
    s = Draw("menutabs", 20, 6, 0);
    EXPECT_EQ(s->GetPixel(10, 0), 0x282828u);
}

TEST_F(ItemDrawing, PictureFillStretchesTheImageInsideACutFrame)
{
    CSkinItem* item = gui.AddItem("picture");
    item->itemfill = kFillPicture;
    item->itemshape = kShapeCut;
    item->SetFrame(0xFFFFFF);
    item->itemfilltex = new CTexture(1, 1, 0);
    item->itemfilltex->graphic->FillRect(0x0000FF, Rect{0, 0, 1, 1});
    // With its frame the picture keeps off the frame's columns, so the cut corners stay clear.
    CSoftContext* s = Draw("picture", 10, 6, 0);
    EXPECT_EQ(s->GetPixel(0, 0), kMarker);
    EXPECT_EQ(s->GetPixel(9, 5), kMarker);
    EXPECT_EQ(s->GetPixel(0, 3), 0xFFFFFFu);
    EXPECT_EQ(s->GetPixel(1, 3), 0x0000FFu);
    // Without the frame it covers the whole rectangle.
    s = Draw("picture", 10, 6, kItemNoFrame);
    EXPECT_EQ(s->GetPixel(0, 0), 0x0000FFu);
    EXPECT_EQ(s->GetPixel(9, 5), 0x0000FFu);
}

TEST_F(ItemDrawing, NothingForAMissingItemOrAnEmptyRectangle)
{
    CSoftContext* s = Draw("no such item", 6, 6, 0);
    EXPECT_EQ(s->GetPixel(3, 3), kMarker);
    DrawItem(*g, Rect{3, 3, 3, 6}, gui.Find("winbkgnd"), 0);
    EXPECT_EQ(s->GetPixel(3, 3), kMarker);
}

}  // namespace
