#include "gui/core/CPushCtrl.h"

#include "gui/platform/InputCodes.h"

CPushCtrl::CPushCtrl(CWin* window) : CCtrl(window)
{
}

void CPushCtrl::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if (flags & kMouseLeft)
    {
        pressed = 1;
        inside = 1;
    }
    CCtrl::MouseDown(x, y, flags);
    Invalidate();
}

void CPushCtrl::MouseMove(int32_t x, int32_t y, int32_t flags)
{
    CCtrl::MouseMove(x, y, flags);
    const uint8_t now = Contains(x, y) ? 1 : 0;
    if (pressed && now != inside)
    {
        inside = now;
        Invalidate();
    }
}

void CPushCtrl::MouseUp(int32_t x, int32_t y, int32_t flags)
{
    const bool click = pressed && (flags & kMouseLeft) && Contains(x, y);
    if (flags & kMouseLeft)
    {
        pressed = 0;
        inside = 0;
    }
    Invalidate();
    CCtrl::MouseUp(x, y, flags);
    if (click)
        Click();
}
