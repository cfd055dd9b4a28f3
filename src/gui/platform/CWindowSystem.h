#pragma once

#include "gui/platform/CDrawContext.h"
#include "gui/platform/CursorTable.h"
#include "gui/platform/Message.h"
#include "gui/platform/Rect.h"

#include <cstdint>

class CWin;
class CWindowSystem;

// The toolkit's window procedure: every message for a window of the
// toolkit's class goes through it.
using WindowProcedure = MessageResult (*)(CWindowSystem& system, const Message& message);

// The system's windows, input and time as the toolkit sees them: the only
// way the toolkit's windows reach the system. Two backends: the real system
// (win32) and an in-memory screen with a scripted message queue and a
// clock that sleeping advances (CSoftScreen), on which the toolkit's loops
// run unchanged. Used on the user-interface thread only.
class CWindowSystem
{
public:
    CWindowSystem() = default;
    virtual ~CWindowSystem() = default;

    // Creates a hidden window of the toolkit's class whose user data is user.
    // r is relative to the parent's client area for a child, else on the
    // screen. Returns 0 when the system refuses.
    virtual SysWindow Create(SysWindow parent, bool child, bool appWindow, const Rect& r, CWin* user) = 0;
    virtual void Destroy(SysWindow w) = 0;
    // The toolkit window of w; null for a window of another class or one
    // whose toolkit object has gone.
    virtual CWin* UserData(SysWindow w) = 0;
    virtual void SetUserData(SysWindow w, CWin* user) = 0;

    // Shows w, activating it or not (then without moving or sizing it).
    virtual void Show(SysWindow w, bool activate) = 0;
    virtual void Hide(SysWindow w) = 0;
    // Moves and sizes w (parent client coordinates for a child).
    virtual void SetRect(SysWindow w, const Rect& r) = 0;
    // w's rectangle on the screen.
    virtual Rect ScreenRect(SysWindow w) = 0;
    // w's rectangle relative to its parent's client area (the screen for top-level windows).
    virtual Rect ParentRect(SysWindow w) = 0;
    // Raises w to the top of its siblings, activating it or not.
    virtual void Raise(SysWindow w, bool activate) = 0;

    virtual void SetFocus(SysWindow w) = 0;
    virtual SysWindow Focus() = 0;
    virtual void SetCapture(SysWindow w) = 0;
    virtual void ReleaseCapture() = 0;
    virtual SysWindow Capture() = 0;

    // The topmost visible window (of any class) under screen point (x, y), or 0.
    virtual SysWindow WindowAt(int32_t x, int32_t y) = 0;
    virtual void CursorPos(int32_t& x, int32_t& y) = 0;
    // Puts the mouse pointer at screen point (x, y). A system that cannot
    // move the pointer leaves it where it is.
    virtual void MoveCursor(int32_t, int32_t) {}
    virtual void SetCursor(CursorShape shape) = 0;
    // Shift and Ctrl as the keyboard state holds them now.
    virtual int32_t KeyModifiers() = 0;
    // The primary screen.
    virtual Rect PrimaryScreen() = 0;
    // The work area (the screen less task bars and docks) of the screen
    // nearest screen point (x, y); popups are kept inside it. A system
    // without such bars answers the primary screen.
    virtual Rect WorkArea(int32_t, int32_t) { return PrimaryScreen(); }

    // Adds r (client coordinates) to w's invalid area without erasing.
    virtual void Invalidate(SysWindow w, const Rect& r) = 0;
    // Paints w's invalid area now, if any.
    virtual void Update(SysWindow w) = 0;
    // The invalid area to paint, validated; EndPaint closes the paint.
    virtual Rect BeginPaint(SysWindow w) = 0;
    virtual void EndPaint(SysWindow w) = 0;
    // w's own drawing context (owned by the system; lives as long as w).
    virtual CDrawContext* Context(SysWindow w) = 0;

    // Milliseconds of a free-running clock.
    virtual uint32_t Time() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;

    // Takes the next pending message without waiting; false when none.
    virtual bool Peek(Message& m) = 0;
    // Delivers m to its window (m.window) through the window procedure.
    virtual void Dispatch(Message& m) = 0;
    // Puts m at the end of the queue again.
    virtual void Post(const Message& m) = 0;
    // Hands m to w, a window of another class.
    virtual void SendToOther(SysWindow w, const Message& m) = 0;

    // Makes w a child of parent, a window of another program (the host's),
    // at the top-left corner of its client area. False, changing nothing,
    // when parent is no window the system knows.
    virtual bool Embed(SysWindow w, uintptr_t parent)
    {
        (void)w;
        (void)parent;
        return false;
    }
    // For a system whose events nobody else reads (the plug-in's own
    // connection on X11): dispatches at most limit pending messages and
    // shows what was drawn. Elsewhere the host's message loop delivers them
    // and this does nothing.
    virtual void DispatchPending(int32_t limit) { (void)limit; }

    // The dropped files of a DropFiles message: their number.
    virtual int32_t DroppedFileCount(const Message& m) = 0;
    // Copies dropped file index into buffer (size bytes, always terminated, cut when longer).
    virtual void DroppedFile(const Message& m, int32_t index, char* buffer, int32_t size) = 0;
    // The drop's data is no longer needed.
    virtual void EndDrop(const Message& m) = 0;

    WindowProcedure procedure = nullptr;

    CWindowSystem(const CWindowSystem&) = delete;
    CWindowSystem& operator=(const CWindowSystem&) = delete;
};

// The window system of the build (the real system on Windows, otherwise a
// process-wide in-memory screen); never null.
CWindowSystem* BuildWindowSystem();

// The window system the plug-in's editor opens on inside a host: the real
// system of the platform (win32, or X11 on Linux); never null.
CWindowSystem* EditorWindowSystem();
