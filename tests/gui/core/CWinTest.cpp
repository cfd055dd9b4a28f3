#include "gui/core/CWin.h"

#include "WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/CWindowButton.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

namespace
{

class CWinTest : public ::testing::Test, public WindowTestKit
{
protected:
    // A shown borderless window at (100, 50), 200 x 150, with one probe "p" filling it.
    CWin* Open(uint32_t style = 0) { return Own(WindowTestKit::Open(style, "p", 100, 50, 200, 150)); }
    // A left-button drag from one screen point to another.
    void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
    {
        screen.Press(x0, y0, kMouseLeft);
        screen.Move(x1, y1, kMouseLeft);
        screen.Release(x1, y1, kMouseLeft);
        Pump();
    }
};

TEST_F(CWinTest, ClientGroupAndTitleBarFollowTheStyle)
{
    CWin plain(&app, nullptr, 0, "a", 0, 0, 200, 100);
    EXPECT_EQ(Bounds(plain.clientGroup), (Rect{3, 3, 197, 97}));

    CWin titled(&app, nullptr, kWinTitleBar | kWinMaxButton | kWinMinButton, "b", 0, 0, 200, 100);
    EXPECT_EQ(Bounds(titled.clientGroup), (Rect{3, 23, 197, 97}));
    ASSERT_NE(titled.titleBar, nullptr);
    EXPECT_EQ(titled.titleBar->anchor, kAnchorStretchX);  // its buttons follow a resize
    ASSERT_EQ(titled.titleBar->children.Count(), 3);
    // From the right: close, maximise, minimise.
    EXPECT_EQ(static_cast<CWindowButton*>(titled.titleBar->Child(2))->buttonKind, kButtonMinimise);
}

TEST_F(CWinTest, BorderZonesOfAResizableWindowWithTitle)
{
    CWin win(&app, nullptr, kWinResizable | kWinTitleBar, "t", 0, 0, 200, 150);
    EXPECT_EQ(win.frame.Zone(2, 8), kZoneTopLeft);
    EXPECT_EQ(win.frame.Zone(2, 9), kZoneLeft);
    EXPECT_EQ(win.frame.Zone(50, 22), kZoneCaption);
    EXPECT_EQ(win.frame.Zone(50, 23), kZoneNone);
    EXPECT_EQ(win.frame.Zone(191, 147), kZoneBottomRight);
    // Without resizing (or with the alternative style) only the caption is a zone.
    CWin fixed(&app, nullptr, kWinTitleBar, "f", 0, 0, 200, 150);
    EXPECT_EQ(fixed.frame.Zone(2, 8), kZoneCaption);
    EXPECT_EQ(fixed.frame.Zone(2, 30), kZoneNone);
    CWin alt(&app, nullptr, kWinResizable | kWinAltMaximise, "g", 0, 0, 200, 150);
    EXPECT_EQ(alt.frame.Zone(0, 0), kZoneNone);
}

TEST_F(CWinTest, DraggingTheLeftEdgeResizesAndTheCaptionMoves)
{
    CWin* win = Own(new CWin(&app, nullptr, kWinResizable | kWinTitleBar, "t", 100, 50, 200, 150));
    AddProbe(win, "c", 0, 0, 50, 50);
    win->Show(true);
    Pump();
    // Inside the client area (from 3, 23) a press is no drag.
    Click(110, 90);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"c down 7 17 1", "c up 7 17 1"}));
    Drag(101, 120, 91, 125);
    EXPECT_EQ(screen.ScreenRect(win->hwnd), (Rect{90, 50, 300, 200}));
    EXPECT_EQ(win->width, 210);
    EXPECT_EQ(win->clientGroup->width, 204);
    // The caption (title bar at y 3..22) moves the window.
    Drag(150, 60, 170, 40);
    EXPECT_EQ(screen.ScreenRect(win->hwnd), (Rect{110, 30, 320, 180}));
    EXPECT_EQ(win->frame.action, kZoneNone);
    // Never narrower than the minimum.
    Drag(319, 120, 0, 120);
    EXPECT_EQ(screen.ScreenRect(win->hwnd).Width(), 16);
}

