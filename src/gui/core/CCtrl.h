#pragma once

#include "gui/core/Binders.h"
#include "gui/platform/Rect.h"
#include "io/CObject.h"

#include <cstdint>

class CGraphic;
class CGroup;
class CWin;

// Kinds of control: layout and hit testing descend only into groups and trees.
constexpr int32_t kKindControl = 1;
constexpr int32_t kKindGroup = 2;
constexpr int32_t kKindTree = 3;
constexpr int32_t kKindWindow = 4;

// Layout anchors (see CGroup::Layout).
constexpr uint32_t kAnchorRight = 0x8;
constexpr uint32_t kAnchorBottom = 0x10;
constexpr uint32_t kAnchorStretchX = 0x200;
constexpr uint32_t kAnchorStretchY = 0x400;
constexpr uint32_t kAnchorCentreX = 0x800;
constexpr uint32_t kAnchorFractionY = 0x1000;

// Distance on either axis from the last press that starts a drag.
constexpr int32_t kDragThreshold = 9;

// A control of the toolkit's tree: it paints itself, takes input in local
// coordinates and reports to its owner through the binders it owns. The
// default input operations call the matching binders. Everything runs on
// the user-interface thread.
class CCtrl : public CObject
{
public:
    // window may be null for a control not (yet) in a window; it is not owned.
    explicit CCtrl(CWin* window);
    // Clears the window's and application's pointers to the control, leaves
    // its parent's list and deletes its binders and text.
    ~CCtrl() override;

    // Asks the window to repaint the control's rectangle; nothing while hidden.
    virtual void Invalidate();
    // Draws the control; r is (0, 0, width, height). Default: the OnPaint binder.
    virtual void Paint(CGraphic& g, Rect r);
    virtual void MouseDown(int32_t x, int32_t y, int32_t flags);
    // Also starts a drag (OnDragStart) once the left button is held kDragThreshold pixels from the press.
    virtual void MouseMove(int32_t x, int32_t y, int32_t flags);
    virtual void MouseUp(int32_t x, int32_t y, int32_t flags);
    // Calls OnKeyDown with {key, mods}; false without a binder.
    virtual bool KeyDown(int32_t key, int32_t mods);
    // False: the window calls OnKeyUp itself.
    virtual bool KeyUp(int32_t key, int32_t mods);
    // One tick of the control's timer.
    virtual void Timer();
    virtual void Focus(bool gained);
    virtual bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved);
    // The mouse entered or left a control that tracks hover.
    virtual void Hover(bool inside, int32_t x, int32_t y);
    // Reserved entry; never called.
    virtual bool ReservedHook();
    // Passes sender up to the parent (a window's client group passes it to the window).
    virtual void ForwardUp(CCtrl* sender, int32_t value);
    // Passes text up to the parent; text stays the caller's.
    virtual void ForwardTextUp(const char* text, int32_t value);
    // Sets the visible flag only.
    virtual void SetVisible(bool show);
    virtual int32_t GetHeight();
    virtual int32_t GetWidth();

    // Replaces text with a copy of value.
    void SetText(const char* value);
    // The control's position in window coordinates, from its ancestors' positions and scroll offsets.
    void WindowPosition(int32_t& wx, int32_t& wy) const;

    int32_t kind = kKindControl;
    uint8_t visible = 1;
    uint8_t enabled = 1;
    uint8_t clipChildren = 0;
    int32_t scrollX = 0;
    int32_t scrollY = 0;
    int32_t id = 0;
    char* text;  // owned
    uint32_t anchor = 0;
    int32_t marginX = 0;
    int32_t marginY = 0;
    CWin* window;  // not owned
    CGroup* parent = nullptr;
    int32_t absX = 0;  // window position, written when painted
    int32_t absY = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t cursor = 1;
    uint8_t tracksHover = 0;
    uint8_t tabStop = 0;
    int32_t period = 0;  // timer, milliseconds
    int32_t remaining = 0;
    uint8_t repeat = 0;
    // Owned binders.
    COnChange* OnChange = nullptr;
    COnPaint* OnPaint = nullptr;
    COnMouse* OnMouseDown = nullptr;
    COnMouse* OnMouseMove = nullptr;
    COnMouse* OnMouseUp = nullptr;
    COnKey* OnKeyDown = nullptr;
    COnKey* OnKeyUp = nullptr;
    COnMouse* OnDragStart = nullptr;
    COnMouse* OnDrop = nullptr;
    COnMouse* OnDragOver = nullptr;
    COnWheel* OnWheel = nullptr;
};
