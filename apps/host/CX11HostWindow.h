#pragma once

#include <cstdint>
#include <vector>

struct _XDisplay;

// What a Linux host does around a plug-in's editor, for tests: a top-level X
// window the editor is embedded in, real input through the XTEST extension
// (the server routes it as it would a person's), and the pixels of the
// windows inside read back. Its own connection to the server in DISPLAY.
class CX11HostWindow
{
public:
    CX11HostWindow() = default;
    // Destroys the window and closes the connection.
    ~CX11HostWindow();

    // Connects and shows a window of width x height at (x, y) on the screen.
    // False when there is no server or no XTEST extension.
    bool Open(int32_t x, int32_t y, int32_t width, int32_t height);
    // The window's id, as a host passes it to effEditOpen.
    void* Handle() const;
    // The windows inside ours (the embedded editor), as the server has them now.
    std::vector<unsigned long> Children();
    // Destroys the window as a host does when it closes its own; children go with it.
    void DestroyWindow();

    // Pointer input at (x, y) inside the host window; button 1 is the left one.
    void MoveTo(int32_t x, int32_t y);
    void Button(int32_t button, bool down);
    // Waits until the server has handled everything sent so far.
    void Sync();

    // The pixels of child as 0x00RRGGBB words, rows top-down; empty when the
    // window cannot be read.
    std::vector<uint32_t> Capture(unsigned long child, int32_t& width, int32_t& height);
    // Whether child is mapped and viewable.
    bool IsShown(unsigned long child);
    // child's _XEMBED_INFO flags, or -1 without the property.
    long EmbedFlags(unsigned long child);
    // Whether w keeps the window manager out (a popup).
    bool IsOverrideRedirect(unsigned long w);
    // The window w is transient for, or 0.
    unsigned long TransientFor(unsigned long w);
    // Asks w to close, as a window manager does for its close button.
    void RequestClose(unsigned long w);
    // Pointer input at (x, y) on the screen.
    void MoveToScreen(int32_t x, int32_t y);

    CX11HostWindow(const CX11HostWindow&) = delete;
    CX11HostWindow& operator=(const CX11HostWindow&) = delete;

private:
    _XDisplay* display = nullptr;
    unsigned long window = 0;
    int32_t left = 0;
    int32_t top = 0;
};
