#include "gui/widgets/CSplit.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

#include <algorithm>

namespace
{

constexpr int32_t kCursorWestEast = 3;
constexpr int32_t kCursorNorthSouth = 4;

}  // namespace

CSplit::CSplit(CWin* window, CCtrl* target, bool vertical) : CCtrl(window), target(target), vertical(vertical)
{
    cursor = vertical ? kCursorNorthSouth : kCursorWestEast;
}

void CSplit::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window->app->theme->Find("winbkgnd");
    g.FillRect(item != nullptr ? item->itemfillcol : 0x505050, r);
}

int32_t CSplit::Limit(int32_t raw) const
{
    if (collapse >= 0 && raw < collapse)
        return 0;
    if (minimum >= 0 && raw < minimum)
        return minimum;
    // A drag past the far edge of the target leaves nothing, never less.
    return std::max(raw, 0);
}

void CSplit::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseDown(px, py, flags);
    if (!(flags & kMouseLeft) || target == nullptr)
        return;
    int32_t wx = 0;
    int32_t wy = 0;
    WindowPosition(wx, wy);
    dragging = 1;
    startSize = vertical ? target->height : target->width;
    startPos = vertical ? y : x;
    pressAt = vertical ? wy + py : wx + px;
}

void CSplit::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseMove(px, py, flags);
    if (!dragging || !(flags & kMouseLeft) || target == nullptr)
        return;
    int32_t wx = 0;
    int32_t wy = 0;
    WindowPosition(wx, wy);
    const int32_t travel = (vertical ? wy + py : wx + px) - pressAt;
    const bool shrinksWithTravel = vertical && !growsDown;
    const int32_t size = Limit(shrinksWithTravel ? startSize - travel : startSize + travel);
    const int32_t moved = size - startSize;
    if (vertical)
    {
        target->height = size;
        y = startPos + (growsDown ? moved : -moved);
    }
    else
    {
        target->width = size;
        x = startPos + moved;
    }
    window->Layout();
    window->Invalidate();
    if (OnChange != nullptr)
        OnChange->Call(this);
}

void CSplit::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    if (flags & kMouseLeft)
        dragging = 0;
    CCtrl::MouseUp(px, py, flags);
}
