#include "editor/CAudioVU.h"

#include "editor/EditorColours.h"
#include "gui/draw/CBitmap.h"
#include "gui/draw/Colour.h"

#include <cmath>

namespace
{

constexpr uint32_t kMeterBackground = 0x282828;  // RGB (40, 40, 40)
constexpr int32_t kBarLeft = 2;
constexpr int32_t kLeftTop = 2;
constexpr int32_t kRightTop = 8;

// A strip with a one-pixel segment line at every second column.
CBitmap* MakeStrip(uint32_t lines)
{
    CBitmap* strip = new CBitmap(CAudioVU::kStripWidth, CAudioVU::kBarHeight, 0);
    if (strip->graphic == nullptr)
        return strip;
    strip->graphic->FillRect(kMeterBackground, Rect{0, 0, CAudioVU::kStripWidth, CAudioVU::kBarHeight});
    for (int32_t x = 0; x < CAudioVU::kStripWidth; x += 2)
        strip->graphic->FillRect(lines, Rect{x, 0, x + 1, CAudioVU::kBarHeight});
    return strip;
}

}  // namespace

CAudioVU::CAudioVU(CWin* window, const float* peakLeft, const float* peakRight)
    : CCtrl(window), peakLeft(peakLeft), peakRight(peakRight)
{
    width = kWidth;
    height = kHeight;
    // The unlit segments: the meter colour moved 90 % of the way to the background.
    unlit = MakeStrip(Mix(kGreyColour, kMeterBackground, 0.9));
    lit = MakeStrip(kGreyColour);
}

CAudioVU::~CAudioVU()
{
    delete unlit;
    delete lit;
}

int32_t CAudioVU::LitWidth(float p)
{
    // The strip is narrower than the bar: a peak at or above full scale lights it all.
    if (!(p > 0.0f))
        return 0;
    const float w = static_cast<float>(kWidth) * p;
    return w >= static_cast<float>(kStripWidth) ? kStripWidth : static_cast<int32_t>(w);
}

void CAudioVU::PaintBar(CGraphic& g, int32_t top, float peak)
{
    if (unlit->graphic == nullptr || lit->graphic == nullptr)
        return;
    g.Blit(*unlit->graphic, Rect{kBarLeft, top, kBarLeft + kStripWidth, top + kBarHeight}, 0, 0);
    const int32_t w = LitWidth(peak);
    if (w > 0)
        g.Blit(*lit->graphic, Rect{kBarLeft, top, kBarLeft + w, top + kBarHeight}, 0, 0);
}

void CAudioVU::Paint(CGraphic& g, Rect)
{
    PaintBar(g, kLeftTop, *peakLeft);
    PaintBar(g, kRightTop, *peakRight);
}
