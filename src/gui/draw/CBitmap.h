#pragma once

#include "gui/draw/CGraphic.h"
#include "gui/platform/CDrawContext.h"
#include "io/CObject.h"

#include <cstdint>

// An off-screen surface: 32-bit top-down rows that the program may write
// directly (bits, stride a multiple of 4), drawn on through graphic. A depth
// of 0 asks for the screen's depth, which the toolkit takes as 32 bits.
// When the system refuses the surface, graphic is null and the sizes are 0.
class CBitmap : public CObject
{
public:
    CBitmap(int32_t width, int32_t height, int32_t bitsPerPixel);
    ~CBitmap() override;

    CGraphic* graphic = nullptr;  // owned
    int32_t bitsPerPixel = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* bits = nullptr;
    int32_t stride = 0;

private:
    CDrawContext* context = nullptr;  // owned
};

// A bitmap used as a texture (an item image); nothing of its own.
class CTexture : public CBitmap
{
public:
    using CBitmap::CBitmap;
};
