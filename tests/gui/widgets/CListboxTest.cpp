#include "gui/widgets/CListbox.h"

#include "WidgetTestKit.h"
#include "gui/platform/CSoftFont.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CScrollbar.h"

namespace
{

class CListboxTest : public WidgetTest
{
protected:
    // A list of n rows at (10, 10); row i's first pixel is at screen y 11 + 16 i.
    CListbox* List(int32_t n, int32_t w = 120, int32_t h = 100)
    {
        CListbox* list = win->AddChildAt(new CListbox(win), 10, 10, w, h);
        for (int32_t i = 0; i < n; ++i)
            list->AddRow(("row " + std::to_string(i)).c_str());
        list->OnChange = changes.Binder();
        list->OnCheck = checks.Binder();
        list->OnDoubleClick = doubles.Binder();
        Show();
        return list;
    }

    static int32_t RowY(int32_t row) { return 11 + 16 * row + 5; }

    Reports changes{[](CCtrl* c) { return static_cast<CListbox*>(c)->selected; }};
    Reports checks{[](CCtrl* c) { return static_cast<CListbox*>(c)->current; }};
    Reports doubles{[](CCtrl* c) { return static_cast<CListbox*>(c)->selected; }};
};

TEST_F(CListboxTest, DownOnTheLastOfThreeRowsChangesAndReportsNothing)
{
    CListbox* list = List(3);
    Click(40, RowY(2));
    EXPECT_EQ(list->selected, 2);
    EXPECT_EQ(win->focusCtrl, list);
    Keys({kKeyDown, kKeyUp, kKeyUp, kKeyUp});
    EXPECT_EQ(changes.values, (std::vector<int32_t>{2, 1, 0}));
    // Below the last row: no row, no focus change, no report.
    Click(40, RowY(3));
    EXPECT_EQ(list->selected, 0);
    EXPECT_EQ(changes.values.size(), 3u);
}

TEST_F(CListboxTest, CheckBoxesToggleInTheirFirstSixteenPixelsAndWithSpace)
{
    CListbox* list = List(3);
    list->checkBoxes = 1;
    Click(10 + 1 + 15, RowY(1));
    EXPECT_EQ(list->Row(1)->checked, 1);
    EXPECT_EQ(list->selected, -1);
    Click(10 + 1 + 16, RowY(0));  // just past the box: selects
    EXPECT_EQ(list->selected, 0);
    Keys({' '});
    EXPECT_EQ(list->Row(0)->checked, 1);
    EXPECT_EQ(checks.values, (std::vector<int32_t>{1, 0}));
    // Right presses never toggle; the second left press is a double click.
    screen.Press(15, RowY(2), kMouseRight);
    screen.Release(15, RowY(2), kMouseRight);
    Pump();
    EXPECT_EQ(list->Row(2)->checked, 0);
    EXPECT_EQ(list->selected, 2);
    screen.Advance(500);
    Click(60, RowY(2));
    Click(60, RowY(2));
    EXPECT_EQ(doubles.values, (std::vector<int32_t>{2}));
    EXPECT_EQ(changes.values, (std::vector<int32_t>{0, 2}));
}

TEST_F(CListboxTest, ScrollRangesFollowRowsAndWidestRow)
{
    // 100 x 50: 5 rows in 48 pixels; the vertical bar leaves 82 of width.
    CListbox* list = List(5, 100, 50);
    EXPECT_FALSE(list->hbar->visible);
    const char* wide = "a row much wider than the list";
    list->AddRow(wide);
    Pump();  // the paint measures the new row and brings the horizontal bar, 16 high
    EXPECT_EQ(list->vbar->maximum, 6 * 16 - 32);
    EXPECT_EQ(list->hbar->maximum, 2 + CSoftFont::TextWidth(wide) + 2 - 82);
}

TEST_F(CListboxTest, WheelScrollsByTheRawDeltaAndRowsFollowTheScroll)
{
    CListbox* list = List(20, 100, 50);  // 320 pixels of rows in 48
    screen.Turn(40, 30, -120);
    screen.Turn(40, 30, -240, kModCtrl);
    Pump();
    EXPECT_EQ(list->vbar->value, 272);
    screen.Turn(40, 30, 120);
    Pump();
    EXPECT_EQ(list->vbar->value, 152);
    // Local y 5 is 4 pixels into the area: (4 + 152) / 16 = row 9.
    Click(40, 15);
    EXPECT_EQ(list->selected, 9);
    // Down from the last visible row scrolls it into view.
    Keys({kKeyDown, kKeyDown, kKeyDown});
    EXPECT_EQ(list->selected, 12);
    EXPECT_EQ(list->vbar->value, 13 * 16 - 48);
}

TEST_F(CListboxTest, EmptiedWhileARowIsSelectedAndCountOnlyMode)
{
    CListbox* list = List(20, 100, 50);
    list->vbar->SetValue(100);
    Click(40, RowY(1));
    list->DeleteChildren();
    EXPECT_EQ(list->vbar->value, 0);
    Keys({kKeyDown, ' '});
    screen.Turn(40, 30, -120);
    Click(40, RowY(0));
    EXPECT_EQ(list->selected, -1);

    // Count-only: the owner paints the rows in view; a shrinking count drops a selection beyond it.
    struct Painter
    {
        void Paint(CCtrl* sender, CGraphic&, Rect r)
        {
            painted.push_back(static_cast<CListbox*>(sender)->current * 1000 + r.top);
        }
        std::vector<int32_t> painted;
    } painter;
    list->OnPaint = new _COnPaint<Painter>(&painter, &Painter::Paint);
    list->SetCount(50);
    list->vbar->SetValue(20);
    list->SetSelected(30);
    list->vbar->SetValue(20);
    win->Invalidate();
    Pump();
    // Rows 1 to 4 meet the area (1 to 49) scrolled by 20: row i starts at 1 + 16 i - 20.
    EXPECT_EQ(painter.painted, (std::vector<int32_t>{1000 - 3, 2000 + 13, 3000 + 29, 4000 + 45}));
    list->SetCount(10);
    EXPECT_EQ(list->selected, -1);
    EXPECT_EQ(list->vbar->maximum, 160 - 48);
}

}  // namespace
