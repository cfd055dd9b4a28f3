#pragma once

#include "gui/platform/CDrawContext.h"

#include <cstdint>
#include <vector>

// The software backend: a deterministic rasterizer drawing into memory with
// the CSoftFont. Same calls, same pixels, on every machine. Every toolkit
// test draws through it.
class CSoftContext : public CDrawContext
{
public:
    // A black width x height surface; sides below 1 give an empty surface.
    CSoftContext(int32_t width, int32_t height);
    ~CSoftContext() override;

    void SelectPen(uint32_t colour, bool dotted) override;
    void SelectBrush(uint32_t colour) override;
    void FillRect(const Rect& r) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(const Rect& r) override;
    void Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip) override;
    int32_t TextWidth(const char* text) override;
    int32_t LineHeight() override;
    uint32_t GetPixel(int32_t x, int32_t y) override;
    void Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY) override;
    void Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip) override;
    void PushClipRegion(const Rect& r) override;
    void PopClipRegion() override;
    int32_t Width() const override { return width; }
    int32_t Height() const override { return height; }
    uint8_t* Bits() override { return bits; }
    int32_t Stride() const override { return stride; }

    // Pens and brushes selected so far: each stands for a system object created.
    int32_t ObjectsCreated() const { return objectsCreated; }

private:
    // Sets (x, y) when it lies inside region (never larger than Region()).
    void Plot(const Rect& region, int32_t x, int32_t y, uint32_t colour);
    // The surface narrowed by every pushed region.
    Rect Region() const;

    int32_t width;
    int32_t height;
    int32_t stride;
    uint8_t* bits;
    uint32_t pen = 0;
    bool penDotted = false;
    uint32_t brush = 0;
    int32_t objectsCreated = 0;
    std::vector<Rect> regions;
};
