#pragma once

#include "gui/platform/CWindowSystem.h"
#include "gui/platform/CX11Context.h"

#include <cstdint>
#include <deque>
#include <map>

struct _XDisplay;
union _XEvent;

// The X11 window system of the Linux plug-in. Toolkit windows are X windows
// on a connection of the plug-in's own (a host does not share its own
// through the plug-in interface), drawn by the software rasterizer and
// shown with XPutImage, through shared memory when the server offers it, so
// the screen holds exactly the software backend's pixels. The editor becomes
// a child of the host's window (Embed) and carries the XEmbed info property;
// popups (windows shown without activation) are override-redirect windows,
// other top-level windows are managed and transient for their owner's
// top-level window. Nobody else reads the connection: the editor's idle
// request calls DispatchPending, the toolkit's loops Peek and Dispatch.
//
// The connection opens with the first window and closes with the last.
// Errors the server reports for it are ignored (a host may destroy its
// window, and ours with it, before closing the editor). Used on the host's
// user-interface thread only.
class CX11System : public CWindowSystem
{
public:
    CX11System();
    ~CX11System() override;

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
    SysWindow Focus() override;
    void SetCapture(SysWindow w) override;
    void ReleaseCapture() override;
    SysWindow Capture() override { return capture; }
    SysWindow WindowAt(int32_t x, int32_t y) override;
    void CursorPos(int32_t& x, int32_t& y) override;
    void SetCursor(CursorShape shape) override;
    int32_t KeyModifiers() override { return keyModifiers; }
    Rect PrimaryScreen() override;
    void Invalidate(SysWindow w, const Rect& r) override;
    void Update(SysWindow w) override;
    Rect BeginPaint(SysWindow w) override;
    void EndPaint(SysWindow w) override;
    CDrawContext* Context(SysWindow w) override;
    uint32_t Time() override;
    void Sleep(uint32_t milliseconds) override;
    bool Peek(Message& m) override;
    void Dispatch(Message& m) override;
    void Post(const Message& m) override;
    void SendToOther(SysWindow w, const Message& m) override;
    // Files dropped from other programs are not taken on X11.
    int32_t DroppedFileCount(const Message&) override { return 0; }
    void DroppedFile(const Message&, int32_t, char* buffer, int32_t size) override;
    void EndDrop(const Message&) override {}
    // parent is the host's X window id.
    bool Embed(SysWindow w, uintptr_t parent) override;
    void DispatchPending(int32_t limit) override;

    // Open windows, for tests of the connection's lifetime.
    int32_t WindowCount() const { return static_cast<int32_t>(windows.size()); }
    bool Connected() const { return display != nullptr; }

    CX11System(const CX11System&) = delete;
    CX11System& operator=(const CX11System&) = delete;

private:
    struct Entry;

    bool Connect();
    void Disconnect();
    Entry* Find(SysWindow w);
    bool ShownOnScreen(const Entry& w);
    // The toolkit's message for an X event; false for events handled here
    // (exposure, geometry, mapping, destruction) or of no use.
    bool Translate(_XEvent& event, Message& m);
    MessageResult Send(const Message& m);
    // Shows the part of w's surface in r (surface coordinates) on the screen.
    void Put(Entry& w, const Rect& r);
    // Shows what was drawn in every window since it was last shown.
    void PresentAll();
    void ResizeSurface(Entry& w, int32_t width, int32_t height);
    // The top-level X window holding x (x itself when it is one).
    unsigned long TopLevelOf(unsigned long x);

    _XDisplay* display = nullptr;
    std::map<SysWindow, Entry*> windows;
    std::deque<Message> posted;
    SysWindow capture = 0;
    SysWindow painting = 0;
    SysWindow pointerWindow = 0;  // the window of the last pointer event
    int32_t keyModifiers = 0;     // Shift and Ctrl as of the last input event
    struct Connection;
    Connection* connection = nullptr;
};
