#pragma once

#include "gui/core/CCtrl.h"
#include "gui/draw/Colour.h"
#include "io/CList.h"

#include <cstdint>

// A control that holds other controls: it owns its children, paints them in
// list order over its background and lays them out by their anchors.
class CGroup : public CCtrl
{
public:
    explicit CGroup(CWin* window);
    // Deletes the children.
    ~CGroup() override;

    // OnPaint, the background fill, then every child at its place minus the scroll offset.
    void Paint(CGraphic& g, Rect r) override;

    // Applies the anchor rules to every child, in list order, and lays out child groups:
    //   horizontally 0x8 right-aligned at marginX; else 0x200 stretched to
    //   marginX from the right; else 0x800 centred at marginX percent of the width;
    //   vertically 0x10 bottom-aligned at marginY; else 0x400 stretched; else
    //   0x1000 placed at marginY percent of the free height (not centred).
    virtual void Layout();
    // Appends child (owned from now on) and makes this group its parent.
    virtual void AddChild(CCtrl* child);
    // Places child at (x, y), w by h in this group's content, then adds it;
    // returns it, so that a caller can go on setting it up.
    template <class T>
    T* AddChildAt(T* child, int32_t x, int32_t y, int32_t w, int32_t h)
    {
        child->x = x;
        child->y = y;
        child->width = w;
        child->height = h;
        AddChild(child);
        return child;
    }
    // Removes and deletes every child, first to last.
    virtual void DeleteChildren();

    // The deepest visible, enabled control under (px, py), given in the
    // coordinates of c's parent's content; the last child hit wins. Null when
    // c itself is not hit.
    static CCtrl* HitTest(CCtrl* c, int32_t px, int32_t py);
    // Paints child at window position (px, py) of g: sets absX and absY and,
    // when the child is visible and meets g's clip, paints it with g's origin
    // and clip moved onto it (under a clip region when clipChildren is set).
    static void PaintChild(CGraphic& g, CCtrl* child, int32_t px, int32_t py);

    CCtrl* Child(int32_t index) const { return static_cast<CCtrl*>(children.Get(index)); }

    uint32_t background = kNoColour;  // -1: no fill
    CList children;                   // of owned CCtrl
};
