#include "gui/widgets/CPopup.h"

#include "gui/core/CApp.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CMenuItem.h"

#include <algorithm>
#include <cstring>

namespace
{

constexpr uint32_t kPopupStyle = kWinNoBorder | kWinNoActivate | kWinEscapeCloses | kWinKeysToOwner;
constexpr int32_t kKeyF11 = kKeyF1 - 10;
// Width of a caption measured without a drawing surface.
constexpr int32_t kFallbackCharWidth = 7;
// Room kept right of a caption.
constexpr int32_t kCaptionRightGap = 8;

bool Choosable(const CMenuItem* e)
{
    return e != nullptr && (e->entryKind == kEntryPlain || e->entryKind == kEntryChoices);
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return std::max(lo, std::min(v, hi));
}

// A tick in the check column starting at x of a row at y.
void DrawCheckMark(CGraphic& g, int32_t x, int32_t y, uint32_t colour)
{
    g.SetPen(colour);
    for (int32_t t = 0; t < 2; ++t)
    {
        g.Line(x + 4, y + 7 + t, x + 7, y + 10 + t);
        g.Line(x + 7, y + 10 + t, x + 12, y + 5 + t);
    }
}

// A right-pointing triangle, 4 wide and 7 high, centred in the arrow column at x.
void DrawSubmenuArrow(CGraphic& g, int32_t x, int32_t y, int32_t rowHeight, uint32_t colour)
{
    const int32_t left = x + (kMenuArrowWidth - 4) / 2;
    const int32_t mid = y + rowHeight / 2;
    for (int32_t i = 0; i < 4; ++i)
        g.FillRect(colour, Rect{left + i, mid - 3 + i, left + i + 1, mid + 4 - i});
}

}  // namespace

int32_t MenuTextWidth(CWin* w, const char* text)
{
    if (w != nullptr && w->app != nullptr)
        if (CDrawContext* dc = w->app->system->Context(w->hwnd))
            return dc->TextWidth(text);
    return static_cast<int32_t>(std::strlen(text)) * kFallbackCharWidth;
}

void DrawMenuHighlight(CGraphic& g, Rect r, const CSkinItem* sel, const CSkinItem* list, uint32_t textColour)
{
    if (sel != nullptr && list != nullptr && sel->itemfill == kFillSolid && list->itemfill == kFillSolid &&
        sel->itemfillcol == list->itemfillcol)
    {
        const uint32_t colour = Mix(list->itemfillcol, textColour, 0.25);
        if (sel->itemshape == kShapeCut)
            g.FillCutRect(colour, r);
        else
            g.FillRect(colour, r);
        return;
    }
    DrawItem(g, r, sel, 0);
}

CPopup::CPopup(CApp* app, CWin* owner, CMenuItem* source, CPopup* parentPopup)
    : CWin(app, owner, kPopupStyle, "popup", 0, 0, kMenuMinWidth, kMenuRowHeight), source(source),
      parentPopup(parentPopup)
{
    if (source != nullptr)
        source->shownIn.Add(this);
    keyHandler = new _COnKey<CPopup>(this, &CPopup::ListKey);
}

CPopup::~CPopup()
{
    Close();
    delete child;
    while (retired.Count() > 0)
        delete static_cast<CPopup*>(retired.RemoveAt(0));
    if (source != nullptr)
        source->shownIn.Remove(this);
}

bool CPopup::Run(CWin* owner, CMenuItem* menu, int32_t sx, int32_t sy)
{
    if (owner == nullptr || menu == nullptr || menu->Count() == 0)
        return false;
    CApp* app = owner->app;
    app->ClosePopups(nullptr);
    CPopup popup(app, owner, menu);
    popup.PlaceAt(sx, sy);
    popup.RunPopup();
    // A press that opened the popup was spent on it: its release may never
    // come back here. The owner may have gone meanwhile (popup.owner is then null).
    if (popup.owner != nullptr)
        popup.owner->pressedCtrl = nullptr;
    return popup.chosen != 0;
}

Rect CPopup::ScreenRectOf(CCtrl* c)
{
    int32_t wx = 0;
    int32_t wy = 0;
    c->WindowPosition(wx, wy);
    const Rect w = c->window->app->system->ScreenRect(c->window->hwnd);
    return Rect{w.left + wx, w.top + wy, w.left + wx + c->width, w.top + wy + c->height};
}

int32_t CPopup::Count() const
{
    return source != nullptr ? source->Count() : 0;
}

CMenuItem* CPopup::Entry(int32_t index) const
{
    return source != nullptr ? source->Entry(index) : nullptr;
}

CPopup* CPopup::Root()
{
    CPopup* p = this;
    while (p->parentPopup != nullptr)
        p = p->parentPopup;
    return p;
}