TEST_F(CWinTest, DoubleClickAt400MsAnd7PixelsButNot8AndAThirdPressIsSingle)
{
    Open();
    Click(110, 60);
    screen.At(400);
    Click(117, 67);
    screen.At(500);
    screen.Press(117, 67, kMouseLeft);
    screen.At(1000);
    screen.Press(110, 60, kMouseLeft);
    screen.At(1100);
    screen.Press(118, 60, kMouseLeft);
    screen.At(2000);
    screen.Press(110, 60, kMouseRight);
    screen.At(2401);
    screen.Press(110, 60, kMouseRight);
    while (screen.Time() < 2500)
    {
        Pump();
        screen.Advance(1);
    }
    const std::vector<std::string> expected{"p down 10 10 1", "p up 10 10 1",   "p down 17 17 9",
                                            "p up 17 17 1",   "p down 17 17 1", "p down 10 10 1",
                                            "p down 18 10 1", "p down 10 10 2", "p down 10 10 2"};
    EXPECT_EQ(log, expected);
}

TEST_F(CWinTest, MovesCarryTheHeldButtonAndGoToThePressedControl)
{
    CWin* win = Open();
    AddProbe(win, "q", 100, 0, 50, 50);
    probe->width = 100;
    screen.Press(110, 60, kMouseLeft, kModShift);
    screen.Move(210, 60, kModShift);
    screen.Release(210, 60, kMouseLeft);
    screen.Move(215, 60);
    Click(215, 60);
    Pump();
    const std::vector<std::string> expected{"p down 10 10 17", "p move 110 10 17", "p up 110 10 1",
                                            "q move 15 10 0",  "q down 15 10 1",   "q up 15 10 1"};
    EXPECT_EQ(log, expected);
    // The press captured the mouse and the release let it go.
    EXPECT_EQ(screen.Capture(), 0u);
}

TEST_F(CWinTest, KeyWithoutCharacterAndModifierNeverReachesAControl)
{
    CWin* win = Open();
    win->SetFocusCtrl(probe);
    log.clear();
    screen.Key(kKeyNone);
    screen.Key(kKeyNone, kModAlt);
    screen.Key('a');
    screen.Key(kKeyLeft, kModCtrl);
    Pump();
    const std::vector<std::string> expected{"p key 0 64 0", "p key 97 0 0", "p key -2 32 0"};
    EXPECT_EQ(log, expected);
}

TEST_F(CWinTest, TabMovesTheFocusToTheNextTabStopAndWraps)
{
    CWin* win = Open();
    CProbe* a = AddProbe(win, "a", 0, 0, 10, 10);
    CProbe* b = AddProbe(win, "b", 0, 0, 10, 10);
    CProbe* c = AddProbe(win, "c", 0, 0, 10, 10);
    probe->tabStop = 0;
    a->tabStop = 1;
    c->tabStop = 1;
    a->handlesKeys = b->handlesKeys = c->handlesKeys = false;
    win->SetFocusCtrl(a);
    log.clear();
    screen.Key(kKeyTab);
    Pump();
    EXPECT_EQ(win->focusCtrl, c);
    screen.Key(kKeyTab);
    Pump();
    EXPECT_EQ(win->focusCtrl, a);
    const std::vector<std::string> expected{"a key -10 0 0", "a blur 0 0 0", "c focus 0 0 0",
                                            "c key -10 0 0", "c blur 0 0 0", "a focus 0 0 0"};
    EXPECT_EQ(log, expected);
}

TEST_F(CWinTest, EscapeClosesOnlyWithItsStyle)
{
    CWin* keep = Open();
    screen.Key(kKeyEscape);
    Pump();
    EXPECT_TRUE(keep->visible);
    keep->Close();
    CWin* win = Open(kWinEscapeCloses);
    probe->handlesKeys = false;
    screen.Key(kKeyEscape);
    Pump();
    EXPECT_FALSE(win->visible);
    EXPECT_FALSE(screen.IsVisible(win->hwnd));
    EXPECT_EQ(app.shownWindows.Count(), 0);
}

TEST_F(CWinTest, WheelGoesToTheHitControlThenItsAncestors)
{
    CWin* win = Open();
    win->DeleteChildren();
    log.clear();
    CGroup* group = win->AddChildAt(new CGroup(win), 20, 20, 100, 100);
    CProbe* inner = AddProbe(group, "in", 10, 10, 30, 30);
    inner->handlesWheel = false;
    EXPECT_FALSE(win->Wheel(35, 35, 0, 120, 0));
    EXPECT_EQ(log, (std::vector<std::string>{"in wheel 5 5 120"}));
    // Through the system: the toolkit window under the cursor takes it.
    log.clear();
    inner->handlesWheel = true;
    screen.Turn(135, 85, -240);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"in wheel 5 5 -240"}));
}

