#include "CKnobPainter.h"

#include <cmath>

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kCentre = CKnobPainter::kFrameSize / 2.0;
constexpr int kSamplesPerAxis = 8;  // 64 samples per pixel

constexpr double kBodyRadius = 16.5;
constexpr double kRimWidth = 1.2;
constexpr double kPointerInner = 5.0;
constexpr double kPointerOuter = 13.8;
constexpr double kPointerHalfWidth = 1.35;
constexpr double kTickInner = 19.5;
constexpr double kTickOuter = 23.0;
constexpr double kTickHalfWidth = 0.75;
constexpr double kDotRing = 21.2;
constexpr double kDotRadius = 2.4;

// Sine and cosine by their Taylor series on |angle| <= pi: the same bits on
// every platform, unlike the C library's.
void SinCos(double radians, double& sine, double& cosine)
{
    const double square = radians * radians;
    double term = radians;
    sine = radians;
    for (int n = 1; n < 14; ++n)
    {
        term *= -square / ((2.0 * n) * (2.0 * n + 1.0));
        sine += term;
    }
    term = 1.0;
    cosine = 1.0;
    for (int n = 1; n < 14; ++n)
    {
        term *= -square / ((2.0 * n - 1.0) * (2.0 * n));
        cosine += term;
    }
}

// Screen direction of a clockwise angle from twelve o'clock (y grows down).
void Direction(double degrees, double& x, double& y)
{
    double sine, cosine;
    SinCos(degrees * kPi / 180.0, sine, cosine);
    x = sine;
    y = -cosine;
}

// Distance from (x, y) to the segment from radius r0 to r1 along (dirX, dirY).
double DistanceToSpoke(double x, double y, double dirX, double dirY, double r0, double r1)
{
    const double along = x * dirX + y * dirY;
    const double clamped = along < r0 ? r0 : along > r1 ? r1 : along;
    const double dx = x - clamped * dirX;
    const double dy = y - clamped * dirY;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

CKnobPainter::CKnobPainter()
{
    for (int tick = 0; tick < kTickCount; ++tick)
        Direction(-kSweepDegrees / 2.0 + kSweepDegrees * tick / (kTickCount - 1), tickX[tick], tickY[tick]);
}

double CKnobPainter::FrameAngle(int frame)
{
    return -kSweepDegrees / 2.0 + kSweepDegrees * frame / (kFrameCount - 1);
}

std::vector<uint8_t> CKnobPainter::PaintStrip() const
{
    const size_t frameBytes = static_cast<size_t>(kFrameSize) * kFrameSize * 4;
    std::vector<uint8_t> strip(frameBytes * kFrameCount);
    for (int frame = 0; frame < kFrameCount; ++frame)
        PaintFrame(frame, strip.data() + frameBytes * frame);
    return strip;
}

void CKnobPainter::PaintFrame(int frame, uint8_t* out) const
{
    double dirX, dirY;
    Direction(FrameAngle(frame), dirX, dirY);
    for (int py = 0; py < kFrameSize; ++py)
    {
        for (int px = 0; px < kFrameSize; ++px, out += 4)
        {
            // Average premultiplied colour over a grid of sample points.
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy)
            {
                for (int sx = 0; sx < kSamplesPerAxis; ++sx)
                {
                    const double x = px + (sx + 0.5) / kSamplesPerAxis - kCentre;
                    const double y = py + (sy + 0.5) / kSamplesPerAxis - kCentre;
                    const Colour c = Sample(x, y, dirX, dirY);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            if (a == 0)
            {
                out[0] = out[1] = out[2] = out[3] = 0;
                continue;
            }
            out[0] = static_cast<uint8_t>(r / a + 0.5);
            out[1] = static_cast<uint8_t>(g / a + 0.5);
            out[2] = static_cast<uint8_t>(b / a + 0.5);
            out[3] = static_cast<uint8_t>(a * 255.0 / (kSamplesPerAxis * kSamplesPerAxis) + 0.5);
        }
    }
}

CKnobPainter::Colour CKnobPainter::Sample(double x, double y, double dirX, double dirY) const
{
    if (DistanceToSpoke(x, y, dirX, dirY, kPointerInner, kPointerOuter) <= kPointerHalfWidth)
        return {238, 238, 232, 1};

    const double radius = std::sqrt(x * x + y * y);
    if (radius <= kBodyRadius)
    {
        if (radius > kBodyRadius - kRimWidth)
            return {86, 86, 94, 1};
        // Lit from above: lighter at the top, darker at the bottom.
        const double t = (y + kBodyRadius) / (2.0 * kBodyRadius);
        return {58 - 30 * t, 58 - 30 * t, 64 - 32 * t, 1};
    }

    const double dotX = x - kDotRing * dirX;
    const double dotY = y - kDotRing * dirY;
    if (dotX * dotX + dotY * dotY <= kDotRadius * kDotRadius)
        return {254, 128, 0, 1};

    for (int tick = 0; tick < kTickCount; ++tick)
    {
        if (DistanceToSpoke(x, y, tickX[tick], tickY[tick], kTickInner, kTickOuter) <= kTickHalfWidth)
            return {165, 165, 165, 1};
    }
    return {0, 0, 0, 0};
}
