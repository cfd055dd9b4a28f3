#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

// A control pushed with the left button: it is held down from the press
// until the release, shown up while the held cursor is outside it, and a
// left release inside is a click. What a click does and how the control
// looks are up to the subclass.
class CPushCtrl : public CCtrl
{
public:
    explicit CPushCtrl(CWin* window);

    // Any button: OnMouseDown and a repaint; the left button also holds the control down.
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    // Shows the control up while the held cursor is outside it.
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    // A repaint, OnMouseUp, then Click for a left release inside.
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // What a click does.
    virtual void Click() = 0;

    // Drawn pushed: held with the cursor inside.
    bool IsPushed() const { return pressed && inside; }

    uint8_t pressed = 0;  // the left button went down on it and is held
    uint8_t inside = 0;   // the cursor is inside while pressed

protected:
    bool Contains(int32_t px, int32_t py) const { return px >= 0 && py >= 0 && px < width && py < height; }
};
