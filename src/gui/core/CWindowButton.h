#pragma once

#include "gui/core/CPushCtrl.h"

#include <cstdint>

// Kinds of title-bar button.
constexpr int32_t kButtonClose = 1;
constexpr int32_t kButtonMaximise = 2;
constexpr int32_t kButtonMinimise = 3;

// A 16 x 16 title-bar button: close, maximise or minimise, drawn as its
// skin item ("winclose", "winmax", "winmin", each with its "mouseover"
// variant while hovered) with its symbol. A click (a left release inside)
// acts on the window: close, maximise or restore, or minimise.
class CWindowButton : public CPushCtrl
{
public:
    CWindowButton(CWin* window, int32_t buttonKind);

    void Paint(CGraphic& g, Rect r) override;
    void Hover(bool inside, int32_t x, int32_t y) override;
    void Click() override;

    int32_t buttonKind;
    uint8_t hovered = 0;
};
