#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

// The title bar of a window of style kWinTitleBar, its second child (named
// "close"): the "caption" skin item with the window's name, the close button
// and, as the window's style asks, the maximise and minimise buttons at the
// right. A double click maximises or restores the window (not one of style
// kWinAltMaximise); a left press starts moving it.
class CTitleBar : public CGroup
{
public:
    // Spans the window's width inside its border (border pixels wide) at the top.
    CTitleBar(CWin* window, int32_t border);

    // The caption, then the buttons.
    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;

private:
    void AddButton(int32_t buttonKind, int32_t margin);
};
