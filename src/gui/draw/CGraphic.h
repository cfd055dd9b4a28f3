#pragma once

#include "gui/platform/CDrawContext.h"
#include "gui/platform/Rect.h"
#include "io/CObject.h"

#include <cstdint>

class CBitmap;

// Text alignment bits of CGraphic::Text.
constexpr uint32_t kAlignLeft = 2;
constexpr uint32_t kAlignTop = 4;
constexpr uint32_t kAlignRight = 8;
constexpr uint32_t kAlignBottom = 16;
constexpr uint32_t kAlignNoClip = 0x4000;

// Gradient direction: top to bottom (any other value blends left to right).
constexpr int32_t kGradientVertical = 4;

// The one drawing object of the toolkit: a drawing context with a movable
// origin and a software clip, so that a control always paints in its own
// local coordinates. Every operation adds the origin to its coordinates and
// draws nothing outside clip. Pens and brushes are selected into the
// context only when the requested colour differs from the cached one.
// Single-threaded: used only on the user-interface thread.
class CGraphic : public CObject
{
public:
    // dc is not owned and must outlive the graphic.
    explicit CGraphic(CDrawContext* dc);

    void FillRect(uint32_t colour, Rect r);
    // Rectangles with one pixel cut from each corner.
    void FillCutRect(uint32_t colour, Rect r);
    void FrameCutRect(uint32_t colour, Rect r);
    // A one-pixel outline.
    void FrameRect(uint32_t colour, Rect r);

    // Selects the pen of Line: colour, solid or dotted by dottedPen.
    void SetPen(uint32_t colour);
    // A one-pixel line; its last point is left out.
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Ellipse(uint32_t colour, Rect r);

    // One line of text with transparent background; align is a set of the
    // kAlign bits (left or right, else centred; top or bottom, else centred;
    // kAlignNoClip lets the text leave r).
    void Text(uint32_t colour, const char* text, Rect r, uint32_t align);
    int32_t TextWidth(const char* text);

    // A linear blend from colour1 to colour2 whose first and last rows (or columns) are exact.
    void Gradient(Rect r, uint32_t colour1, uint32_t colour2, int32_t direction);
    // Fills r with colour and shades its upper half (effect > 0) or lower half
    // from a lighter tone; |effect| is the strength 0..1.
    void Gloss(Rect r, uint32_t colour, float effect, int32_t inset);

    // The colour at local (x, y); kNoPixel outside the surface.
    uint32_t GetPixel(int32_t x, int32_t y);
    // The whole image scaled over r, dropping rows and columns rather than blending them.
    void StretchImage(CBitmap* image, Rect r);
    // Copies the rectangle of source's surface starting at (srcX, srcY) (surface
    // pixels, source's origin not applied) to r.
    void Blit(CGraphic& source, Rect r, int32_t srcX, int32_t srcY);

    // A system clip region of r (local), bounded by limitWidth and
    // limitHeight when they are set, until the matching pop.
    void PushClipRegion(Rect r);
    void PopClipRegion();

    // r moved by the origin.
    Rect ToDevice(Rect r) const { return Offset(r, originX, originY); }

    int32_t originX = 0;
    int32_t originY = 0;
    Rect clip;                // device pixels
    uint8_t fullRepaint = 0;  // the current paint covers the whole window
    int32_t limitWidth = 0;   // 0: no bound
    int32_t limitHeight = 0;
    int32_t width = 0;  // surface size; 0 for a window's context
    int32_t height = 0;
    int32_t bitsPerPixel = 0;
    uint8_t* bits = nullptr;  // first row of a bitmap surface
    int32_t stride = 0;       // bytes per row, a multiple of 4
    uint32_t penColour = kNoSelection;
    uint8_t dottedPen = 0;
    uint32_t brushColour = kNoSelection;
    CDrawContext* dc;

    static constexpr uint32_t kNoSelection = 0xFFFFFFFFu;

private:
    void UseBrush(uint32_t colour);
    void UsePen(uint32_t colour, bool dotted);
    // Draws only when some of r (device) is inside clip.
    void FillDevice(uint32_t colour, const Rect& r);

    bool selectedPenDotted = false;
};
