#include "gui/widgets/CListbox.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CScrollbar.h"

#include <algorithm>

namespace
{

// Text starts this far into its part of the row.
constexpr int32_t kTextInset = 2;
// The check box: a square of this side, this far into the row.
constexpr int32_t kBoxSide = 10;
constexpr int32_t kBoxInset = 3;
// The default theme fills "listboxsel" like "listbox": the selected row also
// gets an outline, its fill moved this far towards its text colour.
constexpr double kSelectionEdge = 0.5;

const CSkinItem* Item(CWin* window, const char* key)
{
    return window != nullptr && window->app != nullptr ? window->app->theme->Find(key) : nullptr;
}

}  // namespace

CListboxItem::CListboxItem(const char* text)
{
    SetName(text);
}

CListbox::CListbox(CWin* window)
    : CGroup(window), vbar(new CScrollbar(window, true)), hbar(new CScrollbar(window, false))
{
    CGroup::AddChild(vbar);
    CGroup::AddChild(hbar);
    vbar->OnChange = new _COnChange<CListbox>(this, &CListbox::Scrolled);
    hbar->OnChange = new _COnChange<CListbox>(this, &CListbox::Scrolled);
    vbar->visible = 0;
    hbar->visible = 0;
    tabStop = 1;
}

CListbox::~CListbox()
{
    while (rows.Count() > 0)
        delete static_cast<CListboxItem*>(rows.RemoveAt(0));
    delete OnCheck;
    delete OnDoubleClick;
}

int32_t CListbox::Count() const
{
    return countOnly ? count : rows.Count();
}

CListboxItem* CListbox::Row(int32_t index) const
{
    return countOnly ? nullptr : static_cast<CListboxItem*>(rows.Get(index));
}

CListboxItem* CListbox::AddRow(const char* text)
{
    countOnly = 0;
    count = 0;
    CListboxItem* item = new CListboxItem(text);
    rows.Add(item);
    UpdateBars();
    Invalidate();
    return item;
}

void CListbox::SetCount(int32_t n)
{
    while (rows.Count() > 0)
        delete static_cast<CListboxItem*>(rows.RemoveAt(0));
    countOnly = 1;
    count = std::max(0, n);
    if (selected >= count)
        selected = -1;
    UpdateBars();
    Invalidate();
}

void CListbox::DeleteChildren()
{
    while (rows.Count() > 0)
        delete static_cast<CListboxItem*>(rows.RemoveAt(0));
    count = 0;
    selected = -1;
    widest = 0;
    vbar->SetValue(0);
    hbar->SetValue(0);
    UpdateBars();
    Invalidate();
}

Rect CListbox::Area() const
{
    return Rect{kListMargin, kListMargin, width - (vbar->visible ? kListBarMargin : kListMargin),
                height - (hbar->visible ? kListBarMargin : kListMargin)};
}

void CListbox::UpdateBars()
{
    const int64_t extent = static_cast<int64_t>(Count()) * kListRowHeight;
    const int32_t rowsWide = countOnly || OnPaint != nullptr ? rowWidth : widest;
    vbar->visible = 0;
    hbar->visible = 0;
    // A bar that appears narrows the area and may call for the other one;
    // bars only ever appear, so three passes settle it.
    for (int32_t pass = 0; pass < 3; ++pass)
    {
        const Rect area = Area();
        vbar->visible = extent > area.Height() ? 1 : 0;
        hbar->visible = rowsWide > area.Width() ? 1 : 0;
    }
    const Rect area = Area();
    const int32_t areaWidth = std::max(0, area.Width());
    const int32_t areaHeight = std::max(0, area.Height());
    vbar->x = width - kListBarMargin;
    vbar->y = kListMargin;
    vbar->width = kScrollbarSide;
    vbar->height = areaHeight;
    hbar->x = kListMargin;
    hbar->y = height - kListBarMargin;
    hbar->width = areaWidth;
    hbar->height = kScrollbarSide;
    const int64_t vmax = std::max<int64_t>(0, extent - areaHeight);
    vbar->SetRange(0, static_cast<int32_t>(std::min<int64_t>(vmax, INT32_MAX)), areaHeight);
    hbar->SetRange(0, std::max(0, rowsWide - areaWidth), areaWidth);
}

void CListbox::Layout()
{
    UpdateBars();
}

int32_t CListbox::RowAt(int32_t py) const
{
    const int64_t offset = static_cast<int64_t>(py) - Area().top + vbar->value;
    if (offset < 0)
        return -1;
    const int64_t row = offset / kListRowHeight;
    return row < Count() ? static_cast<int32_t>(row) : -1;
}

