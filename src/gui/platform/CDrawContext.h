#pragma once

#include "gui/platform/Rect.h"

#include <cstdint>

// The drawing target of the system as the toolkit sees it: the only way the
// toolkit's drawing reaches pixels. Coordinates are device pixels; callers
// have applied their origin and software clip already. Colours are
// 0x00BBGGRR. Pixels of a bitmap context are 32-bit, top-down rows, bytes
// blue, green, red, unused.
//
// Every context is used on one thread; a context blits only from contexts of
// its own backend.
class CDrawContext
{
public:
    CDrawContext() = default;
    virtual ~CDrawContext() = default;

    // Makes colour the pen of later lines and ellipse outlines; a dotted pen
    // sets every second pixel of a line, starting with the first.
    virtual void SelectPen(uint32_t colour, bool dotted) = 0;
    // Makes colour the brush of later fills and ellipse insides.
    virtual void SelectBrush(uint32_t colour) = 0;

    // Fills r (normalised) with the brush.
    virtual void FillRect(const Rect& r) = 0;
    // A one-pixel line in the pen from (x1, y1) towards (x2, y2); the last point is left out.
    virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
    // The ellipse inscribed in r: inside in the brush, outline in the pen.
    virtual void Ellipse(const Rect& r) = 0;

    // One line of text in the context's font, transparent background, the
    // top of its line cell at y; nothing outside clip when clip is given.
    virtual void Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip) = 0;
    virtual int32_t TextWidth(const char* text) = 0;
    // Height of a line of the font (ascent plus descent), in pixels.
    virtual int32_t LineHeight() = 0;

    // The colour at (x, y); kNoPixel outside the surface.
    virtual uint32_t GetPixel(int32_t x, int32_t y) = 0;
    // Copies dst's size from (srcX, srcY) of src into dst.
    virtual void Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY) = 0;
    // Scales srcRect of src onto dst by dropping or repeating rows and
    // columns (no blending); only the part of dst inside clip is written.
    virtual void Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip) = 0;

    // Narrows the system clip region to its intersection with r until the matching pop.
    virtual void PushClipRegion(const Rect& r) = 0;
    virtual void PopClipRegion() = 0;

    // Bitmap contexts: size and the directly addressable rows (stride a
    // multiple of 4). A window's context answers 0 and null.
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual uint8_t* Bits() = 0;
    virtual int32_t Stride() const = 0;

    static constexpr uint32_t kNoPixel = 0xFFFFFFFFu;

    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
};

// A new off-screen bitmap context of the build's backend (width x height,
// black), owned by the caller; null when a side is not positive or the
// system refuses.
CDrawContext* NewBitmapContext(int32_t width, int32_t height);
