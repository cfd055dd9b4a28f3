#include "gui/draw/CSkinItem.h"

#include "io/HeapString.h"

namespace
{

constexpr int32_t kDefaultImageSide = 256;

}  // namespace

CSkinItem::CSkinItem(const char* key) : itemid(NewString(key))
{
}

CSkinItem::~CSkinItem()
{
    FreeString(itemid);
    delete itemfilltex;
}

void CSkinItem::SetSolid(uint32_t colour)
{
    itemfill = kFillSolid;
    itemfillcol = colour;
}

void CSkinItem::SetFrame(uint32_t colour)
{
    itemframe = 1;
    itemframecol = colour;
}

void CSkinItem::SetShaded(int32_t shade, uint32_t colour, uint32_t colour2)
{
    itemfill = kFillShaded;
    itemfillImg = shade;
    itemfillcol = colour;
    itemfillcol2 = colour2;
    if (itemfilltex != nullptr)
        return;
    // Rendered once here so that drawing the item only stretches it.
    const int32_t w = width > 0 ? width : kDefaultImageSide;
    const int32_t h = height > 0 ? height : kDefaultImageSide;
    itemfilltex = new CTexture(w, h, 0);
    CGraphic* g = itemfilltex->graphic;
    if (g == nullptr)
        return;
    const Rect all{0, 0, w, h};
    if (shade == kShadeGloss)
    {
        g->Gloss(all, colour, itemfilleffect, 0);
    }
    else
    {
        g->FillRect(colour, all);
        DrawBevelEdges(*g, all, itemfillalign, colour, colour2);
    }
}

Rect DrawBevelEdges(CGraphic& g, Rect r, int32_t align, uint32_t light, uint32_t dark)
{
    const bool leftRight = align == kBevelLeftRight || align == kBevelLeftRightLight;
    const bool topBottom = align == kBevelTopBottom || align == kBevelTopBottomLight;
    const uint32_t far = align == kBevelLeftRightLight || align == kBevelTopBottomLight ? light : dark;
    if (leftRight)
    {
        g.FillRect(light, Rect{r.left, r.top + 1, r.left + 1, r.bottom - 1});
        g.FillRect(far, Rect{r.right - 1, r.top + 1, r.right, r.bottom - 1});
        return Rect{r.left + 1, r.top, r.right - 1, r.bottom};
    }
    if (topBottom)
    {
        g.FillRect(light, Rect{r.left + 1, r.top, r.right - 1, r.top + 1});
        g.FillRect(far, Rect{r.left + 1, r.bottom - 1, r.right - 1, r.bottom});
        return Rect{r.left, r.top + 1, r.right, r.bottom - 1};
    }
    return r;
}
