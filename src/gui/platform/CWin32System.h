#pragma once

#include "gui/platform/CWin32Context.h"
#include "gui/platform/CWindowSystem.h"

#include <map>
#include <windows.h>

// The real window system: one window class, "pluginwinclass", whose window
// procedure translates each system message into the toolkit's Message and
// hands it to the toolkit's procedure; capture, cursors, focus, the
// multimedia clock, Sleep and the shell's dropped files. Compiled only into
// Windows builds; one instance per process (see BuildWindowSystem).
class CWin32System : public CWindowSystem
{
public:
    CWin32System();
    ~CWin32System() override;

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
    SysWindow Capture() override;
    SysWindow WindowAt(int32_t x, int32_t y) override;
    void CursorPos(int32_t& x, int32_t& y) override;
    void MoveCursor(int32_t x, int32_t y) override;
    void SetCursor(CursorShape shape) override;
    int32_t KeyModifiers() override;
    Rect PrimaryScreen() override;
    Rect WorkArea(int32_t x, int32_t y) override;
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
    bool Embed(SysWindow w, uintptr_t parent) override;
    int32_t DroppedFileCount(const Message& m) override;
    void DroppedFile(const Message& m, int32_t index, char* buffer, int32_t size) override;
    void EndDrop(const Message& m) override;

    // The toolkit's Message of a system message (kind None when the toolkit has no use for it).
    static Message Translate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterClassOnce();

    std::map<HWND, CWin32Context*> contexts;  // on each window's device context
    PAINTSTRUCT paint{};
    HCURSOR cursors[6] = {};
};
