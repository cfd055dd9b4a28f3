#pragma once

#include "gui/draw/CImage.h"

#include <cstdint>

// The knob filmstrip compiled into the library, prepared for drawing: square
// frames stacked top to bottom, frame size = strip width, frame count = strip
// height / width. The strip is composited once over the background colour
// into an opaque cache on the first draw. Shared by every knob of an editor;
// owned by the synth's editor resources.
class CKnobImage : public CImage
{
public:
    explicit CKnobImage(uint32_t background = 0);
    ~CKnobImage() override;

    // Side of one frame in pixels; 0 when the strip does not decode.
    int32_t FrameSize();
    int32_t FrameCount();
    // Copies frame (clamped to the strip) to local (x, y) of g.
    void DrawFrame(CGraphic& g, int32_t x, int32_t y, int32_t frame);
};
