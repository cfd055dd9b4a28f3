#include "gui/widgets/CSplit.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CSizer.h"

#include <gtest/gtest.h>

namespace
{

class CSplitTest : public WidgetTest
{
protected:
    // A 160 x 100 target at (0, 0) and a 4-pixel split on its right edge,
    // or on its top edge with the target moved down by 50.
    void Open(bool vertical)
    {
        target = new CProbe(win, &log, "t", 0, vertical ? 50 : 0, 160, 100);
        win->AddChild(target);
        split = new CSplit(win, target, vertical);
        split->OnChange = new _COnChange<CSplitTest>(this, &CSplitTest::Changed);
        if (vertical)
            Put(split, 0, 46, 160, 4);
        else
            Put(split, 160, 0, 4, 100);
    }

    // Drags the split from its middle by (dx, dy) in two moves, released at the end.
    void DragBy(int32_t dx, int32_t dy)
    {
        const int32_t sx = split->x + split->width / 2;
        const int32_t sy = split->y + split->height / 2;
        Press(sx, sy);
        Drag(sx + dx / 2, sy + dy / 2);
        Drag(sx + dx, sy + dy);
        Release(sx + dx, sy + dy);
    }
    void Changed(CCtrl*) { ++changes; }

    CProbe* target = nullptr;
    CSplit* split = nullptr;
    int32_t changes = 0;
};

TEST_F(CSplitTest, HorizontalSplitWidensTheTargetAndFollowsItsEdge)
{
    Open(false);
    DragBy(30, 7);
    EXPECT_EQ(Bounds(target), (Rect{0, 0, 190, 100}));
    EXPECT_EQ(split->x, 190);
    EXPECT_EQ(changes, 2);
}

TEST_F(CSplitTest, CollapseThresholdThenMinimumAndNeverNegative)
{
    Open(false);
    split->collapse = 40;
    split->minimum = 60;
    DragBy(-125, 0);  // 35: below the collapse threshold
    EXPECT_EQ(target->width, 0);
    EXPECT_EQ(split->x, 0);
    DragBy(50, 0);  // 50: collapsed no more, raised to the minimum
    EXPECT_EQ(target->width, 60);
    DragBy(-20, 0);  // 40 is not below the threshold
    EXPECT_EQ(target->width, 60);
    split->collapse = -1;
    split->minimum = -1;
    EXPECT_EQ(split->Limit(-7), 0);
    EXPECT_EQ(split->Limit(3), 3);
}

TEST_F(CSplitTest, VerticalSplitShrinksTheTargetBelowUnlessItGrowsDownward)
{
    Open(true);
    DragBy(5, 20);
    EXPECT_EQ(target->height, 80);
    EXPECT_EQ(split->y, 66);
    split->growsDown = 1;
    DragBy(0, 20);
    EXPECT_EQ(target->height, 100);
    EXPECT_EQ(split->y, 86);
}

TEST_F(CSplitTest, OnlyALeftDragMovesIt)
{
    Open(false);
    screen.Press(162, 50, kMouseRight);
    screen.Move(200, 50, kMouseRight);
    screen.Release(200, 50, kMouseRight);
    Pump();
    EXPECT_EQ(target->width, 160);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(split->cursor, 3);
}

class CSizerTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CSizerTest, DraggingResizesTheWindowNeverBelowSixteen)
{
    CWin* win = new CWin(&app, nullptr, kWinResizable, "s", 100, 50, 200, 150);
    CSizer* sizer = new CSizer(win);
    sizer->anchor = kAnchorRight | kAnchorBottom;
    win->AddChild(sizer);
    win->Show(true);
    Pump();
    // The sizer sits in the client area's corner: client (178, 128), screen (281, 181).
    screen.Press(290, 190, kMouseLeft);
    screen.Move(310, 200, kMouseLeft);
    screen.Move(330, 220, kMouseLeft);
    Pump();
    EXPECT_EQ(screen.ScreenRect(win->hwnd), (Rect{100, 50, 340, 230}));
    // The window was laid out: the sizer follows the corner.
    EXPECT_EQ(sizer->x, 218);
    screen.Move(0, 0, kMouseLeft);
    screen.Release(0, 0, kMouseLeft);
    Pump();
    EXPECT_EQ(screen.ScreenRect(win->hwnd), (Rect{100, 50, 116, 66}));
    delete win;
}

TEST_F(CSizerTest, AnEmbeddedWindowThatCannotResizeItselfResizesItsContainer)
{
    CWin container(&app, nullptr, kWinContainer, "c", 0, 0, 400, 300);
    CWin fixed(&app, &container, kWinEmbedded | kWinAltMaximise, "f", 0, 0, 100, 100);
    CWin free(&app, &container, kWinEmbedded, "g", 0, 0, 100, 100);
    CWin plainOwner(&app, nullptr, 0, "o", 0, 0, 400, 300);
    CWin notInContainer(&app, &plainOwner, kWinEmbedded | kWinAltMaximise, "n", 0, 0, 100, 100);
    CSizer* a = new CSizer(&fixed);
    CSizer* b = new CSizer(&free);
    CSizer* c = new CSizer(&notInContainer);
    fixed.AddChild(a);
    free.AddChild(b);
    notInContainer.AddChild(c);
    EXPECT_EQ(a->Target(), &container);
    EXPECT_EQ(b->Target(), &free);
    EXPECT_EQ(c->Target(), &notInContainer);
}

}  // namespace
