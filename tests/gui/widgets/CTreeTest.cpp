#include "gui/widgets/CTree.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CScrollbar.h"

namespace
{

class CTreeTest : public WidgetTest
{
protected:
    Reports changes{[](CCtrl* c) { return static_cast<CTree*>(c)->selected != nullptr ? 1 : 0; }};
};

TEST_F(CTreeTest, ExpandersShowAndHideChildrenInDisplayOrder)
{
    CTree* tree = win->AddChildAt(new CTree(win), 10, 10, 150, 120);
    tree->OnChange = changes.Binder();
    CTreeNode* a = tree->AddNode(nullptr, "A");
    tree->AddNode(nullptr, "B");
    tree->AddNode(a, "A1");
    CTreeNode* a2 = tree->AddNode(a, "A2");
    CTreeNode* a2a = tree->AddNode(a2, "A2a");
    Show();
    EXPECT_EQ(tree->ShownCount(), 2);

    Click(10 + 5, 10 + 9);  // A's expander
    EXPECT_EQ(a->expanded, 1);
    EXPECT_EQ(tree->ShownCount(), 4);
    EXPECT_TRUE(changes.values.empty());  // expanding selects nothing

    Click(10 + 16 + 5, 10 + 36 + 9);  // A2's expander, one indent in
    EXPECT_EQ(tree->ShownCount(), 5);
    screen.Advance(500);
    Click(10 + 60, 10 + 36 + 9);  // A2's text
    EXPECT_EQ(tree->selected, a2);
    EXPECT_EQ(changes.values.size(), 1u);

    Click(10 + 5, 10 + 9);  // collapse A: its descendants go, B moves back up
    EXPECT_EQ(a->expanded, 0);
    EXPECT_EQ(tree->ShownCount(), 2);
    EXPECT_FALSE(a2a->visible);
    // The press falls through the hidden rows onto the tree itself.
    Click(10 + 60, 10 + 54 + 9);
    EXPECT_EQ(tree->selected, a2);
    // A double click on a node with children toggles it.
    screen.Advance(500);
    Click(10 + 60, 10 + 9);
    Click(10 + 60, 10 + 9);
    EXPECT_EQ(tree->selected, a);
    EXPECT_EQ(a->expanded, 1);
}

TEST_F(CTreeTest, WheelScrollsTheBarByTheRawDeltaWithoutCtrl)
{
    CTree* tree = win->AddChildAt(new CTree(win), 10, 10, 150, 90);  // five rows in view
    for (int32_t i = 0; i < 20; ++i)
        tree->AddNode(nullptr, ("node " + std::to_string(i)).c_str());
    Show();
    screen.Turn(50, 50, -120);
    Pump();
    EXPECT_EQ(tree->bar->value, 120);
    // Row 7 now sits at 6 .. 23: a press there selects it.
    Click(10 + 60, 10 + 10);
    EXPECT_EQ(tree->selected, tree->Node(7));
    screen.Turn(50, 50, -1000, kModCtrl);
    Pump();
    EXPECT_EQ(tree->bar->value, 270);
    tree->DeleteChildren();
    EXPECT_EQ(tree->selected, nullptr);
    EXPECT_EQ(tree->bar->value, 0);
    EXPECT_FALSE(tree->bar->visible);
    Click(10 + 60, 10 + 10);
    EXPECT_EQ(tree->selected, nullptr);
}

}  // namespace
