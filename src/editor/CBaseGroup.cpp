#include "editor/CBaseGroup.h"

namespace
{

// Knobs start this far from the panel's left edge and below its header;
// four 64-pixel knobs then fill the 264-pixel width evenly.
constexpr int32_t kKnobInset = 4;

}  // namespace

CBaseGroup::CBaseGroup(CWin* window, CSynthResources* resources)
    : CGroup(window), resources(resources), cursorX(kKnobInset), cursorY(kHeaderHeight + kKnobInset)
{
    width = kWidth;
    height = kHeight;
    background = 0;
}

CCtrl* CBaseGroup::Place(CCtrl* c)
{
    c->x = cursorX;
    c->y = cursorY;
    AddChild(c);
    cursorX += c->width;
    if (c->height > rowHeight)
        rowHeight = c->height;
    return c;
}

void CBaseGroup::NewRow(int32_t gap)
{
    cursorX = kKnobInset;
    cursorY += rowHeight + gap;
    rowHeight = 0;
}