TEST_F(CWinTest, WheelOverAForeignWindowIsSentOn)
{
    Open();
    const SysWindow foreign = screen.Create(0, false, false, Rect{600, 600, 700, 700}, nullptr);
    screen.Show(foreign, false);
    screen.Turn(650, 650, 120);
    Pump();
    ASSERT_EQ(screen.sentToOthers.size(), 1u);
    EXPECT_EQ(screen.sentToOthers[0].delta, 120);
    EXPECT_TRUE(log.empty());
    // Presses on a window without a toolkit object get the default handling.
    Click(650, 650);
    Pump();
    EXPECT_TRUE(log.empty());
    screen.Destroy(foreign);
}

TEST_F(CWinTest, PaintsThroughTheBackBufferWithFrame)
{
    CWin* win = Own(new CWin(&app, nullptr, 0, "w", 10, 10, 60, 40));
    win->Show(true);
    Pump();
    CDrawContext* dc = screen.Context(win->hwnd);
    ASSERT_NE(dc, nullptr);
    // Inside: the "winbkgnd" fill; the frame in its white frame colour with cut corners.
    EXPECT_EQ(dc->GetPixel(30, 20), 0x505050u);
    EXPECT_EQ(dc->GetPixel(59, 20), 0xFFFFFFu);
    EXPECT_NE(dc->GetPixel(0, 0), 0xFFFFFFu);
    // A larger window grows the buffer on one axis only.
    screen.SetRect(win->hwnd, Rect{10, 10, 40, 100});
    Pump();
    EXPECT_EQ(app.backBuffer->width, 60);
    EXPECT_EQ(app.backBuffer->height, 90);
}

TEST_F(CWinTest, AfterAResizeTheWindowsGraphicDrawsOnTheLiveContext)
{
    CWin* win = Own(new CWin(&app, nullptr, 0, "w", 10, 10, 60, 40));
    ASSERT_NE(win->graphic, nullptr);
    // The software screen replaces a resized window's surface; the old one is gone.
    screen.SetRect(win->hwnd, Rect{10, 10, 90, 70});
    EXPECT_EQ(win->graphic->dc, screen.Context(win->hwnd));
    EXPECT_EQ(win->graphic->TextWidth("ab"), screen.Context(win->hwnd)->TextWidth("ab"));
}

TEST_F(CWinTest, CloseButtonClosesTheWindow)
{
    CWin* win = Own(new CWin(&app, nullptr, kWinTitleBar, "t", 0, 0, 200, 100));
    win->Show(true);
    Pump();
    // Close button: x = 3 + 194 - 16 - 2 = 179, y = 3 + 2.
    Click(185, 10);
    Pump();
    EXPECT_FALSE(win->visible);
}

TEST_F(CWinTest, CentredOnTheScreenWhenFirstShown)
{
    CWin* win = Own(new CWin(&app, nullptr, kWinCentre, "c", 0, 0, 200, 100));
    win->Show(false);
    EXPECT_EQ(screen.ScreenRect(win->hwnd), (Rect{412, 334, 612, 434}));
    EXPECT_EQ(win->style & kWinCentre, 0u);
}

TEST_F(CWinTest, DroppedFilesReachTheControlWithAnOnDropAndLongNamesAreCut)
{
    struct Owner
    {
        void Dropped(CCtrl* sender, int32_t px, int32_t py, int32_t)
        {
            where = sender;
            at = std::to_string(px) + "," + std::to_string(py);
            for (int i = 0; i < app->dropItems->Count(); ++i)
                names.push_back(static_cast<CObject*>(app->dropItems->Get(i))->Name());
        }
        explicit Owner(CApp* app) : app(app) {}
        CApp* app;
        CCtrl* where = nullptr;
        std::string at;
        std::vector<std::string> names;
    };
    Owner owner(&app);
    CWin* win = Open();
    CGroup* group = win->AddChildAt(new CGroup(win), 50, 50, 100, 100);
    group->OnDrop = new _COnMouse<Owner>(&owner, &Owner::Dropped);
    AddProbe(group, "in", 10, 10, 20, 20);
    const std::string longName(300, 'x');
    screen.DropFiles(165, 115, {"C:\\a.fxp", longName});
    Pump();
    EXPECT_EQ(owner.where, group);
    EXPECT_EQ(owner.at, "15,15");
    ASSERT_EQ(owner.names.size(), 2u);
    EXPECT_EQ(owner.names[0], "C:\\a.fxp");
    EXPECT_EQ(owner.names[1], std::string(260, 'x'));
    EXPECT_EQ(app.dropItems, nullptr);
}

