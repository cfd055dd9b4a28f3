#include "gui/core/CWindowFrame.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/CursorTable.h"

#include <algorithm>

namespace
{

// Corners of the resizing border reach this far along each edge.
constexpr int32_t kCornerLength = 9;

}  // namespace

int32_t CWindowFrame::Zone(int32_t px, int32_t py) const
{
    const int32_t w = window.width;
    const int32_t h = window.height;
    if ((window.style & kWinResizable) && !(window.style & kWinAltMaximise) && !window.maximized)
    {
        const bool left = px < kBorder;
        const bool top = py < kBorder;
        const bool right = px >= w - kBorder;
        const bool bottom = py >= h - kBorder;
        const bool nearLeft = px < kCornerLength;
        const bool nearTop = py < kCornerLength;
        const bool nearRight = px >= w - kCornerLength;
        const bool nearBottom = py >= h - kCornerLength;
        if ((left && nearTop) || (nearLeft && top))
            return kZoneTopLeft;
        if ((right && nearTop) || (nearRight && top))
            return kZoneTopRight;
        if ((left && nearBottom) || (nearLeft && bottom))
            return kZoneBottomLeft;
        if ((right && nearBottom) || (nearRight && bottom))
            return kZoneBottomRight;
        if (left)
            return kZoneLeft;
        if (top)
            return kZoneTop;
        if (right)
            return kZoneRight;
        if (bottom)
            return kZoneBottom;
    }
    if (window.titleBar != nullptr && py < kBorder + kTitleHeight)
        return kZoneCaption;
    return kZoneNone;
}

void CWindowFrame::Begin(int32_t zone)
{
    CApp* app = window.app;
    CWindowSystem* system = app->system;
    action = zone;
    start = system->ParentRect(window.hwnd);
    const Rect screen = system->ScreenRect(window.hwnd);
    pressScreenX = screen.left + app->pressX;
    pressScreenY = screen.top + app->pressY;
}

void CWindowFrame::Track(int32_t px, int32_t py)
{
    CWindowSystem* system = window.app->system;
    const Rect screen = system->ScreenRect(window.hwnd);
    const int32_t dx = screen.left + px - pressScreenX;
    const int32_t dy = screen.top + py - pressScreenY;
    Rect r = start;
    if (action == kZoneCaption)
    {
        r = Offset(r, dx, dy);
    }
    else
    {
        const bool left = action & (kZoneLeft | kZoneTopLeft | kZoneBottomLeft);
        const bool right = action & (kZoneRight | kZoneTopRight | kZoneBottomRight);
        const bool top = action & (kZoneTop | kZoneTopLeft | kZoneTopRight);
        const bool bottom = action & (kZoneBottom | kZoneBottomLeft | kZoneBottomRight);
        if (left)
            r.left = std::min(r.left + dx, r.right - window.minWidth);
        if (right)
            r.right = std::max(r.right + dx, r.left + window.minWidth);
        if (top)
            r.top = std::min(r.top + dy, r.bottom - window.minHeight);
        if (bottom)
            r.bottom = std::max(r.bottom + dy, r.top + window.minHeight);
    }
    system->SetRect(window.hwnd, r);
}

void CWindowFrame::End()
{
    if (action == kZoneNone)
        return;
    action = kZoneNone;
    CWin* owner = window.owner;
    if (window.IsEmbedded() && (owner->style & kWinContainer) && owner->OnChange != nullptr)
        owner->OnChange->Call(owner);
}

void CWindowFrame::ShowCursor(int32_t zone, CCtrl* hit) const
{
    CursorShape shape = hit != nullptr ? CursorShapeOf(hit->cursor) : CursorShape::Arrow;
    if (zone == kZoneLeft || zone == kZoneRight)
        shape = CursorShape::SizeWestEast;
    else if (zone == kZoneTop || zone == kZoneBottom)
        shape = CursorShape::SizeNorthSouth;
    else if (zone == kZoneTopLeft || zone == kZoneBottomRight)
        shape = CursorShape::SizeNorthWestSouthEast;
    else if (zone == kZoneTopRight || zone == kZoneBottomLeft)
        shape = CursorShape::SizeNorthEastSouthWest;
    window.app->system->SetCursor(shape);
}
