#pragma once

#include "gui/draw/CBitmap.h"

#include <cstdint>

// Fills of a skin item.
constexpr int32_t kFillNone = 0;
constexpr int32_t kFillSolid = 1;
constexpr int32_t kFillShaded = 2;
constexpr int32_t kFillPicture = 3;

// Shaded fills: a gloss gradient, or the item's image with bevel edges.
constexpr int32_t kShadeGloss = 0;
constexpr int32_t kShadeBevel = 1;

// Shapes.
constexpr int32_t kShapePlain = 0;
constexpr int32_t kShapeCut = 1;  // one pixel cut from each corner

// Bevel edges (itemfillalign): light left, dark right; light top, dark
// bottom; top and bottom both light; left and right both light.
constexpr int32_t kBevelLeftRight = 2;
constexpr int32_t kBevelTopBottom = 4;
constexpr int32_t kBevelTopBottomLight = 2048;
constexpr int32_t kBevelLeftRightLight = 4096;

// One named look of the theme: how to fill, frame and colour one kind of
// surface. Field names are the theme's property names. Owns its key and image.
class CSkinItem
{
public:
    explicit CSkinItem(const char* key);
    ~CSkinItem();

    // A solid fill.
    void SetSolid(uint32_t colour);
    // A shaded fill (kShadeGloss or kShadeBevel); an item without an image
    // gets one rendered now at its fixed size (256 where a size is 0).
    void SetShaded(int32_t shade, uint32_t colour, uint32_t colour2);
    // A one-pixel frame in colour.
    void SetFrame(uint32_t colour);

    char* itemid;         // the key, owned
    int32_t itemid2 = 0;  // numeric code; drawing does not use it
    int32_t itemmode = 0;
    int32_t width = 0;  // fixed size, 0 = follow the control
    int32_t height = 0;
    int32_t itemshape = kShapePlain;
    int32_t itemframe = 0;
    uint32_t itemframecol = 0;
    int32_t itemfill = kFillNone;
    int32_t itemfillImg = kShadeGloss;
    CTexture* itemfilltex = nullptr;  // owned
    uint32_t itemfillcol = 0;
    uint32_t itemfillcol2 = 0;
    int32_t itemfillalign = kBevelLeftRight;
    float itemfilleffect = 0.5f;
    uint32_t itemtextcol = 0;
    uint32_t itemsymbcol = 0;
    int32_t itemsep = 0;
    uint32_t itemsepcol = 0;
    int32_t itemdata = 0;

    CSkinItem(const CSkinItem&) = delete;
    CSkinItem& operator=(const CSkinItem&) = delete;
};

// The two bevel lines of align on r's edges (vertical ones from top + 1 to
// bottom - 1, horizontal ones from left + 1 to right - 1) in light and dark;
// returns the rest of r that the image covers.
Rect DrawBevelEdges(CGraphic& g, Rect r, int32_t align, uint32_t light, uint32_t dark);