void CListbox::Paint(CGraphic& g, Rect r)
{
    const int32_t n = Count();
    const int32_t textStart = kTextInset + (checkBoxes ? kListCheckWidth : 0);
    // Every row is measured, not only those in view, so that the horizontal
    // range does not change as the list scrolls vertically.
    if (!countOnly && OnPaint == nullptr)
    {
        widest = 0;
        for (int32_t i = 0; i < n; ++i)
            widest = std::max(widest, textStart + g.TextWidth(Row(i)->Name()) + kTextInset);
    }
    UpdateBars();
    const CSkinItem* box = Item(window, "listbox");
    const CSkinItem* sel = Item(window, "listboxsel");
    DrawItem(g, r, box, 0);
    const Rect area = Area();
    const Rect oldClip = g.clip;
    g.clip = Intersection(oldClip, g.ToDevice(area));
    const int32_t left = area.left - hbar->value;
    const int32_t right = std::max(area.right, left + widest);
    for (int32_t i = std::max(0, vbar->value / kListRowHeight); i < n && !g.clip.IsEmpty(); ++i)
    {
        const int64_t top64 = area.top + static_cast<int64_t>(i) * kListRowHeight - vbar->value;
        if (top64 >= area.bottom)
            break;
        const int32_t top = static_cast<int32_t>(top64);
        const Rect row{left, top, right, top + kListRowHeight};
        if (i == selected && sel != nullptr)
        {
            DrawItem(g, row, sel, 0);
            g.FrameCutRect(Mix(sel->itemfillcol, sel->itemtextcol, kSelectionEdge), row);
        }
        if (OnPaint != nullptr)
        {
            current = i;
            OnPaint->Call(this, g, row);
            continue;
        }
        const CListboxItem* item = Row(i);
        if (item == nullptr)
            continue;
        const uint32_t ink = i == selected && sel != nullptr ? sel->itemtextcol
                             : box != nullptr                ? box->itemtextcol
                                                             : kWhite;
        if (checkBoxes)
        {
            const Rect check{left + kBoxInset, top + kBoxInset, left + kBoxInset + kBoxSide,
                             top + kBoxInset + kBoxSide};
            g.FrameRect(ink, check);
            if (item->checked)
                g.FillRect(ink, Rect{check.left + 2, check.top + 2, check.right - 2, check.bottom - 2});
        }
        g.Text(ink, item->Name(), Rect{left + textStart, top, right, top + kListRowHeight}, kAlignLeft);
    }
    g.clip = oldClip;
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        PaintChild(g, child, child->x - scrollX + g.originX, child->y - scrollY + g.originY);
    }
}

void CListbox::ScrollIntoView(int32_t row)
{
    if (row < 0)
        return;
    const int32_t areaHeight = Area().Height();
    const int64_t top = static_cast<int64_t>(row) * kListRowHeight;
    if (top < vbar->value)
        vbar->SetValue(static_cast<int32_t>(top));
    else if (top + kListRowHeight > static_cast<int64_t>(vbar->value) + areaHeight)
        vbar->SetValue(static_cast<int32_t>(std::min<int64_t>(top + kListRowHeight - areaHeight, INT32_MAX)));
}

void CListbox::SetSelected(int32_t row)
{
    selected = row >= 0 && row < Count() ? row : -1;
    ScrollIntoView(selected);
    Invalidate();
}

void CListbox::Select(int32_t row)
{
    if (row == selected)
        return;
    SetSelected(row);
    if (OnChange != nullptr)
        OnChange->Call(this);
}

void CListbox::ToggleCheck(int32_t row)
{
    if (CListboxItem* item = Row(row))
        item->checked = item->checked ? 0 : 1;
    Invalidate();
    current = row;
    if (OnCheck != nullptr)
        OnCheck->Call(this);
}

void CListbox::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    const Rect area = Area();
    const int32_t row = area.Contains(px, py) ? RowAt(py) : -1;
    if (row >= 0)
    {
        if (window != nullptr && window->focusCtrl != this)
            window->SetFocusCtrl(this);
        if (checkBoxes && (flags & kMouseLeft) && px - area.left + hbar->value < kListCheckWidth)
        {
            ToggleCheck(row);
        }
        else
        {
            Select(row);
            // The owner may have emptied the list on the change.
            if ((flags & kMouseLeft) && (flags & kMouseDouble) && row < Count() && OnDoubleClick != nullptr)
                OnDoubleClick->Call(this);
        }
    }
    CCtrl::MouseDown(px, py, flags);
}

bool CListbox::KeyDown(int32_t key, int32_t mods)
{
    if (CCtrl::KeyDown(key, mods))
        return true;
    const int32_t n = Count();
    switch (key)
    {
    case kKeyDown:
        if (n > 0)
            Select(std::min(selected + 1, n - 1));
        return true;
    case kKeyUp:
        if (n > 0)
            Select(std::max(selected - 1, 0));
        return true;
    case ' ':
        if (checkBoxes && selected >= 0 && selected < n)
        {
            ToggleCheck(selected);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CListbox::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (OnWheel != nullptr)
        return CCtrl::Wheel(x, y, flags, delta, reserved);
    if (vbar->maximum <= vbar->minimum)
        return false;
    vbar->ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, static_cast<int64_t>(vbar->value) - delta)));
    return true;
}

void CListbox::Scrolled(CCtrl*)
{
    Invalidate();
}
