#include "gui/widgets/CIncDec.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/ArrowGlyph.h"

CIncDec::CIncDec(CWin* window) : CCtrl(window)
{
}

void CIncDec::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window != nullptr ? window->app->theme->Find("value") : nullptr;
    DrawItem(g, r, item, 0);
    const uint32_t colour = item != nullptr ? item->itemtextcol : kWhite;
    const int32_t middle = r.Width() / 2;
    DrawArrowGlyph(g, Rect{r.left, r.top, r.left + middle, r.bottom}, ArrowDirection::Left, colour);
    DrawArrowGlyph(g, Rect{r.left + middle, r.top, r.right, r.bottom}, ArrowDirection::Right, colour);
    // A divider between the halves, a pixel short of the edges.
    g.FillRect(Mix(item != nullptr ? item->itemfillcol : 0, colour, 0.25),
               Rect{r.left + middle, r.top + 2, r.left + middle + 1, r.bottom - 2});
    CCtrl::Paint(g, r);
}

void CIncDec::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if ((flags & kMouseLeft) && width > 0)
    {
        direction = x < width / 2 ? -1 : 1;
        if (OnChange != nullptr)
            OnChange->Call(this);
    }
    CCtrl::MouseDown(x, y, flags);
}
