#include "gui/core/CWin.h"

#include "gui/core/CApp.h"

CWin::CWin(CApp* app) : CGroup(this), app(app)
{
    kind = kKindWindow;
}

CWin::~CWin()
{
    // The children still reach this window's fields while they are deleted,
    // so they go before the window's own part ends.
    DeleteChildren();
    Forget(this);
    window = nullptr;
}

void CWin::Invalidate()
{
    if (visible)
        InvalidateRect(Rect{0, 0, width, height});
}

void CWin::InvalidateRect(Rect r)
{
    dirty = Union(dirty, Normalised(r));
}

CCtrl* CWin::HitTest(int32_t px, int32_t py)
{
    const int32_t cx = px + scrollX;
    const int32_t cy = py + scrollY;
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        if (Rect{child->x, child->y, child->x + child->width, child->y + child->height}.Contains(cx, cy))
            return CGroup::HitTest(child, cx, cy);
    }
    return nullptr;
}

void CWin::Forget(CCtrl* c)
{
    if (pressedCtrl == c)
        pressedCtrl = nullptr;
    if (focusCtrl == c)
        focusCtrl = nullptr;
    if (app == nullptr)
        return;
    if (app->overCtrl == c)
        app->overCtrl = nullptr;
    if (app->hoverCtrl == c)
        app->hoverCtrl = nullptr;
}
