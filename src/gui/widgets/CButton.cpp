#include "gui/widgets/CButton.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"

namespace
{

// Caption colours when the theme lacks the item.
constexpr uint32_t kDefaultText = 0xC0C0C0;
constexpr uint32_t kDisabledText = 0x808080;
// Captions of the left-aligned variants start this far in.
constexpr int32_t kTextInset = 4;
// The menu arrow: width of its top row, and its distance from the right edge.
constexpr int32_t kArrowWidth = 7;
constexpr int32_t kArrowInset = 6;

uint32_t TextColour(const CSkinItem* item, const CCtrl& c)
{
    if (!c.enabled)
        return kDisabledText;
    return item != nullptr ? item->itemtextcol : kDefaultText;
}

// A pushed caption moves one pixel right and down.
Rect CaptionRect(Rect r, bool pushed)
{
    return pushed ? Offset(r, 1, 1) : r;
}

}  // namespace

CButton::CButton(CWin* window, const char* caption) : CPushCtrl(window)
{
    SetText(caption);
}

const CSkinItem* CButton::Item(const char* key) const
{
    if (window == nullptr || window->app == nullptr || window->app->theme == nullptr)
        return nullptr;
    return window->app->theme->Find(key);
}

void CButton::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item("button");
    DrawItem(g, r, item, 0);
    g.Text(TextColour(item, *this), text, CaptionRect(r, IsPushed()), 0);
}

void CButton::Click()
{
    if (OnChange != nullptr)
    {
        OnChange->Call(this);
        return;
    }
    ForwardUp(this, 0);
    ForwardTextUp(Name(), 0);
}

CMenuCtrl::CMenuCtrl(CWin* window, const char* caption) : CButton(window, caption)
{
    tracksHover = 1;
}

void CMenuCtrl::Paint(CGraphic& g, Rect r)
{
    DrawItem(g, r, Item(hovered || IsPushed() ? "menubarsel" : "menubar"), 0);
    g.Text(enabled ? kWhite : kDisabledText, text, r, 0);
}

void CMenuCtrl::Hover(bool in, int32_t, int32_t)
{
    hovered = in ? 1 : 0;
}

CMenuButton::CMenuButton(CWin* window, const char* caption) : CButton(window, caption)
{
}

void CMenuButton::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item("button");
    DrawItem(g, r, item, 0);
    const uint32_t colour = TextColour(item, *this);
    const bool pushed = IsPushed();
    Rect caption = CaptionRect(r, pushed);
    caption.left += kTextInset;
    caption.right -= kArrowInset + kArrowWidth;
    g.Text(colour, text, caption, kAlignLeft);
    // A downward triangle, one row narrower on each side per line.
    const int32_t left = r.right - kArrowInset - kArrowWidth + (pushed ? 1 : 0);
    const int32_t top = (r.Height() - (kArrowWidth + 1) / 2) / 2 + (pushed ? 1 : 0);
    for (int32_t row = 0; 2 * row < kArrowWidth; ++row)
        g.FillRect(colour, Rect{left + row, top + row, left + kArrowWidth - row, top + row + 1});
}

CHeaderLabel::CHeaderLabel(CWin* window, const char* caption) : CButton(window, caption)
{
}

void CHeaderLabel::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item("caption");
    DrawItem(g, r, item, 0);
    Rect caption = CaptionRect(r, IsPushed());
    caption.left += kTextInset;
    g.Text(enabled ? (item != nullptr ? item->itemtextcol : kWhite) : kDisabledText, text, caption, kAlignLeft);
}
