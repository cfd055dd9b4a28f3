#include "gui/widgets/CLayout.h"

#include "core/WindowTestKit.h"
#include "gui/widgets/CLabel.h"

#include <gtest/gtest.h>

namespace
{

TEST(CLayout, RemembersTheLastChildUntilItOrAllChildrenGo)
{
    WindowTestKit kit;
    CWin win(&kit.app, nullptr, 0, "l", 0, 0, 100, 100);
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

}  // namespace
