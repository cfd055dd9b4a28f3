#pragma once

#include "gui/platform/CSoftContext.h"

// A toolkit window's surface on X11: the software rasterizer's pixels, so
// that the screen shows exactly what the software backend draws, and the
// area drawn since they were last shown, which is all that goes to the
// server.
class CX11Context : public CSoftContext
{
public:
    CX11Context(int32_t width, int32_t height);

    void FillRect(const Rect& r) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(const Rect& r) override;
    void Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip) override;
    void Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY) override;
    void Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip) override;
    // Whoever takes the rows may write anywhere: all of it counts as drawn.
    uint8_t* Bits() override;

    // The rows without marking them drawn, for showing them.
    const uint8_t* Pixels() { return CSoftContext::Bits(); }
    // The area drawn since the last call (empty when nothing was), forgotten.
    Rect TakeDamage();
    // Counts r (normalised, cut to the surface) as drawn.
    void Damage(const Rect& r);

private:
    Rect damage;
};