int32_t CPopup::RowHeight(int32_t index) const
{
    const CMenuItem* e = Entry(index);
    return e != nullptr && e->entryKind == kEntrySeparator ? kMenuSeparatorHeight : kMenuRowHeight;
}

int32_t CPopup::RowTop(int32_t index) const
{
    int32_t top = kMenuInset;
    for (int32_t i = 0; i < index; ++i)
        top += RowHeight(i);
    return top;
}

int32_t CPopup::ContentHeight() const
{
    return RowTop(Count()) - kMenuInset;
}

Rect CPopup::RowRect(int32_t index)
{
    const int32_t top = RowTop(index) - rowOffset;
    return Rect{kMenuInset, top, width - kMenuInset, top + RowHeight(index)};
}

void CPopup::Measure()
{
    int32_t widest = 0;
    for (int32_t i = 0; i < Count(); ++i)
    {
        CMenuItem* e = Entry(i);
        int32_t w = 0;
        if (e->entryKind == kEntryChoices)
            w = e->ChoiceCount() * kMenuChoiceWidth + kMenuCheckWidth + kMenuTextGap + MenuTextWidth(this, e->text) +
                kCaptionRightGap;
        else if (e->entryKind != kEntrySeparator)
            w = textIndent + MenuTextWidth(this, e->text) + kCaptionRightGap + arrowColumn;
        widest = std::max(widest, w);
    }
    width = std::max(minListWidth, widest + 2 * kMenuInset);
    height = std::max(ContentHeight(), kMenuRowHeight) + 2 * kMenuInset;
}

void CPopup::SetPlace(int32_t px, int32_t py, Rect work)
{
    height = std::min(height, std::max(work.Height(), 1));
    width = std::min(width, std::max(work.Width(), 1));
    px = Clamp(px, work.left, work.right - width);
    py = Clamp(py, work.top, work.bottom - height);
    rowOffset = 0;
    app->system->SetRect(hwnd, Rect{px, py, px + width, py + height});
    x = px;
    y = py;
}

void CPopup::PlaceAt(int32_t sx, int32_t sy)
{
    Measure();
    const Rect work = app->system->WorkArea(sx, sy);
    const int32_t h = std::min(height, work.Height());
    const int32_t px = sx + width > work.right ? sx - width : sx;
    const int32_t py = sy + h > work.bottom ? sy - h : sy;
    SetPlace(px, py, work);
}

void CPopup::PlaceBelow(Rect r)
{
    Measure();
    const Rect work = app->system->WorkArea(r.left, r.bottom);
    const int32_t h = std::min(height, work.Height());
    int32_t py = r.bottom;
    if (py + h > work.bottom && r.top - h >= work.top)
        py = r.top - h;
    SetPlace(r.left, py, work);
}

void CPopup::PlaceBeside(Rect row, Rect parent)
{
    Measure();
    const Rect work = app->system->WorkArea(parent.right, row.top);
    // The first row lines up with the parent's row; the frames overlap.
    int32_t px = parent.right - kMenuInset;
    if (px + width > work.right)
        px = parent.left - width + kMenuInset;
    SetPlace(px, row.top - kMenuInset, work);
}

void CPopup::Highlight(int32_t index, int32_t c)
{
    CMenuItem* e = Entry(index);
    if (e == nullptr || !e->Selectable())
    {
        index = -1;
        c = 0;
    }
    else
    {
        c = e->entryKind == kEntryChoices ? Clamp(c, 0, std::max(e->ChoiceCount() - 1, 0)) : 0;
        const int32_t top = RowTop(index);
        const int32_t bottom = top + RowHeight(index);
        if (top - rowOffset < kMenuInset)
            rowOffset = top - kMenuInset;
        else if (bottom - rowOffset > height - kMenuInset)
            rowOffset = bottom - (height - kMenuInset);
    }
    highlight = index;
    choice = c;
    Invalidate();
}

void CPopup::Step(int32_t dir)
{
    const int32_t n = Count();
    int32_t i = highlight;
    if (i < 0 || i >= n)
        i = dir < 0 ? n : -1;
    for (i += dir; i >= 0 && i < n; i += dir)
        if (Entry(i)->Selectable())
        {
            Highlight(i, choice);
            return;
        }
}

int32_t CPopup::RowAt(int32_t px, int32_t py, int32_t& c)
{
    c = 0;
    if (px < kMenuInset || px >= width - kMenuInset || py < kMenuInset || py >= height - kMenuInset)
        return -1;
    for (int32_t i = 0; i < Count(); ++i)
    {
        const Rect r = RowRect(i);
        if (py >= r.top && py < r.bottom)
        {
            CMenuItem* e = Entry(i);
            if (e->entryKind == kEntryChoices)
                c = Clamp((px - kMenuInset) / kMenuChoiceWidth, 0, std::max(e->ChoiceCount() - 1, 0));
            return i;
        }
    }
    return -1;
}

