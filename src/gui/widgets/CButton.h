#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

class CSkinItem;

// A push button: the "button" skin item with its caption (text) in the
// item's text colour. A left release inside the button is a click: it calls
// OnChange, or without an OnChange binder sends the button up the parent
// chain (ForwardUp with value 0) and then its name (ForwardTextUp), so that
// a window can take button names as commands.
class CButton : public CCtrl
{
public:
    explicit CButton(CWin* window, const char* caption = "");

    void Paint(CGraphic& g, Rect r) override;
    // Any button: OnMouseDown and a repaint; the left button also holds the button down.
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    // Shows the button up while the held cursor is outside it.
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    // A repaint, OnMouseUp, then Click for a left release inside.
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;

    // What a click does; variants that act by themselves override it.
    virtual void Click();

    // Drawn pushed: held with the cursor inside.
    bool IsPushed() const { return pressed && inside; }

    uint8_t pressed = 0; // the left button went down on it and is held
    uint8_t inside = 0;  // the cursor is inside while pressed

protected:
    // The theme item of key, or null without a window or theme.
    const CSkinItem* Item(const char* key) const;
    bool Contains(int32_t px, int32_t py) const { return px >= 0 && py >= 0 && px < width && py < height; }
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
