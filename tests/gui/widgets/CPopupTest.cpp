#include "gui/widgets/CPopup.h"

#include "gui/core/CClientGroup.h"
#include "WidgetTestKit.h"

#include <gtest/gtest.h>

namespace
{

class CPopupTest : public MenuTest
{
protected:
    // New(1), Recent > [a(10), b(11)], separator, Quit(3); every entry reports to the recorder.
    void BuildMenu()
    {
        menu.Add("New", 1);
        CMenuItem* recent = menu.Add("Recent", 2);
        recent->Add("a", 10);
        recent->Add("b", 11);
        menu.AddSeparator();
        menu.Add("Quit", 3);
        menu.OnChange = Recorder();
    }

    CMenuItem menu{""};
};

TEST_F(CPopupTest, EnterInASubmenuReportsTheEntryOnceAfterClosingEveryPopup)
{
    BuildMenu();
    Queue({kKeyDown, kKeyDown, kKeyRight, 's', kKeyDown, kKeyEnter});
    EXPECT_TRUE(CPopup::Run(win, &menu, 100, 50));
    EXPECT_EQ(snaps, (std::vector<std::string>{"2/0"}));
    EXPECT_EQ(reported, (std::vector<int32_t>{11}));
    EXPECT_EQ(openWhenReported, (std::vector<int32_t>{0}));
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CPopupTest, KeysMoveOverEntriesSkippingSeparatorsWithoutWrapping)
{
    BuildMenu();
    // Up with no highlight takes the last entry; Home and End go to the ends.
    Queue({kKeyUp, 's', kKeyUp, 's', kKeyUp, 's', kKeyUp, 's', kKeyUp, 's', kKeyEnd, 's', kKeyDown, 's', kKeyHome, 's',
           kKeyEnter});
    EXPECT_TRUE(CPopup::Run(win, &menu, 100, 50));
    const std::vector<std::string> expected{"1/3", "1/1", "1/0", "1/0", "1/0", "1/3", "1/3", "1/0"};
    EXPECT_EQ(snaps, expected);
    EXPECT_EQ(reported, (std::vector<int32_t>{1}));
}

TEST_F(CPopupTest, SpaceTogglesCheckMarksAndEscapeChoosesNothing)
{
    BuildMenu();
    Queue({kKeyDown, ' ', kKeyDown, ' ', kKeyEscape});
    EXPECT_FALSE(CPopup::Run(win, &menu, 100, 50));
    EXPECT_EQ(menu.Entry(0)->checked, 1);
    EXPECT_EQ(menu.Entry(1)->checked, 0);  // a submenu carries no mark
    EXPECT_TRUE(reported.empty());
}

TEST_F(CPopupTest, ARowOfChoicesReportsTheCellReleasedOn)
{
    CMenuItem* row = menu.Add("size", 7, kEntryChoices);
    for (const char* label : {"1", "2", "4", "8"})
        row->AddChoice(label);
    menu.OnChange = Recorder();
    // A release over the fourth cell (x 2 + 3 * 16 in the row) chooses it; keys are the menu bar's test.
    screen.Move(100 + 2 + 50, 50 + 10);
    screen.Release(100 + 2 + 50, 50 + 10, kMouseLeft);
    EXPECT_TRUE(CPopup::Run(win, &menu, 100, 50));
    EXPECT_EQ(row->choice, 3);
    EXPECT_EQ(reported, (std::vector<int32_t>{7}));
}

TEST_F(CPopupTest, PlacementKeepsPopupsWithinTheWorkArea)
{
    screen.workArea = Rect{0, 0, 1024, 738};  // a task bar along the bottom
    BuildMenu();
    // In the bottom-right corner a menu opens leftwards and upwards from the point.
    CPopup atPoint(&app, win, &menu);
    atPoint.PlaceAt(1020, 730);
    const Rect corner = screen.ScreenRect(atPoint.hwnd);
    EXPECT_EQ(corner.right, 1020);
    EXPECT_EQ(corner.bottom, 730);

    // A dropdown list at least as wide as its control, above it when there is no room below.
    CPopup2 list(&app, win, &menu);
    list.minListWidth = 150;
    list.PlaceBelow(Rect{500, 700, 650, 720});
    EXPECT_EQ(screen.ScreenRect(list.hwnd), (Rect{500, 700 - 59, 650, 700}));
    list.PlaceBelow(Rect{950, 100, 1100, 120});
    EXPECT_EQ(screen.ScreenRect(list.hwnd), (Rect{1024 - 150, 120, 1024, 179}));

    // A submenu beside its row, on the left side at the right edge.
    CPopup sub(&app, win, menu.Entry(1));
    sub.PlaceBeside(Rect{902, 318, 998, 334}, Rect{900, 300, 1000, 400});
    EXPECT_EQ(screen.ScreenRect(sub.hwnd).right, 902);
    sub.PlaceBeside(Rect{102, 318, 198, 334}, Rect{100, 300, 200, 400});
    EXPECT_EQ(screen.ScreenRect(sub.hwnd).left, 198);
}

TEST_F(CPopupTest, AListTallerThanTheWorkAreaIsCutToItAndScrollsWithTheHighlight)
{
    screen.workArea = Rect{0, 0, 1024, 300};
    for (int32_t i = 0; i < 40; ++i)
        menu.Add("entry", i);
    CPopup popup(&app, win, &menu);
    popup.PlaceAt(0, 0);
    EXPECT_EQ(screen.ScreenRect(popup.hwnd), (Rect{0, 0, popup.width, 300}));
    popup.Highlight(39, 0);
    EXPECT_EQ(popup.RowRect(39).bottom, 300 - 2);
    EXPECT_EQ(popup.rowOffset, 40 * 16 - 296);
    int32_t c = 0;
    EXPECT_EQ(popup.RowAt(10, 297, c), 39);
}

TEST_F(CPopupTest, DropdownListStartsOnTheSelectionAndReturnsTheIndexChosen)
{
    CCtrl* control = win->AddChildAt(new CCtrl(win), 40, 30, 120, 18);
    for (const char* name : {"SIN", "TRI", "SAW", "SQUARE"})
        menu.Add(name);
    menu.OnChange = Recorder();
    snap = [this] { return PopupState() + " " + std::to_string(app.topPopup->width); };
    Queue({'s', kKeyDown, kKeyEnter});
    EXPECT_EQ(CPopup2::RunBelow(control, &menu, 1), 2);
    EXPECT_EQ(snaps, (std::vector<std::string>{"1/1 120"}));
    EXPECT_EQ(reported.size(), 1u);
    // A press outside chooses nothing and reaches the window it was made on.
    screen.Press(10, 250, kMouseLeft);
    EXPECT_EQ(CPopup2::RunBelow(control, &menu, 0), -1);
    EXPECT_EQ(log.back(), "main down 10 150 1");
    EXPECT_EQ(reported.size(), 1u);
}

TEST_F(CPopupTest, AListOpenedByAPressLeavesNoPressedControlBehind)
{
    struct Opener
    {
        void Down(CCtrl* sender, int32_t, int32_t, int32_t) { chosen = CPopup2::RunBelow(sender, list, 0); }
        CMenuItem* list;
        int32_t chosen;
    } opener{&menu, -2};
    CCtrl* control = win->AddChildAt(new CCtrl(win), 40, 30, 120, 18);
    control->OnMouseDown = new _COnMouse<Opener>(&opener, &Opener::Down);
    for (const char* name : {"SIN", "TRI", "SAW"})
        menu.Add(name);
    // The list opens at y 48; its third row spans 48 + 2 + 32 ... + 16.
    screen.Press(50, 35, kMouseLeft);
    screen.Move(60, 90, kMouseLeft);
    screen.Release(60, 90, kMouseLeft);
    screen.Move(10, 250);
    Pump();
    EXPECT_EQ(opener.chosen, 2);
    EXPECT_EQ(win->pressedCtrl, nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"main move 10 150 0"}));
}

