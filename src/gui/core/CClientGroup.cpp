#include "gui/core/CClientGroup.h"

#include "gui/core/CWin.h"

CClientGroup::CClientGroup(CWin* window) : CGroup(window)
{
}

void CClientGroup::ForwardUp(CCtrl* sender, int32_t value)
{
    if (window != nullptr)
        window->ForwardUp(sender, value);
}

void CClientGroup::ForwardTextUp(const char* text, int32_t value)
{
    if (window != nullptr)
        window->ForwardTextUp(text, value);
}
