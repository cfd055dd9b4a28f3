#include "CX11HostWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <ctime>

namespace
{
constexpr unsigned long kBackground = 0x203040;  // a colour the editor never shows at its edges
constexpr int kMapWaitSteps = 200;               // of 5 ms

// A window that went away between a look-up and a read is no reason to stop
// the test: the read just comes back empty.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}
}

CX11HostWindow::~CX11HostWindow()
{
    if (!display)
        return;
    DestroyWindow();
    XCloseDisplay(display);
}

bool CX11HostWindow::Open(int32_t x, int32_t y, int32_t width, int32_t height)
{
    display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XSetErrorHandler(IgnoreError);
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        return false;
    left = x;
    top = y;
    window = XCreateSimpleWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, 0, kBackground);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    for (int i = 0; i < kMapWaitSteps; ++i)
    {
        XEvent e;
        if (XCheckTypedWindowEvent(display, window, MapNotify, &e))
            return true;
        timespec pause{0, 5000000L};
        nanosleep(&pause, nullptr);
    }
    return false;
}

void* CX11HostWindow::Handle() const
{
    return reinterpret_cast<void*>(window);
}

std::vector<unsigned long> CX11HostWindow::Children()
{
    std::vector<unsigned long> found;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (window && XQueryTree(display, window, &root, &parent, &children, &count))
    {
        found.assign(children, children + count);
        if (children)
            XFree(children);
    }
    return found;
}

void CX11HostWindow::DestroyWindow()
{
    if (!window)
        return;
    XDestroyWindow(display, window);
    XSync(display, False);
    window = 0;
}

void CX11HostWindow::MoveTo(int32_t x, int32_t y)
{
    MoveToScreen(left + x, top + y);
}

void CX11HostWindow::MoveToScreen(int32_t x, int32_t y)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XFlush(display);
}

void CX11HostWindow::Button(int32_t button, bool down)
{
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), down ? True : False, CurrentTime);
    XFlush(display);
}

void CX11HostWindow::Sync()
{
    XSync(display, False);
}

std::vector<uint32_t> CX11HostWindow::Capture(unsigned long child, int32_t& width, int32_t& height)
{
    std::vector<uint32_t> pixels;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, child, &attributes))
        return pixels;
    width = attributes.width;
    height = attributes.height;
    XImage* image = XGetImage(display, child, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

bool CX11HostWindow::IsShown(unsigned long child)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, child, &attributes) && attributes.map_state == IsViewable;
}

long CX11HostWindow::EmbedFlags(unsigned long child)
{
    const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long flags = -1;
    if (XGetWindowProperty(display, child, info, 0, 2, False, info, &type, &format, &count, &after, &data) == Success &&
        format == 32 && count == 2)
        flags = reinterpret_cast<long*>(data)[1];
    if (data)
        XFree(data);
    return flags;
}

bool CX11HostWindow::IsOverrideRedirect(unsigned long w)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, w, &attributes) && attributes.override_redirect;
}

unsigned long CX11HostWindow::TransientFor(unsigned long w)
{
    Window owner = 0;
    return XGetTransientForHint(display, w, &owner) ? owner : 0;
}

void CX11HostWindow::RequestClose(unsigned long w)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, w, False, NoEventMask, &event);
    XFlush(display);
}
