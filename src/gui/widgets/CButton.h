#pragma once

#include "gui/core/CPushCtrl.h"

#include <cstdint>

class CSkinItem;

// A push button: the "button" skin item with its caption (text) in the
// item's text colour. A left release inside the button is a click: it calls
// OnChange, or without an OnChange binder sends the button up the parent
// chain (ForwardUp with value 0) and then its name (ForwardTextUp), so that
// a window can take button names as commands.
class CButton : public CPushCtrl
{
public:
    explicit CButton(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;
    // Calls OnChange, or without an OnChange binder forwards the button and its name up.
    void Click() override;

protected:
    // The theme item of key, or null without a window or theme.
    const CSkinItem* Item(const char* key) const;
};

// A flat entry of a bar of commands: the "menubar" item, "menubarsel" while
// hovered or pushed, the caption in white.
class CMenuCtrl : public CButton
{
public:
    explicit CMenuCtrl(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;
    void Hover(bool inside, int32_t x, int32_t y) override;

    uint8_t hovered = 0;
};

// A button that opens a menu: the "button" item, its caption on the left
// and a downward arrow at the right in the item's text colour.
class CMenuButton : public CButton
{
public:
    explicit CMenuButton(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;
};

// The header of a column: the "caption" item with its caption on the left,
// drawn one pixel lower while pushed.
class CHeaderLabel : public CButton
{
public:
    explicit CHeaderLabel(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;
};
