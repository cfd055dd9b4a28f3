#include "WindowTestKit.h"
#include "gui/core/CGroup.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/CSoftContext.h"

#include <gtest/gtest.h>

namespace
{

CCtrl* AddCtrl(CGroup& group, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return group.AddChildAt(new CCtrl(nullptr), x, y, width, height);
}

CGroup* AddGroup(CGroup& group, int32_t x, int32_t y, int32_t width, int32_t height)
{
    return group.AddChildAt(new CGroup(nullptr), x, y, width, height);
}

TEST(CGroupLayout, PercentagePlacementCentresOnXTakesTheFreeHeightOnYAndTruncates)
{
    struct Case
    {
        int32_t groupWidth, groupHeight, width, height;
        uint32_t anchor;
        int32_t marginX, marginY, x, y;
    };
    const Case cases[] = {
        {200, 100, 40, 10, kAnchorCentreX, 50, 0, 80, 0},    // 50 * 200 / 100 - 40 / 2
        {200, 100, 10, 20, kAnchorFractionY, 0, 25, 0, 20},  // (100 - 20) * 25 / 100, not centred
        // 330 / 100 = 3, less 5 / 2 = 2; -660 / 100 = -6.6 truncates to -6.
        {10, 10, 5, 30, kAnchorCentreX | kAnchorFractionY, 33, 33, 1, -6},
    };
    for (const Case& k : cases)
    {
        CGroup group(nullptr);
        group.width = k.groupWidth;
        group.height = k.groupHeight;
        CCtrl* c = AddCtrl(group, 0, 0, k.width, k.height);
        c->anchor = k.anchor;
        c->marginX = k.marginX;
        c->marginY = k.marginY;
        group.Layout();
        EXPECT_EQ(c->x, k.x) << k.anchor;
        EXPECT_EQ(c->y, k.y) << k.anchor;
    }
}

TEST(CGroupLayout, RightBottomStretchAnchorsAndChildGroups)
{
    CGroup group(nullptr);
    group.width = 300;
    group.height = 120;
    CCtrl* corner = AddCtrl(group, 0, 0, 30, 20);
    corner->anchor = kAnchorRight | kAnchorBottom;
    corner->marginX = 4;
    corner->marginY = 8;
    CCtrl* stretched = AddCtrl(group, 10, 15, 1, 1);
    stretched->anchor = kAnchorStretchX | kAnchorStretchY;
    stretched->marginX = 10;
    stretched->marginY = 5;
    CCtrl* both = AddCtrl(group, 7, 7, 20, 20);
    both->anchor = kAnchorRight | kAnchorStretchX;  // right-alignment wins
    // A child group is laid out after it is sized.
    CGroup* inner = AddGroup(group, 0, 0, 10, 10);
    inner->anchor = kAnchorStretchX;
    CCtrl* innerRight = AddCtrl(*inner, 0, 0, 24, 10);
    innerRight->anchor = kAnchorRight;
    group.Layout();
    EXPECT_EQ(corner->x, 300 - 30 - 4);
    EXPECT_EQ(corner->y, 120 - 20 - 8);
    EXPECT_EQ(stretched->width, 300 - 10 - 10);
    EXPECT_EQ(stretched->height, 120 - 15 - 5);
    EXPECT_EQ(both->x, 280);
    EXPECT_EQ(both->width, 20);
    EXPECT_EQ(inner->width, 300);
    EXPECT_EQ(innerRight->x, 276);
}

TEST(CGroupHitTest, TheLaterOfTwoOverlappingChildrenWins)
{
    CGroup group(nullptr);
    group.width = 100;
    group.height = 100;
    CCtrl* first = AddCtrl(group, 10, 10, 40, 40);
    CCtrl* second = AddCtrl(group, 30, 30, 40, 40);
    EXPECT_EQ(CGroup::HitTest(&group, 35, 35), second);
    EXPECT_EQ(CGroup::HitTest(&group, 15, 15), first);
    EXPECT_EQ(CGroup::HitTest(&group, 5, 5), &group);
    EXPECT_EQ(CGroup::HitTest(&group, 100, 5), nullptr);
    second->visible = 0;
    EXPECT_EQ(CGroup::HitTest(&group, 35, 35), first);
    first->enabled = 0;
    EXPECT_EQ(CGroup::HitTest(&group, 35, 35), &group);
}

TEST(CGroupHitTest, DescendsToTheDeepestControlThroughOffsetsAndScrolling)
{
    CGroup outer(nullptr);
    outer.x = 5;
    outer.y = 5;
    outer.width = 200;
    outer.height = 200;
    CGroup* inner = AddGroup(outer, 20, 20, 100, 100);
    inner->scrollY = 30;
    CCtrl* deep = AddCtrl(*inner, 10, 40, 20, 20);
    // Parent coordinates (40, 50): outer local (35, 45), inner content (15, 55).
    EXPECT_EQ(CGroup::HitTest(&outer, 40, 50), deep);
    EXPECT_EQ(CGroup::HitTest(&outer, 40, 80), inner);
    CCtrl* plain = AddCtrl(outer, 150, 150, 10, 10);
    EXPECT_EQ(CGroup::HitTest(plain, 155, 155), plain);
}

// A control that fills all of its rectangle.
class Filler : public CCtrl
{
public:
    Filler(uint32_t colour, bool raw) : CCtrl(nullptr), colour(colour), raw(raw) {}
    void Paint(CGraphic& g, Rect r) override
    {
        if (raw)
        {
            // Straight to the context: only the system clip region limits it.
            g.dc->SelectBrush(colour);
            g.dc->FillRect(Rect{0, 0, 1000, 1000});
            g.brushColour = CGraphic::kNoSelection;
            return;
        }
        g.FillRect(colour, Rect{-100, -100, r.right + 100, r.bottom + 100});
    }
    uint32_t colour;
    bool raw;
};

Rect BoxOf(CSoftContext& dc, uint32_t colour)
{
    Rect box;
    for (int32_t y = 0; y < dc.Height(); ++y)
        for (int32_t x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) == colour)
                box = Union(box, Rect{x, y, x + 1, y + 1});
    return box;
}

