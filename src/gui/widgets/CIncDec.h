#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

// A pair of step arrows (item "value"): a left press on the left half sets
// direction to -1, on the right half to +1, and reports OnChange; the owner
// reads direction and steps its own value.
class CIncDec : public CCtrl
{
public:
    explicit CIncDec(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;

    int32_t direction = 0;  // of the last press: -1 or +1
};
