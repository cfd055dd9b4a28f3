#include "gui/widgets/CSizer.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

#include <algorithm>

namespace
{

constexpr int32_t kSide = 16;
// Grip lines: the first one this far from the corner, then every this many pixels.
constexpr int32_t kGripSpacing = 4;

}  // namespace

CSizer::CSizer(CWin* window) : CCtrl(window)
{
    width = kSide;
    height = kSide;
    cursor = 8;  // north-west/south-east sizing
}

CWin* CSizer::Target() const
{
    CWin* win = window;
    if (win != nullptr && win->IsEmbedded() && (win->owner->style & kWinContainer) && (win->style & kWinAltMaximise))
        return win->owner;
    return win;
}

void CSizer::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window->app->theme->Find("winbkgnd");
    const uint32_t fill = item != nullptr ? item->itemfillcol : 0x505050;
    const uint32_t lines = item != nullptr ? item->itemframecol : kWhite;
    g.FillRect(fill, r);
    // Diagonal grip lines towards the bottom-right corner.
    g.SetPen(lines);
    for (int32_t d = kGripSpacing; d < std::min(r.Width(), r.Height()); d += kGripSpacing)
        g.Line(r.right - d, r.bottom - 1, r.right, r.bottom - 1 - d);
}

void CSizer::ScreenPoint(int32_t px, int32_t py, int32_t& sx, int32_t& sy) const
{
    int32_t wx = 0;
    int32_t wy = 0;
    WindowPosition(wx, wy);
    const Rect s = window->app->system->ScreenRect(window->hwnd);
    sx = s.left + wx + px;
    sy = s.top + wy + py;
}

void CSizer::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseDown(px, py, flags);
    if (!(flags & kMouseLeft) || window == nullptr)
        return;
    target = Target();
    startRect = window->app->system->ParentRect(target->hwnd);
    ScreenPoint(px, py, pressX, pressY);
}

void CSizer::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    CCtrl::MouseMove(px, py, flags);
    if (target == nullptr || !(flags & kMouseLeft))
        return;
    int32_t sx = 0;
    int32_t sy = 0;
    ScreenPoint(px, py, sx, sy);
    const int32_t w = std::max(startRect.Width() + sx - pressX, target->minWidth);
    const int32_t h = std::max(startRect.Height() + sy - pressY, target->minHeight);
    window->app->system->SetRect(target->hwnd,
                                 Rect{startRect.left, startRect.top, startRect.left + w, startRect.top + h});
}

void CSizer::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    if (flags & kMouseLeft)
        target = nullptr;
    CCtrl::MouseUp(px, py, flags);
}