void CPopup::CloseChild()
{
    if (child != nullptr && child->visible)
        child->Close();
}

void CPopup::OpenChild(int32_t index, bool byKeys)
{
    CMenuItem* e = Entry(index);
    if (e == nullptr || e->entryKind != kEntrySubmenu || e->Count() == 0 || !visible)
        return;
    if (child != nullptr && child->source == e && child->visible)
        return;
    if (child != nullptr)
    {
        child->Close();
        // A popup whose handler is still running is deleted with this one.
        if (child->busy > 0)
            retired.Add(child);
        else
            delete child;
        child = nullptr;
    }
    child = new CPopup(app, this, e, this);
    child->listItem = listItem;
    child->selItem = selItem;
    child->textIndent = textIndent;
    child->arrowColumn = arrowColumn;
    const Rect screen = app->system->ScreenRect(hwnd);
    child->PlaceBeside(Offset(RowRect(index), screen.left, screen.top), screen);
    if (byKeys)
        child->Step(1);
    child->RunPopup();
}

void CPopup::Choose(int32_t index)
{
    CMenuItem* e = Entry(index);
    if (!Choosable(e))
        return;
    if (e->entryKind == kEntryChoices && index == highlight && e->ChoiceCount() > 0)
        e->choice = choice;
    CPopup* root = Root();
    root->chosen = 1;
    root->chosenIndex = root == this ? index : -1;
    app->ClosePopups(nullptr);
    e->Report();
}

bool CPopup::ListKey(CCtrl*, KeyRecord* key, int32_t)
{
    ++busy;
    CMenuItem* e = Entry(highlight);
    bool handled = true;
    switch (key->key)
    {
    case kKeyUp:
        Step(-1);
        break;
    case kKeyDown:
        Step(1);
        break;
    case kKeyHome:
        highlight = -1;
        Step(1);
        if (highlight >= 0)
            Highlight(highlight, 0);
        break;
    case kKeyEnd:
        highlight = -1;
        Step(-1);
        if (CMenuItem* last = Entry(highlight))
            Highlight(highlight, last->ChoiceCount() - 1);
        break;
    case kKeyLeft:
        if (e != nullptr && e->entryKind == kEntryChoices && choice > 0)
            Highlight(highlight, choice - 1);
        else if (parentPopup != nullptr)
            Close();
        else
            handled = false;
        break;
    case kKeyRight:
        if (e != nullptr && e->entryKind == kEntryChoices && choice < e->ChoiceCount() - 1)
            Highlight(highlight, choice + 1);
        else if (e != nullptr && e->entryKind == kEntrySubmenu &&
                 !(child != nullptr && child->source == e && child->visible))
            OpenChild(highlight, true);
        else
            handled = false;
        break;
    case kKeyEnter:
        // Swallowed even without a highlight: it must not reach the owner's default action.
        if (e != nullptr && e->entryKind == kEntrySubmenu)
            OpenChild(highlight, true);
        else if (Choosable(e))
            Choose(highlight);
        break;
    case ' ':
        if (Choosable(e))
        {
            e->checked = e->checked ? 0 : 1;
            Invalidate();
        }
        else
            handled = false;
        break;
    case kKeyF11:
        // A popup is never maximised.
        break;
    default:
        handled = false;
        break;
    }
    --busy;
    return handled;
}

void CPopup::SourceGone()
{
    source = nullptr;
    highlight = -1;
    Close();
}

void CPopup::EntriesChanged()
{
    if (highlight >= Count())
        highlight = -1;
    if (!visible)
        return;
    const Rect r = app->system->ScreenRect(hwnd);
    Measure();
    SetPlace(r.left, r.top, app->system->WorkArea(r.left, r.top));
    Highlight(highlight, choice);
}

void CPopup::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* list = app->theme->Find(listItem);
    const CSkinItem* sel = app->theme->Find(selItem);
    DrawItem(g, r, list, 0);
    const Rect saved = g.clip;
    g.clip = Intersection(g.clip, g.ToDevice(Rect{kMenuInset, kMenuInset, width - kMenuInset, height - kMenuInset}));
    for (int32_t i = 0; i < Count(); ++i)
    {
        const Rect row = RowRect(i);
        if (row.bottom > kMenuInset && row.top < height - kMenuInset)
            PaintRow(g, i, list, sel);
    }
    g.clip = saved;
}

