#pragma once

#include "gui/widgets/CScrollbar.h"

#include <cstdint>

// Wheel steps of value controls: one per notch, ten with Shift.
constexpr int32_t kWheelFineStep = 1;
constexpr int32_t kWheelCoarseStep = 10;

// A slider without a thumb or arrows: a press or drag sets the value from
// the cursor's position (first pixel the minimum, last the maximum); with
// Ctrl held the wheel steps the value by 1 per notch, 10 with Shift. Painted
// as a groove, filled up to the value, with a marker at the value.
class CFader : public CScrollbar
{
public:
    CFader(CWin* window, bool vertical);

    void Paint(CGraphic& g, Rect r) override;
    // Without Ctrl the wheel is left to the parent (false).
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
};
