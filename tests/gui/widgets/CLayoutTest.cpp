#include "gui/widgets/CLayout.h"

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/widgets/CHistoryPanel.h"
#include "gui/widgets/CLabel.h"

#include <gtest/gtest.h>

namespace
{

class CLayoutTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CLayoutTest, RemembersTheLastChildUntilItOrAllChildrenGo)
{
    CWin win(&app, nullptr, 0, "l", 0, 0, 100, 100);
    CLayout* layout = new CLayout(&win);
    win.AddChild(layout);
    EXPECT_EQ(layout->Last(), nullptr);
    CLabel* b = new CLabel(&win, "b");
    layout->AddChild(new CLabel(&win, "a"));
    layout->AddChild(b);
    EXPECT_EQ(layout->Last(), b);
    delete b;
    EXPECT_EQ(layout->Last(), nullptr);
    layout->AddChild(new CLabel(&win, "c"));
    layout->DeleteChildren();
    EXPECT_EQ(layout->Last(), nullptr);
    EXPECT_EQ(layout->children.Count(), 0);
}

TEST_F(CLayoutTest, RowAndColumnCursors)
{
    CCtrl wide(nullptr);
    wide.x = 10;
    wide.width = 30;
    CCtrl narrow(nullptr);
    narrow.x = 5;
    narrow.width = 10;

    CRow row(4);
    row.Advance(6, 100);
    EXPECT_EQ(row.x, 10);
    row.Place(wide);
    EXPECT_EQ(row.x, 40);
    row.Place(narrow);  // its right edge 15 lies left of the cursor
    EXPECT_EQ(row.x, 40);
    row.Skip(8);
    EXPECT_EQ(row.x, 48);

    CCol col(2);
    col.Advance(100, 5);
    col.Skip(3);
    col.Place(wide);
    EXPECT_EQ(col.y, 10);

    // Through the base the row's own moves are taken.
    CBox& asBox = row;
    asBox.Skip(2);
    EXPECT_EQ(row.x, 50);
}

TEST_F(CLayoutTest, BackgroundsOfLayoutToolbarAndPanels)
{
    CWin* win = new CWin(&app, nullptr, kWinNoBorder, "bg", 0, 0, 200, 100);
    win->clientGroup->background = 0x0000FF;
    CLayout* layout = new CLayout(win);
    layout->width = 50;
    layout->height = 40;
    CToolbar* bar = new CToolbar(win);
    bar->x = 50;
    bar->width = 50;
    EXPECT_EQ(bar->height, 22);
    CHistoryPanel* history = new CHistoryPanel(win);
    history->x = 100;
    history->width = 50;
    history->height = 40;
    CTestGroup* tests = new CTestGroup(win);
    tests->x = 150;
    tests->width = 50;
    tests->height = 40;
    win->AddChild(layout);
    win->AddChild(bar);
    win->AddChild(history);
    win->AddChild(tests);
    win->Show(true);
    Pump();
    CDrawContext* dc = screen.Context(win->hwnd);
    EXPECT_EQ(dc->GetPixel(20, 20), 0x505050u);
    EXPECT_EQ(dc->GetPixel(75, 10), 0x505050u);  // "toolbar": window colour
    EXPECT_EQ(dc->GetPixel(75, 30), 0x0000FFu);  // below the bar's 22 pixels
    EXPECT_EQ(dc->GetPixel(120, 20), 0x505050u);
    EXPECT_EQ(dc->GetPixel(170, 20), 0x000000u);  // "tabs": panel colour
    EXPECT_EQ(dc->GetPixel(150, 0), 0x0000FFu);   // its cut corner
    delete win;
}

}  // namespace
