#pragma once

#include "gui/core/CGroup.h"
#include "gui/core/CTitleBar.h"
#include "gui/core/CWindowFrame.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/Message.h"
#include "gui/platform/Rect.h"

#include <cstdint>

class CApp;
class CClientGroup;
class CWindowSystem;

// Window style bits.
constexpr uint32_t kWinEmbedded = 0x1;   // child window inside the owner's system window
constexpr uint32_t kWinAppWindow = 0x2;  // system menu, minimise and maximise boxes
constexpr uint32_t kWinTitleBar = 0x4;
constexpr uint32_t kWinCentre = 0x8;       // centred on the primary screen when first shown
constexpr uint32_t kWinNoActivate = 0x10;  // never activated by a click, no mouse capture
constexpr uint32_t kWinEscapeCloses = 0x20;
constexpr uint32_t kWinResizable = 0x40;
constexpr uint32_t kWinMinButton = 0x80;
constexpr uint32_t kWinMaxButton = 0x100;
constexpr uint32_t kWinMinimised = 0x200;
constexpr uint32_t kWinAltMaximise = 0x80000;  // F11 alternative; no border drag or resize
constexpr uint32_t kWinNoBorder = 0x100000;
constexpr uint32_t kWinKeysToOwner = 0x200000;
constexpr uint32_t kWinBands = 0x400000;      // frame as four filled bands
constexpr uint32_t kWinContainer = 0x800000;  // holds embedded child windows

// Window metrics, pixels.
constexpr int32_t kBorder = 3;
constexpr int32_t kTitleHeight = 20;
constexpr int32_t kMinWindowSide = 16;

// A toolkit window: a group that owns a system window of the toolkit's
// class, its client group (first child) and, with a title bar, the bar
// (second child). It routes the input its window procedure hands it to its
// controls and its frame, paints its tree through the application's back
// buffer, and runs as a popup or modal window (WindowLoops.h). Coordinates
// of its input operations are client coordinates of the system window.
class CWin : public CGroup
{
public:
    // app is not owned and must outlive the window; owner (may be null) is
    // the window this one belongs to; width and height are the system
    // window's size. The window starts hidden.
    CWin(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
         int32_t height);
    // Closes and destroys the system window; no message reaches the object afterwards.
    ~CWin() override;

    // Repaints the whole window at once.
    void Invalidate() override;
    // Background, children and frame on g; r is the window's rectangle.
    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    bool KeyUp(int32_t key, int32_t mods) override;
    void Focus(bool gained) override;
    // x, y are client coordinates.
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
    void Layout() override;
    // Into the client group.
    void AddChild(CCtrl* child) override;
    void DeleteChildren() override;

    // Shows a hidden window (activating it or not) and lays it out.
    virtual void Show(bool activate);
    virtual void ToFront(bool activate);
    // Shows the window as a popup and, unless an older popup's loop serves
    // it, runs its messages until it is hidden. A window without a system
    // window (the system refused it) returns at once, closed. deleteOnClose
    // acts only for a popup that ran its own loop, not for one served by an
    // older popup's loop.
    virtual void RunPopup();
    // Shows the window activated and runs its messages until it is hidden;
    // left and right presses on other windows are dropped, keys come here.
    // A window without a system window returns at once, closed.
    virtual void RunModal();
    // Hides the window and takes it off the popup stack.
    virtual void Close();
    // Paints dirty (client coordinates) and shows it.
    virtual void PaintWindow(Rect dirty);
    virtual void GetSize(int32_t& w, int32_t& h);
    // Screen position, or relative to the parent system window when
    // relativeToParent is set and the window is embedded.
    virtual void GetPos(bool relativeToParent, int32_t& px, int32_t& py);
    // Moves the system window without resizing, reordering or activating it.
    virtual void Move(int32_t px, int32_t py);
    // The system keyboard focus is on this window.
    virtual bool HasFocus();
    virtual void SetFocusCtrl(CCtrl* c);
    // Hooks for subclasses; empty here.
    virtual void Hook4(int32_t, int32_t, int32_t, int32_t) {}
    virtual void Hook3(int32_t, int32_t, int32_t) {}

    // Adds r (client coordinates) to the area to repaint, without erasing.
    void InvalidateRect(Rect r);
    // The control under client point (px, py): the first direct child whose
    // rectangle holds the point (the window's scroll offset added), searched
    // down to the deepest hit. Null when nothing is hit.
    CCtrl* HitTest(int32_t px, int32_t py);
    // Clears every pointer of the window and its application that holds c.
    void Forget(CCtrl* c);
    int32_t BorderWidth() const { return (style & kWinNoBorder) ? 0 : kBorder; }
    bool IsEmbedded() const { return (style & kWinEmbedded) && owner != nullptr; }
    // Maximises to the work area of the window's screen (an embedded window:
    // to its owner's client area) or restores the saved rectangle.
    void ToggleMaximise();
    // What F11 and the maximise button do for a window of style
    // kWinAltMaximise, which cannot be resized itself: a window embedded in
    // a container toggles the container's maximisation; any other does
    // nothing. Subclasses may give it a meaning of their own.
    virtual void AlternativeMaximise();
    // Told by a window embedded in this container (kWinContainer): it came
    // to the front (closed false) or it closed. Here the container only
    // calls its OnChange binder; a container that keeps its children's
    // order overrides it.
    virtual void ChildChanged(CWin* child, bool closed);
    // Delivers a drop at client point (px, py) of this window.
    void DeliverDrop(int32_t px, int32_t py, int32_t flags);

    CClientGroup* clientGroup;      // owned (first child)
    CTitleBar* titleBar = nullptr;  // owned (second child), with kWinTitleBar
    CWindowFrame frame;             // border zones, moves and resizes
    int32_t maximized = 0;
    CCtrl* pressedCtrl = nullptr;
    CCtrl* focusCtrl = nullptr;
    CCtrl* menuBar = nullptr;
    CWin* keyTarget = nullptr;
    uint32_t style;
    CGraphic* graphic = nullptr;  // owned, on the window's own context (kept current across resizes)
    CApp* app;
    CWin* owner;
    CList ownedWindows;      // embedded child windows
    CList dependentWindows;  // top-level windows (popups, dialogs) naming this one as owner
    uint8_t deleteOnClose = 0;
    COnChange* popupHandler = nullptr;  // owned
    COnKey* keyHandler = nullptr;       // owned
    int32_t minWidth = kMinWindowSide;
    int32_t minHeight = kMinWindowSide;
    SysWindow hwnd = 0;
    Rect dirty;        // area invalidated and not painted yet
    Rect restoreRect;  // rectangle before maximising

private:
    // Points graphic at the system's current context of the window (a
    // resize may replace it); false when the window has no context.
    bool RefreshGraphic();
    // The window's own OnPaint, bands or the skin item, under g's clip.
    void PaintBackground(CGraphic& g);
    void UpdateHover(CCtrl* hit, int32_t px, int32_t py);
    void TrackDrag(int32_t px, int32_t py, int32_t flags);
    bool TabToNext();
    // Destroys w's system window after those of the windows w embeds (the
    // system takes them along, and each holds a drawing context to release).
    static void DestroySystemWindow(CWindowSystem* system, CWin* w);
};
