#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

// A divider that sets the size of a neighbouring control by dragging: a
// horizontal split changes the target's width by the cursor's horizontal
// travel; a vertical split changes its height by the vertical travel,
// growing when dragged up (the target lies below) unless growsDown is set.
// A size below collapse becomes 0, else a size below minimum becomes
// minimum (each −1 = no threshold); the split keeps its place on the
// target's moving edge. Each change lays out and repaints the window and
// calls OnChange.
class CSplit : public CCtrl
{
public:
    // target is not owned and must outlive the split (or be cleared).
    CSplit(CWin* window, CCtrl* target, bool vertical);

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // The size a drag gives for raw (before the thresholds).
    int32_t Limit(int32_t raw) const;

    CCtrl* target;
    uint8_t vertical;
    uint8_t growsDown = 0;
    int32_t collapse = -1;  // pixels; -1 = none
    int32_t minimum = -1;   // pixels; -1 = none
    uint8_t dragging = 0;
    int32_t startSize = 0;  // the target's size at the press
    int32_t startPos = 0;   // the split's own x (or y) at the press
    int32_t pressAt = 0;    // the cursor in window coordinates at the press, on the split's axis
};
