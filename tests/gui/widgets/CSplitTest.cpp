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

TEST_F(CSplitTest, DragsResizeTheTargetWithinItsLimits)
{
    struct Case
    {
        bool vertical, growsDown;
        int32_t collapse, minimum;
        std::vector<std::pair<int32_t, int32_t>> drags;
        std::vector<int32_t> sizes;  // the target's width or height after each drag
        int32_t splitAt;
    };
    const Case cases[] = {
        {false, false, -1, -1, {{30, 7}}, {190}, 190},
        // 35 is below the collapse threshold; 50 is raised to the minimum; 40 is not below the threshold.
        {false, false, 40, 60, {{-125, 0}, {50, 0}, {-20, 0}}, {0, 60, 60}, 60},
        // On the target's top edge: a drag down shrinks it, unless it grows downward.
        {true, false, -1, -1, {{5, 20}}, {80}, 66},
        {true, true, -1, -1, {{0, 20}}, {120}, 66},
    };
    for (const Case& c : cases)
    {
        Open(c.vertical);
        split->growsDown = c.growsDown;
        split->collapse = c.collapse;
        split->minimum = c.minimum;
        changes = 0;
        std::vector<int32_t> sizes;
        for (const auto& [dx, dy] : c.drags)
        {
            DragBy(dx, dy);
            sizes.push_back(c.vertical ? target->height : target->width);
        }
        EXPECT_EQ(sizes, c.sizes);
        EXPECT_EQ(c.vertical ? split->y : split->x, c.splitAt);
        EXPECT_EQ(changes, 2 * static_cast<int32_t>(c.drags.size()));
        delete split;
        delete target;
    }
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
