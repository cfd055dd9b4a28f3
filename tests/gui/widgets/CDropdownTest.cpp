#include "gui/widgets/CDropdown.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"

namespace
{

class CDropdownTest : public WidgetTest
{
protected:
    // A 120 x 20 dropdown at (10, 10) with the given entries, the first selected.
    CDropdown* Dropdown(std::initializer_list<const char*> entries, int32_t mode)
    {
        CDropdown* d = new CDropdown(win);
        for (const char* e : entries)
            d->AddEntry(e);
        d->mode = mode;
        d->SetSelection(0);
        d->OnChange = changes.Binder();
        return Put(d, 10, 10, 120, 20);
    }

public:
    void LeftButton(CCtrl*) { ++leftButtonCalls; }
    int leftButtonCalls = 0;
    Reports changes{[](CCtrl* c) { return static_cast<CDropdown*>(c)->selection; }};
};

TEST_F(CDropdownTest, StepArrowsSelectOnReleaseWithinTheEntries)
{
    CDropdown* d = Dropdown({"saw", "square", "sine"}, kDropdownStepArrows);
    // The right square (100..119) is next, the one left of it (80..99) previous.
    for (int32_t x : {110, 119, 100, 99, 80, 80})
        Click(d, x, 10);
    EXPECT_EQ(changes.values, (std::vector<int32_t>{1, 2, 1, 0}));
    // Only a release over an arrow counts.
    Press(d, 110, 10);
    Release(d, 110, 30);
    // A press on the text opens the list (closed here by Escape).
    screen.Press(10 + 10, 10 + 10, kMouseLeft);
    screen.Key(kKeyEscape);
    Release(d, 110, 10);
    EXPECT_EQ(changes.values.size(), 4u);

    // An editable dropdown takes the entry's text over what was typed.
    d->editable = 1;
    Click(d, 20, 10);
    EXPECT_EQ(win->focusCtrl, d);
    Keys({kKeyEnd});
    Keys({kKeyHome}, kModShift);
    Type("tri");
    EXPECT_STREQ(d->text, "tri");
    Click(d, 110, 10);
    EXPECT_STREQ(d->text, "square");
    // Chosen while editing, the entry is not reported again when editing ends.
    win->SetFocusCtrl(nullptr);
    EXPECT_EQ(changes.values.size(), 5u);
}

TEST_F(CDropdownTest, ThePopupListChoosesWithTheKeysAndReportsOnce)
{
    CDropdown* d = Dropdown({"sine", "triangle", "saw", "square"}, kDropdownList);
    d->SetSelection(1);
    // The list opens on the press and runs until Enter; the selection starts highlighted.
    screen.Press(10 + 110, 10 + 10, kMouseLeft);
    screen.Release(10 + 110, 10 + 10, kMouseLeft);
    Keys({kKeyDown, kKeyDown, kKeyEnter});
    EXPECT_STREQ(d->text, "square");
    EXPECT_EQ(changes.senders, std::vector<CCtrl*>{d});
    EXPECT_EQ(app.popupStack.Count(), 0);

    // Escape closes it choosing nothing; so does choosing the selected entry again.
    screen.Press(10 + 30, 10 + 10, kMouseLeft);
    Keys({kKeyUp, kKeyEscape});
    screen.Press(10 + 30, 10 + 10, kMouseLeft);
    Keys({kKeyEnter});
    EXPECT_EQ(changes.values, (std::vector<int32_t>{3}));
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CDropdownTest, CtrlWheelAndKeysMoveTheSelectionWithinTheEntries)
{
    CDropdown* d = Dropdown({"a", "b", "c"}, kDropdownList);
    d->SetSelection(1);
    EXPECT_FALSE(d->Wheel(5, 5, 0, -120, 0));
    for (int32_t delta : {-120, -120, 120, 120, 120})
        Turn(d, delta, kModCtrl);
    win->SetFocusCtrl(d);
    Keys({kKeyDown});
    EXPECT_STREQ(d->text, "b");
    Keys({kKeyUp, kKeyUp});
    EXPECT_EQ(changes.values, (std::vector<int32_t>{2, 1, 0, 1, 0}));
}

TEST_F(CDropdownTest, AnEmptyDropdownIgnoresWheelArrowsKeysAndPresses)
{
    CDropdown* d = Dropdown({}, kDropdownStepArrows);
    EXPECT_EQ(d->EntryText(0), nullptr);
    for (int32_t x : {110, 90, 10})
        Click(d, x, 10);
    EXPECT_FALSE(d->Wheel(5, 5, kModCtrl, 120, 0));
    win->SetFocusCtrl(d);
    Keys({kKeyDown, kKeyUp, kKeyEnter, ' '});
    d->mode = kDropdownList;
    Click(d, 110, 10);
    d->Choose(3);
    d->SetSelection(-4);
    EXPECT_EQ(d->selection, -1);
    EXPECT_STREQ(d->text, "");
    EXPECT_TRUE(changes.senders.empty());

    // Entries emptied under a selection leave nothing selected.
    d->AddEntry("one");
    d->SetSelection(0);
    d->ClearEntries();
    EXPECT_EQ(d->selection, -1);
    win->PaintWindow(Rect{0, 0, 320, 200});
}

TEST_F(CDropdownTest, TheLeftHandButtonHasItsOwnHandler)
{
    CDropdown* d = Dropdown({"x", "y"}, kDropdownStepArrows);
    d->OnLeftButton = new _COnChange<CDropdownTest>(this, &CDropdownTest::LeftButton);
    Press(d, 19, 10);
    EXPECT_EQ(leftButtonCalls, 1);
    EXPECT_EQ(screen.Capture(), 0u);
    Release(d, 19, 10);
    Click(d, 20, 10);
    EXPECT_EQ(leftButtonCalls, 1);
    EXPECT_TRUE(changes.senders.empty());
}

}  // namespace
