#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

class CBitmap;

// The output level meter of the editor's bottom strip: two bars (left
// channel above, right below) lit in proportion to the synth's output peaks
// (1.0 = full scale). Repainted on every editor idle.
class CAudioVU : public CCtrl
{
public:
    static constexpr int32_t kWidth = 63;
    static constexpr int32_t kHeight = 14;
    static constexpr int32_t kStripWidth = 60;
    static constexpr int32_t kBarHeight = 4;

    // The peaks are read, not owned; they belong to the synth.
    CAudioVU(CWin* window, const float* peakLeft, const float* peakRight);
    ~CAudioVU() override;

    void Paint(CGraphic& g, Rect r) override;

    // Lit width of a bar for peak p: 63 x p in whole pixels, within the strip.
    static int32_t LitWidth(float p);

    const float* peakLeft;
    const float* peakRight;
    CBitmap* unlit = nullptr;  // owned
    CBitmap* lit = nullptr;    // owned

private:
    void PaintBar(CGraphic& g, int32_t top, float peak);
};
