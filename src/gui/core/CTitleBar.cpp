#include "gui/core/CTitleBar.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/core/CWindowButton.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"

namespace
{

// The buttons' top, and their right margins from the close button leftwards.
constexpr int32_t kButtonTop = 2;
constexpr int32_t kCloseMargin = 2;
constexpr int32_t kMaximiseMargin = 20;
constexpr int32_t kMinimiseMargin = 38;
// Caption text inset from the bar's left edge.
constexpr int32_t kCaptionInset = 4;

}  // namespace

CTitleBar::CTitleBar(CWin* window, int32_t border) : CGroup(window)
{
    SetName("close");
    x = border;
    y = border;
    width = window->width - 2 * border;
    height = kTitleHeight;
    anchor = kAnchorStretchX;
    marginX = border;
    AddButton(kButtonClose, kCloseMargin);
    if (window->style & kWinMaxButton)
        AddButton(kButtonMaximise, kMaximiseMargin);
    if (window->style & kWinMinButton)
        AddButton(kButtonMinimise, kMinimiseMargin);
}

void CTitleBar::AddButton(int32_t buttonKind, int32_t margin)
{
    CWindowButton* b = new CWindowButton(window, buttonKind);
    b->y = kButtonTop;
    b->anchor = kAnchorRight;
    b->marginX = margin;
    b->x = width - b->width - margin;
    AddChild(b);
}

void CTitleBar::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window->app->theme->Find("caption");
    DrawItem(g, r, item, 0);
    Rect text = r;
    text.left += kCaptionInset;
    g.Text(item != nullptr ? item->itemtextcol : 0xFFFFFF, window->Name(), text, kAlignLeft);
    CGroup::Paint(g, r);
}

void CTitleBar::MouseDown(int32_t, int32_t, int32_t flags)
{
    if ((flags & kMouseDouble) && !(window->style & kWinAltMaximise))
        window->ToggleMaximise();
    else if (flags & kMouseLeft)
        window->frame.Begin(kZoneCaption);
}
