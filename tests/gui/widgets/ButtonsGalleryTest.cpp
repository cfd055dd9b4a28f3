#include "Gallery.h"
#include "core/WindowTestKit.h"
#include "gui/core/InputCodes.h"
#include "gui/widgets/CButton.h"
#include "gui/widgets/CHistoryPanel.h"
#include "gui/widgets/CLabel.h"
#include "gui/widgets/CLayout.h"
#include "gui/widgets/CSizer.h"
#include "gui/widgets/CSplit.h"

#include <gtest/gtest.h>

namespace
{

class ButtonsGalleryTest : public ::testing::Test, public WindowTestKit
{
};

// One of each control of the family, a button held down, written to the
// gallery as buttons.png for a person to judge.
TEST_F(ButtonsGalleryTest, OneOfEachControl)
{
    CWin* win = new CWin(&app, nullptr, kWinTitleBar | kWinResizable | kWinMaxButton | kWinMinButton, "Buttons", 0,
                         0, 360, 220);
    CToolbar* bar = PlaceIn(win, new CToolbar(win), 0, 0, 354, 22);
    bar->anchor = kAnchorStretchX;
    CRow row(2);
    for (const char* caption : {"File", "Edit", "View"})
    {
        CMenuCtrl* m = PlaceIn(bar, new CMenuCtrl(win, caption), row.x, 1, 40, 20);
        row.Place(*m);
        row.Skip(2);
    }
    PlaceIn(bar, new CMenuButton(win, "Presets"), 250, 1, 100, 20);

    CCol col(30);
    PlaceIn(win, new CLabel(win, "Label:"), 8, col.y, 60, 18);
    PlaceIn(win, new CButton(win, "OK"), 70, col.y, 48, 24);
    CButton* held = PlaceIn(win, new CButton(win, "Held"), 126, col.y, 48, 24);
    CButton* off = PlaceIn(win, new CButton(win, "Off"), 182, col.y, 48, 24);
    off->enabled = 0;
    col.Advance(0, 32);
    PlaceIn(win, new CSeparator(win), 8, col.y, 338, 4)->anchor = kAnchorStretchX;
    col.Skip(8);
    PlaceIn(win, new CHeaderLabel(win, "Name"), 8, col.y, 120, 18);
    PlaceIn(win, new CHeaderLabel(win, "Size"), 128, col.y, 60, 18);
    col.Advance(0, 18);
    CTestGroup* group = PlaceIn(win, new CTestGroup(win), 8, col.y, 120, 80);
    PlaceIn(group, new CLabel(win, "In a test group"), 4, 4, 112, 18);
    CSplit* split = PlaceIn(win, new CSplit(win, group, false), 128, col.y, 4, 80);
    (void)split;
    CHistoryPanel* history = PlaceIn(win, new CHistoryPanel(win), 132, col.y, 120, 80);
    PlaceIn(history, new CLabel(win, "History"), 4, 4, 100, 18);
    CSizer* sizer = PlaceIn(win, new CSizer(win), 0, 0, 16, 16);
    sizer->anchor = kAnchorRight | kAnchorBottom;

    win->Show(true);
    Pump();
    // Hold "Held" down and hover "Edit".
    screen.Press(3 + 140, 23 + 40, kMouseLeft);
    Pump();
    screen.Release(3 + 140, 23 + 40, kMouseLeft);
    screen.Move(3 + 60, 23 + 10);
    screen.Press(3 + 140, 23 + 40, kMouseLeft);
    Pump();
    EXPECT_TRUE(held->IsPushed());

    CDrawContext* dc = screen.Context(win->hwnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_TRUE(WriteGalleryPng(*dc, "buttons", 2));
    // The split keeps the window colour; the test group the "tabs" fill.
    EXPECT_EQ(dc->GetPixel(3 + 130, 23 + 120), 0x505050u);
    EXPECT_EQ(dc->GetPixel(3 + 60, 23 + 150), 0x000000u);
    screen.Release(3 + 140, 23 + 40, kMouseLeft);
    Pump();
    delete win;
}

} // namespace
