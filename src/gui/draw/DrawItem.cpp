#include "gui/draw/DrawItem.h"

namespace
{

void Outline(CGraphic& g, uint32_t colour, const Rect& r, int32_t shape)
{
    if (shape == kShapeCut)
        g.FrameCutRect(colour, r);
    else
        g.FrameRect(colour, r);
}

void Fill(CGraphic& g, const Rect& r, const CSkinItem& item, int32_t flags)
{
    switch (item.itemfill)
    {
    case kFillSolid:
        if (item.itemshape == kShapeCut)
            g.FillCutRect(item.itemfillcol, r);
        else
            g.FillRect(item.itemfillcol, r);
        break;
    case kFillShaded:
        if (item.itemfillImg == kShadeGloss)
        {
            const Rect inner{r.left + 1, r.top, r.right - 1, r.bottom};
            // The pre-rendered image fits only the height it was made for.
            if (item.height != 0 && item.height == r.Height() && item.itemfilltex != nullptr)
                g.StretchImage(item.itemfilltex, inner);
            else
                g.Gloss(inner, item.itemfillcol, item.itemfilleffect, 0);
            Outline(g, item.itemfillcol, r, item.itemshape);
        }
        else
        {
            Rect rest = r;
            if (item.itemshape == kShapeCut)
                rest = DrawBevelEdges(g, r, item.itemfillalign, item.itemfillcol, item.itemfillcol2);
            g.StretchImage(item.itemfilltex, rest);
        }
        break;
    case kFillPicture:
        if (item.itemframe == 1 && item.itemshape == kShapeCut && !(flags & kItemNoFrame))
            g.StretchImage(item.itemfilltex, Rect{r.left + 1, r.top, r.right - 1, r.bottom});
        else
            g.StretchImage(item.itemfilltex, r);
        break;
    default:
        break;
    }
}

}  // namespace

void DrawItem(CGraphic& g, Rect r, const CSkinItem* item, int32_t flags)
{
    if (item == nullptr)
        return;
    const Rect n = Normalised(r);
    if (n.IsEmpty())
        return;
    if (!(flags & kItemFrameOnly))
        Fill(g, n, *item, flags);
    if (!(flags & kItemNoFrame) && item->itemframe == 1)
        Outline(g, item->itemframecol, n, item->itemshape);
}