void CPopup::PaintRow(CGraphic& g, int32_t index, const CSkinItem* list, const CSkinItem* sel)
{
    CMenuItem* e = Entry(index);
    const Rect row = RowRect(index);
    const uint32_t textColour = list != nullptr ? list->itemtextcol : kWhite;
    if (e->entryKind == kEntrySeparator)
    {
        const uint32_t fill = list != nullptr ? list->itemfillcol : 0;
        const int32_t mid = row.top + kMenuSeparatorHeight / 2;
        g.FillRect(Mix(fill, textColour, 0.5), Rect{row.left + 2, mid, row.right - 2, mid + 1});
        return;
    }
    const bool lit = index == highlight;
    const uint32_t litColour = sel != nullptr ? sel->itemtextcol : textColour;
    int32_t left = row.left;
    if (e->entryKind == kEntryChoices)
    {
        for (int32_t c = 0; c < e->ChoiceCount(); ++c)
        {
            const Rect cell{left, row.top, left + kMenuChoiceWidth, row.bottom};
            if (lit && c == choice)
                DrawMenuHighlight(g, cell, sel, list, litColour);
            if (c == e->choice)
                g.FrameRect(lit && c == choice ? litColour : textColour, cell);
            g.Text(lit && c == choice ? litColour : textColour, e->choices.Get(c), cell, 0);
            left += kMenuChoiceWidth;
        }
        if (e->checked)
            DrawCheckMark(g, left, row.top, textColour);
        g.Text(textColour, e->text, Rect{left + kMenuCheckWidth + kMenuTextGap, row.top, row.right, row.bottom},
               kAlignLeft);
        return;
    }
    if (lit)
        DrawMenuHighlight(g, row, sel, list, litColour);
    const uint32_t colour = lit ? litColour : textColour;
    if (e->checked)
        DrawCheckMark(g, left, row.top, colour);
    g.Text(colour, e->text, Rect{left + textIndent, row.top, row.right - arrowColumn, row.bottom}, kAlignLeft);
    if (e->entryKind == kEntrySubmenu && arrowColumn > 0)
        DrawSubmenuArrow(g, row.right - arrowColumn, row.top, row.Height(), colour);
}

void CPopup::MouseDown(int32_t px, int32_t py, int32_t)
{
    int32_t c = 0;
    const int32_t i = RowAt(px, py, c);
    ++busy;
    if (i >= 0 && Entry(i)->entryKind == kEntrySubmenu)
    {
        Highlight(i, c);
        OpenChild(i, false);
    }
    --busy;
}

void CPopup::MouseMove(int32_t px, int32_t py, int32_t)
{
    app->system->SetCursor(CursorShape::Arrow);
    int32_t c = 0;
    const int32_t i = RowAt(px, py, c);
    CMenuItem* e = Entry(i);
    if (e == nullptr || !e->Selectable())
        return;
    ++busy;
    if (i != highlight || c != choice)
        Highlight(i, c);
    if (e->entryKind == kEntrySubmenu)
        OpenChild(i, false);
    else
        CloseChild();
    --busy;
}

void CPopup::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    if (!(flags & (kMouseLeft | kMouseRight)))
        return;
    int32_t c = 0;
    const int32_t i = RowAt(px, py, c);
    if (!Choosable(Entry(i)))
        return;
    Highlight(i, c);
    Choose(i);
}

bool CPopup::Wheel(int32_t, int32_t, int32_t, int32_t delta, int32_t)
{
    if (delta == 0)
        return true;
    Step(delta > 0 ? -1 : 1);
    CMenuItem* e = Entry(highlight);
    if (e == nullptr)
        return true;
    const Rect row = RowRect(highlight);
    const Rect screen = app->system->ScreenRect(hwnd);
    const int32_t cell = e->entryKind == kEntryChoices ? choice * kMenuChoiceWidth : 0;
    app->system->MoveCursor(screen.left + row.left + kMenuWheelPointer + cell,
                            screen.top + row.top + kMenuWheelPointer);
    return true;
}

void CPopup::Close()
{
    if (child != nullptr)
        child->Close();
    CWin::Close();
}

CPopup2::CPopup2(CApp* app, CWin* owner, CMenuItem* source) : CPopup(app, owner, source)
{
    listItem = "dropdownmenu";
    selItem = "dropdownmenuselected";
    textIndent = kMenuTextGap;
    arrowColumn = 0;
}

int32_t CPopup2::RunBelow(CCtrl* control, CMenuItem* list, int32_t selected)
{
    if (control == nullptr || control->window == nullptr || list == nullptr || list->Count() == 0)
        return -1;
    CApp* app = control->window->app;
    app->ClosePopups(nullptr);
    CPopup2 popup(app, control->window, list);
    popup.minListWidth = control->width;
    popup.PlaceBelow(ScreenRectOf(control));
    popup.Highlight(selected, 0);
    popup.RunPopup();
    control->window->pressedCtrl = nullptr;
    return popup.chosenIndex;
}