// A 60 x 40 surface and a group to paint on it.
class CGroupPaint : public ::testing::Test
{
protected:
    CGroupPaint() : dc(60, 40), g(&dc), group(nullptr) {}

    CSoftContext dc;
    CGraphic g;
    CGroup group;
};

TEST_F(CGroupPaint, BackgroundThenChildrenInOrderAtTheirWindowPositions)
{
    group.width = 50;
    group.height = 30;
    group.background = 0x505050;
    group.AddChildAt(new Filler(0x0000FF, false), 5, 5, 20, 10);
    group.AddChildAt(new Filler(0x00FF00, false), 15, 10, 20, 10);
    group.scrollX = 2;
    CGroup::PaintChild(g, &group, 3, 4);
    EXPECT_EQ(BoxOf(dc, 0x505050).left, 3);
    EXPECT_EQ(BoxOf(dc, 0x0000FF), (Rect{6, 9, 26, 19}));
    // b is painted later, over a.
    EXPECT_EQ(BoxOf(dc, 0x00FF00), (Rect{16, 14, 36, 24}));
    // Origin and clip are back to what they were.
    EXPECT_EQ(g.originX, 0);
    EXPECT_EQ(g.clip, (Rect{0, 0, 60, 40}));
}

TEST_F(CGroupPaint, AChildNeverPaintsOutsideItsParent)
{
    group.width = 30;
    group.height = 20;
    group.AddChildAt(new Filler(0xFFFFFF, false), -10, 5, 100, 100);
    CGroup::PaintChild(g, &group, 10, 10);
    EXPECT_EQ(BoxOf(dc, 0xFFFFFF), (Rect{10, 15, 40, 30}));
}

TEST_F(CGroupPaint, ClipChildrenAddsASystemClipRegion)
{
    group.width = 60;
    group.height = 40;
    Filler* raw = group.AddChildAt(new Filler(0x00FF00, true), 10, 10, 8, 6);
    raw->clipChildren = 1;
    CGroup::PaintChild(g, &group, 0, 0);
    EXPECT_EQ(BoxOf(dc, 0x00FF00), (Rect{10, 10, 18, 16}));
    // Without the flag the raw drawing is not held back: the region is what clipped it.
    raw->clipChildren = 0;
    raw->colour = 0x0000FF;
    CGroup::PaintChild(g, &group, 0, 0);
    EXPECT_EQ(BoxOf(dc, 0x0000FF), (Rect{0, 0, 60, 40}));
}

}  // namespace
