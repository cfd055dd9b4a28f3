#include "gui/widgets/CDropdown.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/ArrowGlyph.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"
#include "io/HeapString.h"

#include <algorithm>
#include <cstring>

namespace
{

// Dividers between the text and the buttons lean this far from the fill to the text colour.
constexpr double kDividerMix = 0.25;

}  // namespace

CDropdown::CDropdown(CWin* window) : CEdit(window)
{
}

CDropdown::~CDropdown()
{
    delete OnLeftButton;
}

int32_t CDropdown::Count() const
{
    return entries.Count();
}

void CDropdown::AddEntry(const char* entry)
{
    entries.Add(entry != nullptr ? entry : "");
}

void CDropdown::ClearEntries()
{
    entries.Clear();
    selection = -1;
    SetText("");
    Invalidate();
}

const char* CDropdown::EntryText(int32_t index) const
{
    return entries.Get(index);
}

void CDropdown::SetSelection(int32_t index)
{
    const char* entry = EntryText(index);
    if (entry == nullptr)
    {
        selection = -1;
        return;
    }
    selection = index;
    SetText(entry);
    caret = static_cast<int32_t>(std::strlen(text));
    selectionLength = 0;
    // A list chosen from while the text is edited is not a second change when editing ends.
    if (Editing())
    {
        char* copy = NewString(text);
        FreeString(savedText);
        savedText = copy;
    }
    Invalidate();
}

void CDropdown::Choose(int32_t index)
{
    const char* entry = EntryText(index);
    if (entry == nullptr)
        return;
    const bool changed = index != selection || std::strcmp(entry, text) != 0;
    SetSelection(index);
    if (changed && OnChange != nullptr)
        OnChange->Call(this);
}

void CDropdown::Step(int32_t delta)
{
    const int32_t count = Count();
    if (count == 0)
        return;
    Choose(std::clamp(selection + delta, 0, count - 1));
}

void CDropdown::OpenList()
{
    const int32_t count = Count();
    if (count == 0)
        return;
    CMenuItem list("");
    for (int32_t i = 0; i < count; ++i)
        list.Add(EntryText(i));
    const int32_t chosen = CPopup2::RunBelow(this, &list, selection);
    if (chosen >= 0)
        Choose(chosen);
}

int32_t CDropdown::ButtonsLeft() const
{
    const int32_t buttons = mode == kDropdownStepArrows ? 2 : 1;
    return std::max(0, width - buttons * height);
}

Rect CDropdown::TextArea() const
{
    const int32_t left = OnLeftButton != nullptr ? height : 0;
    return Rect{left + kEditInset, 0, ButtonsLeft() - kEditInset, height};
}

CDropdown::Zone CDropdown::ZoneAt(int32_t x) const
{
    if (OnLeftButton != nullptr && x < height)
        return Zone::LeftButton;
    const int32_t buttons = ButtonsLeft();
    if (x < buttons)
        return Zone::Text;
    if (mode != kDropdownStepArrows)
        return Zone::ListButton;
    return x < buttons + height ? Zone::Previous : Zone::Next;
}

void CDropdown::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item("dropdown");
    DrawItem(g, r, item, 0);
    const uint32_t colour = item != nullptr ? item->itemtextcol : kWhite;
    const uint32_t divider = Mix(item != nullptr ? item->itemfillcol : 0, colour, kDividerMix);
    PaintText(g, TextArea(), item, editable && Editing());
    const int32_t h = r.Height();
    const int32_t buttons = ButtonsLeft();
    if (mode == kDropdownStepArrows)
    {
        DrawArrowGlyph(g, Rect{buttons, 0, buttons + h, h}, ArrowDirection::Left, colour);
        DrawArrowGlyph(g, Rect{buttons + h, 0, buttons + 2 * h, h}, ArrowDirection::Right, colour);
        g.FillRect(divider, Rect{buttons + h, 2, buttons + h + 1, h - 2});
    }
    else
    {
        DrawArrowGlyph(g, Rect{buttons, 0, buttons + h, h}, ArrowDirection::Down, colour);
    }
    g.FillRect(divider, Rect{buttons, 2, buttons + 1, h - 2});
    if (OnLeftButton != nullptr)
    {
        // Three short bars: the glyph of a menu.
        const int32_t barLeft = h / 4;
        const int32_t barRight = h - h / 4;
        for (int32_t i = -1; i <= 1; ++i)
        {
            const int32_t y = (h - 1) / 2 + 3 * i;
            g.FillRect(colour, Rect{barLeft, y, barRight, y + 1});
        }
        g.FillRect(divider, Rect{h - 1, 2, h, h - 2});
    }
    CCtrl::Paint(g, r);
}

void CDropdown::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if (!(flags & kMouseLeft))
    {
        CCtrl::MouseDown(x, y, flags);
        return;
    }
    pressZone = ZoneAt(x);
    switch (pressZone)
    {
    case Zone::LeftButton:
        if (window != nullptr)
            window->app->system->ReleaseCapture();
        OnLeftButton->Call(this);
        return;
    case Zone::Text:
        if (editable)
        {
            CEdit::MouseDown(x, y, flags);
            return;
        }
        break;
    case Zone::Previous:
    case Zone::Next:
        // The release decides.
        CCtrl::MouseDown(x, y, flags);
        return;
    case Zone::ListButton:
        break;
    }
    CCtrl::MouseDown(x, y, flags);
    OpenList();
}

void CDropdown::MouseMove(int32_t x, int32_t y, int32_t flags)
{
    if (selecting)
        CEdit::MouseMove(x, y, flags);
    else
        CCtrl::MouseMove(x, y, flags);
}

void CDropdown::MouseUp(int32_t x, int32_t y, int32_t flags)
{
    if (selecting)
    {
        CEdit::MouseUp(x, y, flags);
        return;
    }
    if ((flags & kMouseLeft) && (pressZone == Zone::Previous || pressZone == Zone::Next) && y >= 0 && y < height)
    {
        const Zone at = x < width ? ZoneAt(x) : Zone::Text;
        if (at == Zone::Previous)
            Step(-1);
        else if (at == Zone::Next)
            Step(1);
    }
    pressZone = Zone::Text;
    CCtrl::MouseUp(x, y, flags);
}

bool CDropdown::KeyDown(int32_t key, int32_t mods)
{
    if (editable ? CEdit::KeyDown(key, mods) : CCtrl::KeyDown(key, mods))
        return true;
    if (Count() == 0)
        return false;
    switch (key)
    {
    case kKeyUp:
        Step(-1);
        return true;
    case kKeyDown:
        Step(1);
        return true;
    case kKeyEnter:
    case ' ':
        if (editable)
            return false;
        OpenList();
        return true;
    default:
        return false;
    }
}

bool CDropdown::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (CCtrl::Wheel(x, y, flags, delta, reserved))
        return true;
    if (!(flags & kModCtrl) || Count() == 0 || delta == 0)
        return false;
    Step(delta > 0 ? -1 : 1);
    return true;
}
