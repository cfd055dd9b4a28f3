#include "gui/widgets/CMenu.h"

#include "WidgetTestKit.h"

#include <gtest/gtest.h>

namespace
{

class CMenuTest : public MenuTest
{
protected:
    CMenuTest()
    {
        bar = new CMenu(win, kMenuBar);
        bar->width = 400;
        win->AddChild(bar);
        CMenuItem* file = bar->Add("File");
        file->Add("New", 1);
        CMenuItem* recent = file->Add("Open recent", 2);
        recent->Add("bank1.fxb", 21);
        recent->Add("bank2.fxb", 22)->checked = 1;
        file->AddSeparator();
        file->Add("Quit", 3);
        CMenuItem* view = bar->Add("View");
        view->Add("Zoom", 4);
        CMenuItem* size = view->Add("", 5, kEntryChoices);
        for (const char* label : {"1", "2", "3"})
            size->AddChoice(label);
        size->choice = 1;
        bar->root.OnChange = Recorder();
        snap = [this] { return std::to_string(bar->openIndex) + " " + PopupState(); };
    }

    // The middle of entry index in screen coordinates (the window is at 0, 0).
    int32_t EntryX(int32_t index)
    {
        const Rect r = bar->EntryRect(index);
        return (r.left + r.right) / 2;
    }

    CMenu* bar;
};

TEST_F(CMenuTest, ASubmenuOpensWithRightAndClosesWithLeft)
{
    EXPECT_EQ(win->menuBar, bar);
    win->SetFocusCtrl(bar);
    Queue({kKeyEnter, 's', kKeyDown, kKeyDown, kKeyRight, 's', kKeyLeft, 's', kKeyRight, kKeyDown, 's', kKeyLeft,
           kKeyEscape, 's'});
    screen.Key(kKeyEscape);
    Pump();
    const std::vector<std::string> expected{"0 1/-1", "0 2/0", "0 1/1", "0 2/1", "-1 0/-9"};
    EXPECT_EQ(snaps, expected);
    // The first Escape closed the popup, the second took the focus from the bar.
    EXPECT_EQ(win->focusCtrl, nullptr);
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CMenuTest, LeftAndRightWrapAndReopenInPlace)
{
    win->SetFocusCtrl(bar);
    // Without a popup the current entry moves and wraps.
    EXPECT_TRUE(bar->KeyDown(kKeyLeft, 0));
    EXPECT_EQ(bar->current, 1);
    EXPECT_TRUE(bar->KeyDown(kKeyRight, 0));
    EXPECT_EQ(bar->current, 0);
    // With one, the neighbour's popup takes its place (keys the popup leaves reach the bar).
    // Right on View's plain Zoom is not the popup's: the bar wraps on to File.
    Queue({kKeyDown, 's', kKeyLeft, 's', kKeyRight, 's', kKeyRight, kKeyDown, 's', kKeyRight, 's', kKeyEscape});
    Pump();
    const std::vector<std::string> expected{"0 1/-1", "1 1/-1", "0 1/-1", "1 1/0", "0 1/-1"};
    EXPECT_EQ(snaps, expected);
    EXPECT_EQ(win->focusCtrl, bar);
    EXPECT_EQ(app.popupStack.Count(), 0);
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CMenuTest, ChoosingReportsOnceAndTakesTheFocusFromTheBar)
{
    win->SetFocusCtrl(bar);
    Queue({kKeyRight, kKeyEnter, kKeyDown, kKeyDown, kKeyRight, kKeyRight, kKeyEnter});
    Pump();
    EXPECT_EQ(reported, (std::vector<int32_t>{5}));
    CMenuItem* size = bar->root.Entry(1)->Entry(1);
    EXPECT_EQ(size->choice, 2);
    EXPECT_EQ(win->focusCtrl, nullptr);
    EXPECT_EQ(bar->openIndex, -1);
    EXPECT_EQ(app.popupStack.Count(), 0);
}

TEST_F(CMenuTest, TheMouseOpensSwitchesAndClosesPopups)
{
    // Press on View opens it; moving over File switches; a press on File closes it.
    screen.Press(EntryX(1), 10, kMouseLeft);
    screen.Key('s');
    screen.Move(EntryX(0), 10, kMouseLeft);
    screen.Key('s');
    screen.Release(EntryX(0), 10, kMouseLeft);
    screen.Press(EntryX(0), 10, kMouseLeft);
    screen.Release(EntryX(0), 10, kMouseLeft);
    screen.Key('s');
    Pump();
    const std::vector<std::string> expected{"1 1/-1", "0 1/-1", "-1 0/-9"};
    EXPECT_EQ(snaps, expected);
    EXPECT_EQ(win->pressedCtrl, nullptr);
}

TEST_F(CMenuTest, ABarDeletedByItsOwnReportLeavesNothingBehind)
{
    struct Deleter
    {
        void Chosen(CCtrl*)
        {
            delete *bar;
            *bar = nullptr;
        }
        CMenu** bar;
    } deleter{&bar};
    delete bar->root.OnChange;
    bar->root.OnChange = new _COnChange<Deleter>(&deleter, &Deleter::Chosen);
    win->SetFocusCtrl(bar);
    Queue({kKeyEnter, kKeyDown, kKeyEnter, kKeyDown});
    Pump();
    EXPECT_EQ(bar, nullptr);
    EXPECT_EQ(win->menuBar, nullptr);
    EXPECT_EQ(app.popupStack.Count(), 0);
}

TEST_F(CMenuTest, AnEmptyBarTakesKeysAndOpensNothing)
{
    CMenu* empty = new CMenu(win, kMenuTabs);
    win->AddChild(empty);
    win->SetFocusCtrl(empty);
    for (int32_t key : {kKeyEnter, kKeyDown, kKeyLeft, kKeyRight})
        EXPECT_TRUE(empty->KeyDown(key, 0));
    EXPECT_EQ(app.popupStack.Count(), 0);
    EXPECT_EQ(empty->EntryAt(5), -1);
    EXPECT_TRUE(empty->KeyDown(kKeyEscape, 0));
    EXPECT_EQ(win->focusCtrl, nullptr);
}

}  // namespace
