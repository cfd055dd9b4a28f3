#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

// A resize grip, usually in a window's bottom-right corner: dragging it
// with the left button resizes the target window by the cursor's travel,
// never below the target's minimum size. The target is the sizer's window,
// or, for a window embedded in a container (style 0x800000) that cannot be
// resized itself (style 0x80000), the container.
class CSizer : public CCtrl
{
public:
    // Sized 16 x 16.
    explicit CSizer(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // The window a drag resizes.
    CWin* Target() const;

    CWin* target = nullptr;  // while dragging; not owned
    Rect startRect;          // the target's rectangle at the press (parent coordinates)
    int32_t pressX = 0;      // the cursor on the screen at the press
    int32_t pressY = 0;

private:
    // (x, y) local to the sizer, on the screen.
    void ScreenPoint(int32_t x, int32_t y, int32_t& sx, int32_t& sy) const;
};
