#include "gui/core/CCtrl.h"

#include "gui/core/CApp.h"
#include "gui/core/CGroup.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"
#include "io/HeapString.h"

#include <cstdlib>

CCtrl::CCtrl(CWin* window) : text(NewString("")), window(window)
{
}

CCtrl::~CCtrl()
{
    // A window clears its own pointers before it goes; see ~CWin.
    if (window != nullptr)
        window->Forget(this);
    if (parent != nullptr)
        parent->children.Remove(this);
    FreeString(text);
    delete OnChange;
    delete OnPaint;
    delete OnMouseDown;
    delete OnMouseMove;
    delete OnMouseUp;
    delete OnKeyDown;
    delete OnKeyUp;
    delete OnDragStart;
    delete OnDrop;
    delete OnDragOver;
    delete OnWheel;
}

void CCtrl::Invalidate()
{
    if (!visible || window == nullptr)
        return;
    int32_t wx = 0;
    int32_t wy = 0;
    WindowPosition(wx, wy);
    window->InvalidateRect(Rect{wx, wy, wx + width, wy + height});
}

void CCtrl::Paint(CGraphic& g, Rect r)
{
    if (OnPaint != nullptr)
        OnPaint->Call(this, g, r);
}

void CCtrl::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if (OnMouseDown != nullptr)
        OnMouseDown->Call(this, x, y, flags);
}

void CCtrl::MouseMove(int32_t x, int32_t y, int32_t flags)
{
    if (OnMouseMove != nullptr)
        OnMouseMove->Call(this, x, y, flags);
    if (OnDragStart == nullptr || !(flags & kMouseLeft) || window == nullptr || window->app == nullptr ||
        window->app->dropItems != nullptr)
        return;
    int32_t wx = 0;
    int32_t wy = 0;
    WindowPosition(wx, wy);
    const CApp* app = window->app;
    if (std::abs(wx + x - app->pressX) >= kDragThreshold || std::abs(wy + y - app->pressY) >= kDragThreshold)
        OnDragStart->Call(this, x, y, flags);
}

void CCtrl::MouseUp(int32_t x, int32_t y, int32_t flags)
{
    if (OnMouseUp != nullptr)
        OnMouseUp->Call(this, x, y, flags);
}

bool CCtrl::KeyDown(int32_t key, int32_t mods)
{
    if (OnKeyDown == nullptr)
        return false;
    KeyRecord record{key, mods};
    return OnKeyDown->Call(this, &record, mods);
}

bool CCtrl::KeyUp(int32_t, int32_t)
{
    return false;
}

void CCtrl::Timer()
{
}

void CCtrl::Focus(bool)
{
}

bool CCtrl::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (OnWheel == nullptr)
        return false;
    return OnWheel->Call(this, x, y, flags, delta, reserved);
}

void CCtrl::Hover(bool, int32_t, int32_t)
{
}

bool CCtrl::ReservedHook()
{
    return false;
}

void CCtrl::ForwardUp(CCtrl* sender, int32_t value)
{
    if (parent != nullptr)
        parent->ForwardUp(sender, value);
}

void CCtrl::ForwardTextUp(const char* text, int32_t value)
{
    if (parent != nullptr)
        parent->ForwardTextUp(text, value);
}

void CCtrl::SetVisible(bool show)
{
    visible = show ? 1 : 0;
}

int32_t CCtrl::GetHeight()
{
    return height;
}

int32_t CCtrl::GetWidth()
{
    return width;
}

void CCtrl::SetText(const char* value)
{
    char* copy = NewString(value);
    FreeString(text);
    text = copy;
}

void CCtrl::WindowPosition(int32_t& wx, int32_t& wy) const
{
    wx = x;
    wy = y;
    if (kind == kKindWindow)
    {
        wx = 0;
        wy = 0;
        return;
    }
    // A window's own x and y are its place on the screen: only its scroll counts.
    for (const CCtrl* p = parent; p != nullptr; p = p->parent)
    {
        if (p->kind != kKindWindow)
        {
            wx += p->x;
            wy += p->y;
        }
        wx -= p->scrollX;
        wy -= p->scrollY;
        if (p->kind == kKindWindow)
            break;
    }
}
