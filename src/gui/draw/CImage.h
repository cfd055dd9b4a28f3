#pragma once

#include "gui/draw/CBitmap.h"
#include "gui/draw/CGraphic.h"
#include "gui/draw/CImageChunk.h"

#include <cstdint>

// A picture prepared for fast drawing: on the first draw the chunk is
// composited once over the background colour into a cache of its size;
// every draw is then one copy out of the cache. Transparency is therefore
// resolved against background only.
class CImage
{
public:
    // source is not owned and must outlive the image.
    CImage(CImageChunk* source, uint32_t background);
    virtual ~CImage();

    // Copies the rectangle (srcX, srcY, w, h) of the picture to local (x, y) of g.
    // Draws nothing when the source does not decode.
    virtual void Draw(CGraphic& g, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w, int32_t h);

    CBitmap* cache = nullptr;  // owned, made on the first draw
    CImageChunk* source;
    uint32_t background;

    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;
};
