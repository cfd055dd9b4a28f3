#include "gui/draw/CBitmap.h"

CBitmap::CBitmap(int32_t width, int32_t height, int32_t bitsPerPixel)
{
    // Every surface is 32 bits deep; other depths are not asked for.
    if (bitsPerPixel != 0 && bitsPerPixel != 32)
        return;
    context = NewBitmapContext(width, height);
    if (context == nullptr)
        return;
    graphic = new CGraphic(context);
    this->bitsPerPixel = 32;
    this->width = width;
    this->height = height;
    bits = context->Bits();
    stride = context->Stride();
}

CBitmap::~CBitmap()
{
    delete graphic;
    delete context;
}
