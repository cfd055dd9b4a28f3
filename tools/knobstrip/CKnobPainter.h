#pragma once

#include <cstdint>
#include <vector>

// Draws the knob filmstrip: kFrameCount frames of kFrameSize × kFrameSize
// pixels stacked top to bottom, 8-bit RGBA with straight alpha. Each frame is
// a dark round knob with a light pointer inside a ring of grey ticks and an
// orange dot on the ring; the pointer and dot turn clockwise over kSweep
// degrees centred on twelve o'clock, from seven o'clock in frame 0 to five
// o'clock in the last frame. Edges are anti-aliased by supersampling.
//
// Only IEEE arithmetic and square roots are used (no library trigonometry), so
// the pixels are the same on every platform.
class CKnobPainter
{
public:
    static constexpr int kFrameSize = 48;
    static constexpr int kFrameCount = 30;
    static constexpr double kSweepDegrees = 300.0;
    static constexpr int kTickCount = 11;

    CKnobPainter();

    // The whole strip: kFrameSize × (kFrameSize × kFrameCount) × 4 bytes.
    std::vector<uint8_t> PaintStrip() const;

    // Clockwise angle from twelve o'clock of frame f's pointer, in degrees.
    static double FrameAngle(int frame);

private:
    struct Colour
    {
        double r, g, b, a;  // 0..255 for colour, 0..1 alpha
    };

    void PaintFrame(int frame, uint8_t* out) const;
    // The colour seen at (x, y) of a frame whose pointer points at the unit
    // vector (dirX, dirY); alpha 0 outside every shape.
    Colour Sample(double x, double y, double dirX, double dirY) const;

    // Unit vectors of the ticks, spread evenly over the sweep.
    double tickX[kTickCount];
    double tickY[kTickCount];
};
