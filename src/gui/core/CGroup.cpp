#include "gui/core/CGroup.h"

#include "gui/draw/CGraphic.h"

CGroup::CGroup(CWin* window) : CCtrl(window)
{
    kind = kKindGroup;
}

CGroup::~CGroup()
{
    DeleteChildren();
}

void CGroup::Paint(CGraphic& g, Rect r)
{
    CCtrl::Paint(g, r);
    if (background != kNoColour)
        g.FillRect(background, r);
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        PaintChild(g, child, child->x - scrollX + g.originX, child->y - scrollY + g.originY);
    }
}

void CGroup::Layout()
{
    const int32_t w = width;
    const int32_t h = height;
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* c = Child(i);
        if (c->anchor & kAnchorRight)
            c->x = w - c->width - c->marginX;
        else if (c->anchor & kAnchorStretchX)
            c->width = w - c->x - c->marginX;
        else if (c->anchor & kAnchorCentreX)
            c->x = c->marginX * w / 100 - c->width / 2;
        if (c->anchor & kAnchorBottom)
            c->y = h - c->height - c->marginY;
        else if (c->anchor & kAnchorStretchY)
            c->height = h - c->y - c->marginY;
        else if (c->anchor & kAnchorFractionY)
            c->y = (h - c->height) * c->marginY / 100;
        if (c->kind == kKindGroup || c->kind == kKindTree)
            static_cast<CGroup*>(c)->Layout();
    }
}

void CGroup::AddChild(CCtrl* child)
{
    children.Add(child);
    child->parent = this;
}

void CGroup::DeleteChildren()
{
    while (children.Count() > 0)
    {
        CCtrl* child = static_cast<CCtrl*>(children.RemoveAt(0));
        child->parent = nullptr;
        delete child;
    }
}

CCtrl* CGroup::HitTest(CCtrl* c, int32_t px, int32_t py)
{
    if (!c->visible || !c->enabled)
        return nullptr;
    if (px < c->x || py < c->y || px >= c->x + c->width || py >= c->y + c->height)
        return nullptr;
    if (c->kind != kKindGroup && c->kind != kKindTree)
        return c;
    const CGroup* group = static_cast<const CGroup*>(c);
    const int32_t lx = px - c->x + c->scrollX;
    const int32_t ly = py - c->y + c->scrollY;
    CCtrl* hit = c;
    for (int32_t i = 0; i < group->children.Count(); ++i)
    {
        CCtrl* inner = HitTest(group->Child(i), lx, ly);
        if (inner != nullptr)
            hit = inner;
    }
    return hit;
}

void CGroup::PaintChild(CGraphic& g, CCtrl* child, int32_t px, int32_t py)
{
    child->absX = px;
    child->absY = py;
    const Rect area{px, py, px + child->width, py + child->height};
    if (!child->visible || g.clip.IsEmpty() || Intersection(area, g.clip).IsEmpty())
        return;
    const int32_t oldX = g.originX;
    const int32_t oldY = g.originY;
    const Rect oldClip = g.clip;
    g.originX = px;
    g.originY = py;
    g.clip = Intersection(oldClip, area);
    const Rect local{0, 0, child->width, child->height};
    if (child->clipChildren)
        g.PushClipRegion(local);
    child->Paint(g, local);
    if (child->clipChildren)
        g.PopClipRegion();
    g.originX = oldX;
    g.originY = oldY;
    g.clip = oldClip;
}