TEST_F(CWinTest, AControlDeletedWhileHoldingCaptureAndFocusIsForgotten)
{
    CWin* win = Open();
    win->SetFocusCtrl(probe);
    screen.Press(110, 60, kMouseLeft);
    Pump();
    ASSERT_EQ(win->pressedCtrl, probe);
    app.hoverCtrl = probe;
    app.overCtrl = probe;
    delete probe;
    EXPECT_EQ(win->pressedCtrl, nullptr);
    EXPECT_EQ(win->focusCtrl, nullptr);
    EXPECT_EQ(app.hoverCtrl, nullptr);
    EXPECT_EQ(app.overCtrl, nullptr);
    screen.Move(120, 70, kMouseLeft);
    screen.Release(120, 70, kMouseLeft);
    screen.Key('a');
    Pump();
    EXPECT_EQ(screen.Capture(), 0u);
}

TEST_F(CWinTest, AWindowClosedFromItsOwnHandlerTakesNoMoreInput)
{
    CCloser closer;
    CWin* win = Open();
    win->DeleteChildren();
    CCtrl* button = win->AddChildAt(new CCtrl(win), 0, 0, 20, 20);
    button->OnMouseDown = new _COnMouse<CCloser>(&closer, &CCloser::Down);
    Click(105, 55);
    Pump();
    EXPECT_FALSE(win->visible);
    EXPECT_EQ(win->pressedCtrl, nullptr);
}

TEST_F(CWinTest, DestroyingTheWindowLeavesNoPointerAndNoUserData)
{
    CWin* win = WindowTestKit::Open(0, "p", 100, 50, 200, 150);
    const SysWindow hwnd = win->hwnd;
    win->pressedCtrl = probe;
    win->focusCtrl = probe;
    app.overCtrl = probe;
    app.hoverCtrl = win;
    app.StartTimer(probe, 20, true);
    delete win;
    EXPECT_EQ(app.overCtrl, nullptr);
    EXPECT_EQ(app.hoverCtrl, nullptr);
    EXPECT_EQ(app.timers.Count(), 0);
    EXPECT_EQ(screen.UserData(hwnd), nullptr);
    EXPECT_EQ(app.shownWindows.Count(), 0);
}

TEST_F(CWinTest, HitTestTakesTheFirstDirectChildThatHoldsThePoint)
{
    CWin win(&app, nullptr, kWinNoBorder, "h", 0, 0, 200, 100);
    CProbe* inner = AddProbe(&win, "i", 10, 10, 20, 20);
    EXPECT_EQ(win.HitTest(15, 15), inner);
    EXPECT_EQ(win.HitTest(40, 40), static_cast<CCtrl*>(win.clientGroup));
    EXPECT_EQ(win.HitTest(250, 40), nullptr);
    win.scrollY = 15;
    EXPECT_EQ(win.HitTest(15, 0), inner);
}

TEST_F(CWinTest, InvalidateCollectsTheAreaToRepaint)
{
    CWin win(&app, nullptr, 0, "i", 0, 0, 300, 200);
    win.InvalidateRect(Rect{10, 10, 20, 20});
    win.InvalidateRect(Rect{50, 5, 40, 15});
    EXPECT_EQ(win.dirty, (Rect{10, 5, 50, 20}));
    // Hidden: the whole-window invalidation does nothing.
    win.Invalidate();
    EXPECT_EQ(win.dirty, (Rect{10, 5, 50, 20}));
    win.Show(false);
    Pump();
    EXPECT_TRUE(win.dirty.IsEmpty());
    const int32_t paints = screen.paints;
    win.Invalidate();
    // Painted at once, not left for the queue.
    EXPECT_EQ(screen.paints, paints + 1);
    EXPECT_TRUE(win.dirty.IsEmpty());
}

}  // namespace
