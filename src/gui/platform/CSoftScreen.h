#pragma once

#include "gui/platform/CSoftContext.h"
#include "gui/platform/CWindowSystem.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

// The software window system: an in-memory screen of windows (position,
// size, visibility, z-order, focus, capture), a message queue that tests
// fill with scripted input, and a clock that only sleeping advances. Input
// is scripted in screen coordinates and addressed when it is taken from the
// queue, as the system would: mouse input to the capture window or the
// window under the point, keys and wheel to the focus window. Every window
// draws into a surface of its own; Compose shows the whole screen.
//
// A loop left waiting for input that never comes would spin for ever: after
// idleLimit sleeps in a row with nothing queued, the screen asks every
// visible window to close and reports itself exhausted.
class CSoftScreen : public CWindowSystem
{
public:
    CSoftScreen();
    ~CSoftScreen() override;

    SysWindow Create(SysWindow parent, bool child, bool appWindow, const Rect& r, CWin* user) override;
    void Destroy(SysWindow w) override;
    CWin* UserData(SysWindow w) override;
    void SetUserData(SysWindow w, CWin* user) override;
    void Show(SysWindow w, bool activate) override;
    void Hide(SysWindow w) override;
    void SetRect(SysWindow w, const Rect& r) override;
    Rect ScreenRect(SysWindow w) override;
    Rect ParentRect(SysWindow w) override;
    void Raise(SysWindow w, bool activate) override;
    void SetFocus(SysWindow w) override;
    SysWindow Focus() override { return focus; }
    void SetCapture(SysWindow w) override { capture = w; }
    void ReleaseCapture() override { capture = 0; }
    SysWindow Capture() override { return capture; }
    SysWindow WindowAt(int32_t x, int32_t y) override;
    void CursorPos(int32_t& x, int32_t& y) override;
    // Only the pointer moves: unlike the system, no mouse move is queued.
    void MoveCursor(int32_t x, int32_t y) override;
    void SetCursor(CursorShape shape) override { cursorShape = shape; }
    int32_t KeyModifiers() override { return keyModifiers; }
    Rect PrimaryScreen() override { return screen; }
    Rect WorkArea(int32_t, int32_t) override { return workArea; }
    void Invalidate(SysWindow w, const Rect& r) override;
    void Update(SysWindow w) override;
    Rect BeginPaint(SysWindow w) override;
    void EndPaint(SysWindow w) override;
    CDrawContext* Context(SysWindow w) override;
    uint32_t Time() override { return now; }
    void Sleep(uint32_t milliseconds) override;
    bool Peek(Message& m) override;
    void Dispatch(Message& m) override;
    void Post(const Message& m) override;
    void SendToOther(SysWindow w, const Message& m) override;
    // parent is one of this screen's windows standing for the host's.
    bool Embed(SysWindow w, uintptr_t parent) override;
    int32_t DroppedFileCount(const Message& m) override;
    void DroppedFile(const Message& m, int32_t index, char* buffer, int32_t size) override;
    void EndDrop(const Message& m) override;

    // Scripted input, taken when the clock reaches at (default: now).
    // Coordinates are on the screen; mods are the modifiers held.
    void Move(int32_t x, int32_t y, int32_t mods = 0);
    void Press(int32_t x, int32_t y, int32_t button, int32_t mods = 0);
    void Release(int32_t x, int32_t y, int32_t button, int32_t mods = 0);
    void Key(int32_t key, int32_t mods = 0);
    void KeyRelease(int32_t key, int32_t mods = 0);
    void Turn(int32_t x, int32_t y, int32_t delta, int32_t mods = 0);
    void DropFiles(int32_t x, int32_t y, const std::vector<std::string>& files);
    // A message to a window of the host (another program's class): whichever
    // loop takes it from the queue runs action when dispatching it, as the
    // host's window procedure would run its own code, calls into the
    // plug-in included.
    void HostMessage(std::function<void()> action);
    // Later scripted input is due at this time.
    void At(uint32_t time) { scriptTime = time; }
    // Advances the clock (the scripted time follows).
    void Advance(uint32_t milliseconds);

    // Draws every visible window onto out at its screen place, bottom to top.
    void Compose(CDrawContext& out);
    bool IsVisible(SysWindow w) const;
    // Windows bottom to top.
    std::vector<SysWindow> ZOrder() const { return order; }
    int32_t QueuedCount() const { return static_cast<int32_t>(queue.size()); }
    bool Exhausted() const { return exhausted; }

    Rect screen{0, 0, 1024, 768};
    Rect workArea{0, 0, 1024, 768};  // a test narrows it to stand for a task bar
    int32_t keyModifiers = 0;        // Shift and Ctrl held, as KeyModifiers reports
    CursorShape cursorShape = CursorShape::Arrow;
    int32_t idleLimit = 1000;
    std::vector<Message> sentToOthers;  // what SendToOther handed on
    int32_t paints = 0;                 // paint messages delivered

private:
    struct Window
    {
        SysWindow id;
        SysWindow parent;
        bool child;
        Rect rect;  // relative to the parent's client area (screen for top-level)
        bool visible;
        CWin* user;
        CSoftContext* surface;
        Rect invalid;
    };
    struct Scripted
    {
        uint32_t due;
        Message m;
        bool mouse;  // address by the screen point in x, y
        bool keyed;  // address to the focus window
    };

    Window* Find(SysWindow w);
    const Window* Find(SysWindow w) const;
    bool ShownOnScreen(const Window& w) const;
    // Sends m straight to the window procedure (as the system sends, not posts).
    MessageResult Send(const Message& m);
    void Queue(Message m, bool mouse, bool keyed);
    // Addresses scripted input; false when it has no window to go to.
    bool Address(Scripted& s, Message& m);
    bool IsHostMessage(const Message& m) const;

    std::vector<Window> windows;
    std::vector<SysWindow> order;  // bottom to top
    std::deque<Scripted> queue;
    std::vector<std::vector<std::string>> drops;
    std::vector<std::function<void()>> hostActions;  // by HostMessage value; emptied when run
    SysWindow nextId = 1;
    SysWindow focus = 0;
    SysWindow capture = 0;
    SysWindow painting = 0;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    uint32_t now = 0;
    uint32_t scriptTime = 0;
    int32_t idleSleeps = 0;
    bool exhausted = false;
};
