#include "gui/draw/CImage.h"

CImage::CImage(CImageChunk* source, uint32_t background) : source(source), background(background)
{
}

CImage::~CImage()
{
    delete cache;
}

void CImage::Draw(CGraphic& g, int32_t x, int32_t y, int32_t srcX, int32_t srcY, int32_t w, int32_t h)
{
    if (cache == nullptr)
    {
        if (source == nullptr || !source->Decode())
            return;
        cache = new CBitmap(source->width, source->height, 0);
        if (cache->graphic == nullptr)
            return;
        cache->graphic->FillRect(background, Rect{0, 0, source->width, source->height});
        source->Draw(*cache->graphic, 0, 0);
    }
    if (cache->graphic == nullptr)
        return;
    g.Blit(*cache->graphic, Rect{x, y, x + w, y + h}, srcX, srcY);
}
