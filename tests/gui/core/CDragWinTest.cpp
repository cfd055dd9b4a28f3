#include "gui/core/CDragWin.h"

#include "WindowTestKit.h"
#include "gui/core/CDropItem.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

namespace
{

// Starts a drag of one file when its control asks, and notes what the
// targets are told.
struct DragOwner
{
    void Start(CCtrl* sender, int32_t, int32_t, int32_t)
    {
        CList* items = new CList();
        items->Add(new CDropItem("bass.fxp", "C:\\bass.fxp"));
        sender->window->app->BeginDrag(sender->window, items);
        ++starts;
    }
    void Over(CCtrl*, int32_t px, int32_t py, int32_t flags) { Note("over", px, py, flags); }
    void Drop(CCtrl* sender, int32_t px, int32_t py, int32_t flags)
    {
        Note("drop", px, py, flags);
        dropped = static_cast<CObject*>(sender->window->app->dropItems->Get(0))->Name();
    }
    void Note(const char* op, int32_t px, int32_t py, int32_t flags)
    {
        log.push_back(std::string(op) + " " + std::to_string(px) + " " + std::to_string(py) + " " +
                      std::to_string(flags));
    }
    int starts = 0;
    std::vector<std::string> log;
    std::string dropped;
};

class CDragWinTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CDragWinTest, ADragFollowsTheCursorTellsTheTargetsAndDropsInAnotherWindow)
{
    DragOwner owner;
    // Source window at (100, 50), target window at (400, 50), both without border.
    CWin* from = Own(new CWin(&app, nullptr, kWinNoBorder, "from", 100, 50, 200, 150));
    CCtrl* source = from->AddChildAt(new CCtrl(from), 0, 0, 100, 150);
    source->OnDragStart = new _COnMouse<DragOwner>(&owner, &DragOwner::Start);
    CWin* to = Own(new CWin(&app, nullptr, kWinNoBorder, "to", 400, 50, 200, 150));
    CCtrl* target = to->AddChildAt(new CCtrl(to), 20, 10, 100, 100);
    target->OnDrop = new _COnMouse<DragOwner>(&owner, &DragOwner::Drop);
    target->OnDragOver = new _COnMouse<DragOwner>(&owner, &DragOwner::Over);
    from->Show(true);
    to->Show(false);
    Pump();

    // Nine pixels start the drag.
    screen.Press(110, 60, kMouseLeft);
    screen.Move(119, 60);
    Pump();
    ASSERT_EQ(owner.starts, 1);
    CDragWin* drag = app.dragWindow;
    ASSERT_NE(drag, nullptr);
    EXPECT_TRUE(screen.IsVisible(drag->hwnd));
    EXPECT_EQ(screen.ScreenRect(drag->hwnd).left, 127);
    // Never activated: the source window keeps the focus.
    EXPECT_EQ(screen.Focus(), from->hwnd);

    // Over the target (window point 50, 50 is its local 30, 40), then off it.
    screen.Move(450, 100);
    Pump();
    EXPECT_EQ(screen.ScreenRect(drag->hwnd).top, 120);
    screen.Move(350, 100);
    Pump();
    EXPECT_EQ(app.dropTarget, nullptr);
    // Back over it and released: the drop reaches it in its own coordinates.
    screen.Move(460, 110);
    screen.Release(460, 110, kMouseLeft);
    Pump();
    const std::vector<std::string> expected{"over 30 40 1", "over -70 40 1", "over 40 50 1", "drop 40 50 1"};
    EXPECT_EQ(owner.log, expected);
    EXPECT_EQ(owner.dropped, "bass.fxp");
    EXPECT_FALSE(screen.IsVisible(drag->hwnd));
    EXPECT_EQ(app.dropItems, nullptr);
    EXPECT_EQ(screen.Capture(), 0u);
}

TEST_F(CDragWinTest, ATargetDeletedDuringTheDragIsForgottenAndAnEmptyDragShowsNothing)
{
    DragOwner owner;
    CWin* win = Own(new CWin(&app, nullptr, kWinNoBorder, "w", 0, 0, 300, 100));
    CCtrl* target = win->AddChildAt(new CCtrl(win), 200, 0, 100, 100);
    target->OnDrop = new _COnMouse<DragOwner>(&owner, &DragOwner::Drop);
    win->Show(true);
    Pump();
    screen.Press(10, 10, kMouseLeft);
    Pump();
    app.BeginDrag(win, new CList());
    EXPECT_EQ(app.dragWindow, nullptr);
    ASSERT_NE(app.dropItems, nullptr);
    screen.Move(250, 50);
    Pump();
    EXPECT_EQ(app.dropTarget, target);
    delete target;
    EXPECT_EQ(app.dropTarget, nullptr);
    screen.Release(250, 50, kMouseLeft);
    Pump();
    EXPECT_TRUE(owner.log.empty());
    EXPECT_EQ(app.dropItems, nullptr);
}

}  // namespace
