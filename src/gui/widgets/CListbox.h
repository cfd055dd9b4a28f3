#pragma once

#include "gui/core/CGroup.h"
#include "io/CList.h"
#include "io/CObject.h"

#include <cstdint>

class CScrollbar;

// Row height of list boxes, pixels.
constexpr int32_t kListRowHeight = 16;
// The list area's margin on the side of a visible scroll bar (the bar and
// one pixel of frame), and on the other sides.
constexpr int32_t kListBarMargin = 17;
constexpr int32_t kListMargin = 1;
// With check boxes, the box takes the first pixels of every row.
constexpr int32_t kListCheckWidth = 16;

// One row of a list box: its text is the object's name.
class CListboxItem : public CObject
{
public:
    explicit CListboxItem(const char* text);

    uint8_t checked = 0;
    int32_t data = 0;  // the owner's, never read by the list
};

// A list of 16-pixel rows with a vertical and a horizontal scroll bar, each
// shown only while the rows do not fit. The list either owns its rows
// (AddRow) or, in count-only mode (SetCount), shows as many rows as its owner
// says. With an OnPaint binder the owner paints every row: the binder gets
// the row's rectangle in the list's coordinates with `current` set to the
// row; otherwise the list draws the rows' texts. Reports: OnChange when the
// selection changes; OnCheck (current = the row) when a check box is
// toggled; OnDoubleClick on a left double click on a row.
//
// The vertical bar's value is the scroll offset in pixels: maximum = rows x
// 16 - the area's height, page = the area's height; the horizontal bar's
// extent is the widest row measured during the last paint (or rowWidth when
// the owner paints).
class CListbox : public CGroup
{
public:
    explicit CListbox(CWin* window);
    // Deletes the rows and the binders of its own.
    ~CListbox() override;

    // "listbox", the rows (the selected one as "listboxsel"), then the bars.
    void Paint(CGraphic& g, Rect r) override;
    // A press on a row: focus; a check box toggle or the selection; a double click.
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    // After the OnKeyDown binder: Down and Up move the selection, Space toggles its check box.
    bool KeyDown(int32_t key, int32_t mods) override;
    // Scrolls by the raw delta (positive upwards), Ctrl or not; false when nothing can scroll.
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
    void Layout() override;
    // Empties the rows (either mode), clears the selection and zeroes both bars.
    void DeleteChildren() override;

    // Appends an owned row (leaving count-only mode) and returns it.
    CListboxItem* AddRow(const char* text);
    // Count-only mode with n rows (n < 0 counts as 0); owned rows are deleted.
    void SetCount(int32_t n);
    int32_t Count() const;
    // The owned row at index, or null (count-only mode, out of range).
    CListboxItem* Row(int32_t index) const;
    // Selects row (-1 or out of range: none) and scrolls it into view; no report.
    void SetSelected(int32_t row);
    // The row under list-local y, or -1.
    int32_t RowAt(int32_t y) const;
    // The list area, inside the margins.
    Rect Area() const;
    // Shows or hides the bars for the rows and the widest row, and sets their ranges.
    void UpdateBars();

    CList rows;  // of owned CListboxItem
    uint8_t countOnly = 0;
    int32_t count = 0;  // rows in count-only mode
    int32_t selected = -1;
    uint8_t checkBoxes = 0;
    int32_t current = -1;  // the row a binder call is about
    int32_t rowWidth = 0;  // the rows' width when the owner paints them
    int32_t widest = 0;    // the widest row of the last paint
    CScrollbar* vbar;      // owned children
    CScrollbar* hbar;
    COnChange* OnCheck = nullptr;        // owned
    COnChange* OnDoubleClick = nullptr;  // owned

private:
    void ScrollIntoView(int32_t row);
    // Moves the selection to row and reports it when it changed.
    void Select(int32_t row);
    void ToggleCheck(int32_t row);
    void Scrolled(CCtrl* sender);
};
