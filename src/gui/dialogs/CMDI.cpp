#include "gui/dialogs/CMDI.h"

CMDI::CMDI(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
           int32_t height)
    : CWin(app, owner, style | kWinContainer, title, x, y, width, height)
{
}

CMDI::~CMDI()
{
    destroying = 1;
}

void CMDI::ChildChanged(CWin* child, bool closed)
{
    order.Remove(child);
    if (closed)
    {
        if (activeChild == child)
            activeChild = nullptr;
    }
    else if (child->visible)
    {
        order.Insert(0, child);
        activeChild = child;
    }
    if (!destroying && OnChange != nullptr)
        OnChange->Call(this);
}
