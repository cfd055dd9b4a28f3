#include "gui/widgets/CLayout.h"

#include "core/WindowTestKit.h"
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

    CCol col(2);
    col.Advance(100, 5);
    col.Skip(3);
    col.Place(wide);
    EXPECT_EQ(col.y, 10);

    // Through the base the row's own moves are taken.
    CBox& asBox = row;
    asBox.Skip(8);
    EXPECT_EQ(row.x, 48);
}

}  // namespace
