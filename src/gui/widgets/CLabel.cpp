#include "gui/widgets/CLabel.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"

namespace
{

const CSkinItem* WindowItem(const CCtrl& c)
{
    if (c.window == nullptr || c.window->app == nullptr || c.window->app->theme == nullptr)
        return nullptr;
    return c.window->app->theme->Find("winbkgnd");
}

}  // namespace

CLabel::CLabel(CWin* window, const char* caption) : CCtrl(window)
{
    SetText(caption);
}

void CLabel::Paint(CGraphic& g, Rect r)
{
    CCtrl::Paint(g, r);
    const CSkinItem* item = WindowItem(*this);
    g.Text(item != nullptr ? item->itemtextcol : kWhite, text, r, align);
}

CSeparator::CSeparator(CWin* window) : CCtrl(window)
{
}

void CSeparator::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = WindowItem(*this);
    const uint32_t colour = item != nullptr ? item->itemfillcol : 0x505050;
    // Etched in shades of the window colour: a line of the colour itself
    // would not show on the window it divides.
    const uint32_t shadow = Mix(colour, 0x000000, 0.5);
    const uint32_t light = Mix(colour, 0xFFFFFF, 0.2);
    if (r.Height() > r.Width())
    {
        const int32_t mid = r.Width() / 2;
        g.FillRect(shadow, Rect{mid, r.top, mid + 1, r.bottom});
        g.FillRect(light, Rect{mid + 1, r.top, mid + 2, r.bottom});
    }
    else
    {
        const int32_t mid = r.Height() / 2;
        g.FillRect(shadow, Rect{r.left, mid, r.right, mid + 1});
        g.FillRect(light, Rect{r.left, mid + 1, r.right, mid + 2});
    }
}