TEST_F(CPopupTest, TheMouseOpensSubmenusAndAReleaseChooses)
{
    BuildMenu();
    // Rows at (100, 50): New 52..67, Recent 68..83; the submenu opens beside Recent.
    screen.Move(120, 75);
    screen.Key('s');
    screen.Move(120, 60);  // back on New: the submenu closes
    screen.Key('s');
    screen.Move(120, 75);
    screen.Key('x');
    action = [this]
    {
        const Rect sub = screen.ScreenRect(app.topPopup->hwnd);
        screen.Move(sub.left + 10, sub.top + 2 + 16 + 8);
        screen.Release(sub.left + 10, sub.top + 2 + 16 + 8, kMouseLeft);
    };
    EXPECT_TRUE(CPopup::Run(win, &menu, 100, 50));
    EXPECT_EQ(snaps, (std::vector<std::string>{"2/-1", "1/0"}));
    EXPECT_EQ(reported, (std::vector<int32_t>{11}));
}

TEST_F(CPopupTest, EntriesDeletedWhileOpenCloseTheirPopupsSafely)
{
    BuildMenu();
    // Deleting the open submenu's entry closes that popup; emptying the menu leaves an empty list.
    int32_t step = 0;
    action = [this, &step]
    {
        if (step++ == 0)
            delete menu.Entry(1);
        else
            menu.DeleteEntries();
    };
    Queue({kKeyDown, kKeyDown, kKeyRight, 's', 'x', 's', kKeyDown, 's', 'x', 's', kKeyDown, kKeyUp, kKeyEnter, ' ',
           kKeyEscape});
    EXPECT_FALSE(CPopup::Run(win, &menu, 100, 50));
    // The highlight fell on the separator that took the deleted entry's place: none is left.
    const std::vector<std::string> expected{"2/0", "1/-1", "1/0", "1/-1"};
    EXPECT_EQ(snaps, expected);
    EXPECT_TRUE(reported.empty());
    EXPECT_EQ(menu.Count(), 0);
}

TEST_F(CPopupTest, EmptyMenusShowNothing)
{
    EXPECT_FALSE(CPopup::Run(win, &menu, 100, 50));
    EXPECT_EQ(CPopup2::RunBelow(win->clientGroup, &menu, 0), -1);
    EXPECT_EQ(app.popupStack.Count(), 0);
    EXPECT_FALSE(screen.Exhausted());
}

}  // namespace
