#include "gui/core/CApp.h"
#include "gui/core/CWin.h"

#include <gtest/gtest.h>

namespace
{

CCtrl* AddCtrl(CGroup& group, CWin* win, int32_t x, int32_t y, int32_t width, int32_t height)
{
    CCtrl* c = new CCtrl(win);
    c->x = x;
    c->y = y;
    c->width = width;
    c->height = height;
    group.AddChild(c);
    return c;
}

TEST(CWin, IsAWindowKindThatOwnsItsTree)
{
    CApp app;
    CWin win(&app);
    EXPECT_EQ(win.kind, kKindWindow);
    EXPECT_EQ(win.window, &win);
    EXPECT_EQ(win.app, &app);
    ASSERT_NE(app.theme, nullptr);
    EXPECT_NE(app.theme->Find("winbkgnd"), nullptr);
}

TEST(CWin, HitTestTakesTheFirstDirectChildThatHoldsThePoint)
{
    CApp app;
    CWin win(&app);
    win.width = 200;
    win.height = 100;
    CGroup* client = new CGroup(&win);
    client->width = 200;
    client->height = 100;
    win.AddChild(client);
    CCtrl* overlapping = AddCtrl(win, &win, 0, 0, 50, 50);
    CCtrl* inner = AddCtrl(*client, &win, 10, 10, 20, 20);
    // The client group comes first, so the later direct child is not tried.
    EXPECT_EQ(win.HitTest(15, 15), inner);
    EXPECT_EQ(win.HitTest(40, 40), client);
    EXPECT_NE(win.HitTest(40, 40), overlapping);
    EXPECT_EQ(win.HitTest(250, 40), nullptr);
    win.scrollY = 15;
    EXPECT_EQ(win.HitTest(15, 0), inner);
}

TEST(CWin, HitTestOfADisabledFirstChildFindsNothing)
{
    CApp app;
    CWin win(&app);
    CCtrl* first = AddCtrl(win, &win, 0, 0, 50, 50);
    AddCtrl(win, &win, 0, 0, 50, 50);
    first->enabled = 0;
    EXPECT_EQ(win.HitTest(5, 5), nullptr);
}

TEST(CWin, InvalidateCollectsTheAreaToRepaint)
{
    CApp app;
    CWin win(&app);
    win.width = 300;
    win.height = 200;
    EXPECT_TRUE(win.dirty.IsEmpty());
    win.InvalidateRect(Rect{10, 10, 20, 20});
    win.InvalidateRect(Rect{50, 5, 40, 15});
    EXPECT_EQ(win.dirty, (Rect{10, 5, 50, 20}));
    win.Invalidate();
    EXPECT_EQ(win.dirty, (Rect{0, 0, 300, 200}));
}

TEST(CWin, DestroyingTheWindowWithAPressedFocusedHoveredChildLeavesNoPointer)
{
    CApp app;
    CWin* win = new CWin(&app);
    CGroup* client = new CGroup(win);
    win->AddChild(client);
    CCtrl* c = AddCtrl(*client, win, 0, 0, 10, 10);
    win->pressedCtrl = c;
    win->focusCtrl = c;
    app.overCtrl = c;
    app.hoverCtrl = win;
    delete win;
    EXPECT_EQ(app.overCtrl, nullptr);
    EXPECT_EQ(app.hoverCtrl, nullptr);
}

} // namespace
