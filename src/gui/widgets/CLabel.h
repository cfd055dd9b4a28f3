#pragma once

#include "gui/core/CCtrl.h"
#include "gui/draw/CGraphic.h"

#include <cstdint>

// A line of text in the "winbkgnd" item's text colour. Takes no input of its own.
class CLabel : public CCtrl
{
public:
    explicit CLabel(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;

    uint32_t align = kAlignLeft;  // CGraphic::Text alignment bits
};

// A one-pixel line in the window colour ("winbkgnd"'s fill) through the
// middle of the control: horizontal, or vertical when taller than wide.
class CSeparator : public CCtrl
{
public:
    explicit CSeparator(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
};
