#include "gui/platform/CX11System.h"

#include "gui/platform/InputCodes.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <vector>

#include <sys/ipc.h>
#include <sys/shm.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>

// Xlib's macros would replace MessageKind::None and the toolkit's CursorShape.
#undef None
#undef CursorShape

namespace
{

constexpr XID kNoXid = 0;
constexpr int32_t kWheelNotch = 120;
// XEmbed: protocol version 0, and the flag that asks the embedder to map us.
constexpr long kXEmbedVersion = 0;
constexpr long kXEmbedMapped = 1;
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | FocusChangeMask | StructureNotifyMask;
// Deep enough for any window tree a host builds.
constexpr int kMaxTreeDepth = 64;

// Errors on our connection are counted and otherwise ignored; those of any
// other connection in the process (the host's) go to the handler that was
// installed before ours.
Display* errorDisplay = nullptr;
int errorCount = 0;
XErrorHandler previousHandler = nullptr;

int CountError(Display* d, XErrorEvent* e)
{
    if (d == errorDisplay)
    {
        ++errorCount;
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(d, e) : 0;
}

int32_t Modifiers(unsigned int state)
{
    int32_t mods = 0;
    if (state & ShiftMask)
        mods |= kModShift;
    if (state & ControlMask)
        mods |= kModCtrl;
    if (state & Mod1Mask)
        mods |= kModAlt;
    return mods;
}

int32_t SpecialKey(KeySym sym)
{
    if (sym >= XK_F1 && sym <= XK_F12)
        return kKeyF1 - static_cast<int32_t>(sym - XK_F1);
    switch (sym)
    {
    case XK_Home:
    case XK_KP_Home:
        return kKeyHome;
    case XK_Left:
    case XK_KP_Left:
        return kKeyLeft;
    case XK_Up:
    case XK_KP_Up:
        return kKeyUp;
    case XK_Right:
    case XK_KP_Right:
        return kKeyRight;
    case XK_Down:
    case XK_KP_Down:
        return kKeyDown;
    case XK_End:
    case XK_KP_End:
        return kKeyEnd;
    case XK_Delete:
    case XK_KP_Delete:
        return kKeyDelete;
    case XK_BackSpace:
        return kKeyBackspace;
    case XK_Return:
    case XK_KP_Enter:
        return kKeyEnter;
    case XK_Tab:
    case XK_ISO_Left_Tab:
        return kKeyTab;
    case XK_Escape:
        return kKeyEscape;
    case XK_Prior:
    case XK_KP_Prior:
        return kKeyPageUp;
    case XK_Next:
    case XK_KP_Next:
        return kKeyPageDown;
    case XK_Insert:
    case XK_KP_Insert:
        return kKeyInsert;
    case XK_KP_Multiply:
        return kKeyMultiply;
    case XK_Menu:
        return kKeyApplications;
    default:
        return kKeyNone;
    }
}

// A key's code: the special keys by table, others by the keyboard map with
// Ctrl left out unless Alt is down too (AltGr characters), as on Windows.
int32_t KeyOf(XKeyEvent key)
{
    char text[8] = {};
    KeySym sym = 0;
    XKeyEvent plain = key;
    if (!(plain.state & Mod1Mask))
        plain.state &= ~static_cast<unsigned int>(ControlMask);
    const int n = XLookupString(&plain, text, sizeof text, &sym, nullptr);
    const int32_t special = SpecialKey(sym);
    if (special != kKeyNone)
        return special;
    return n == 1 ? static_cast<uint8_t>(text[0]) : kKeyNone;
}

int32_t ButtonOf(unsigned int button)
{
    switch (button)
    {
    case Button1:
        return kMouseLeft;
    case Button2:
        return kMouseMiddle;
    case Button3:
        return kMouseRight;
    default:
        return 0;
    }
}

}  // namespace

struct CX11System::Connection
{
    int screen = 0;
    ::Window root = kNoXid;
    Visual* visual = nullptr;
    int depth = 0;
    Colormap colormap = kNoXid;
    GC gc = nullptr;
    bool shm = false;
    Atom protocols = kNoXid;
    Atom deleteWindow = kNoXid;
    Atom xembedInfo = kNoXid;
    Atom windowType = kNoXid;
    Atom dialogType = kNoXid;
    Cursor cursors[6] = {};
    XErrorHandler replacedHandler = nullptr;
};

struct CX11System::Entry
{
    ::Window xid = kNoXid;
    SysWindow owner = 0;  // the toolkit owner's window, or the host's after Embed
    bool child = false;
    bool embedded = false;
    bool kindChosen = false;  // override-redirect or managed, fixed at the first Show
    bool visible = false;     // shown by the toolkit
    bool mapped = false;      // viewable as the server last said
    bool gone = false;        // destroyed by the server with its parent
    bool focusOnMap = false;
    Rect rect;  // relative to the parent (children), on the screen (top-level)
    CWin* user = nullptr;
    CX11Context* surface = nullptr;
    Rect invalid;
    XImage* image = nullptr;  // shared-memory image of the surface's size
    XShmSegmentInfo segment{};
    CursorShape cursor = CursorShape::Arrow;
};

CX11System::CX11System() = default;

CX11System::~CX11System()
{
    while (!windows.empty())
        Destroy(windows.begin()->first);
    Disconnect();
}

bool CX11System::Connect()
{
    if (display != nullptr)
        return true;
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return false;
    Connection* c = new Connection;
    c->screen = DefaultScreen(d);
    c->root = RootWindow(d, c->screen);
    c->visual = DefaultVisual(d, c->screen);
    c->depth = DefaultDepth(d, c->screen);
    // The surface's words are 0x00RRGGBB: only a true-colour visual of that
    // layout shows them unchanged.
    if (c->depth != 24 || c->visual->c_class != TrueColor || c->visual->red_mask != 0xFF0000 ||
        c->visual->green_mask != 0xFF00 || c->visual->blue_mask != 0xFF)
    {
        delete c;
        XCloseDisplay(d);
        return false;
    }
    c->colormap = DefaultColormap(d, c->screen);
    c->gc = XCreateGC(d, c->root, 0, nullptr);
    c->shm = XShmQueryExtension(d) && ImageByteOrder(d) == LSBFirst;
    c->protocols = XInternAtom(d, "WM_PROTOCOLS", False);
    c->deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
    c->xembedInfo = XInternAtom(d, "_XEMBED_INFO", False);
    c->windowType = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
    c->dialogType = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    const unsigned int shapes[6] = {XC_left_ptr,           XC_watch,
                                    XC_sb_h_double_arrow,  XC_sb_v_double_arrow,
                                    XC_bottom_left_corner, XC_bottom_right_corner};
    for (int i = 0; i < 6; ++i)
        c->cursors[i] = XCreateFontCursor(d, shapes[i]);
    errorDisplay = d;
    errorCount = 0;
    previousHandler = XSetErrorHandler(CountError);
    c->replacedHandler = previousHandler;
    display = d;
    connection = c;
    return true;
}

void CX11System::Disconnect()
{
    if (display == nullptr)
        return;
    for (Cursor cursor : connection->cursors)
        XFreeCursor(display, cursor);
    XFreeGC(display, connection->gc);
    XCloseDisplay(display);
    // Give the handler back unless someone replaced ours meanwhile.
    const XErrorHandler current = XSetErrorHandler(connection->replacedHandler);
    if (current != CountError)
        XSetErrorHandler(current);
    errorDisplay = nullptr;
    previousHandler = nullptr;
    delete connection;
    connection = nullptr;
    display = nullptr;
    posted.clear();
    capture = 0;
    pointerWindow = 0;
}

CX11System::Entry* CX11System::Find(SysWindow w)
{
    auto it = windows.find(w);
    return it != windows.end() ? it->second : nullptr;
}

SysWindow CX11System::Create(SysWindow parent, bool child, bool, const Rect& r, CWin* user)
{
    if (!Connect())
        return 0;
    Entry* owner = Find(parent);
    const bool isChild = child && owner != nullptr && !owner->gone;
    XSetWindowAttributes a{};
    a.background_pixmap = kNoXid;  // never cleared by the server: exposures show the surface again
    a.border_pixel = 0;
    a.colormap = connection->colormap;
    a.event_mask = kEventMask;
    const int width = std::max(r.Width(), 1);
    const int height = std::max(r.Height(), 1);
    const ::Window xid =
        XCreateWindow(display, isChild ? owner->xid : connection->root, r.left, r.top, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, connection->depth, InputOutput, connection->visual,
                      CWBackPixmap | CWBorderPixel | CWColormap | CWEventMask, &a);
    if (xid == kNoXid)
        return 0;
    char name[] = "velmora";
    char className[] = "pluginwinclass";
    XClassHint hint{name, className};
    XSetClassHint(display, xid, &hint);
    XSetWMProtocols(display, xid, &connection->deleteWindow, 1);
    Entry* e = new Entry;
    e->xid = xid;
    e->owner = parent;
    e->child = isChild;
    e->rect = Rect{r.left, r.top, r.left + width, r.top + height};
    e->user = user;
    e->surface = new CX11Context(width, height);
    windows[xid] = e;
    return xid;
}

void CX11System::Destroy(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return;
    // The server destroys the children with the window.
    std::vector<SysWindow> children;
    for (const auto& entry : windows)
        if (entry.second->child && entry.second->owner == w)
            children.push_back(entry.first);
    for (SysWindow c : children)
    {
        if (Entry* ce = Find(c))
            ce->gone = true;
        Destroy(c);
    }
    if (e->image != nullptr)
    {
        XShmDetach(display, &e->segment);
        XDestroyImage(e->image);
        shmdt(e->segment.shmaddr);
    }
    if (!e->gone)
        XDestroyWindow(display, e->xid);
    if (capture == w)
        capture = 0;
    if (pointerWindow == w)
        pointerWindow = 0;
    if (painting == w)
        painting = 0;
    delete e->surface;
    delete e;
    windows.erase(w);
    if (windows.empty())
        Disconnect();
}

CWin* CX11System::UserData(SysWindow w)
{
    Entry* e = Find(w);
    return e != nullptr ? e->user : nullptr;
}

void CX11System::SetUserData(SysWindow w, CWin* user)
{
    if (Entry* e = Find(w))
        e->user = user;
}

// Under a window manager the host's top-level window is the ancestor that
// carries WM_STATE (the manager's frame lies between it and the root);
// without one it is the ancestor just below the root.
::Window CX11System::TopLevelOf(::Window x)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", True);
    for (int depth = 0; depth < kMaxTreeDepth; ++depth)
    {
        if (wmState != kNoXid)
        {
            Atom type = kNoXid;
            int format = 0;
            unsigned long count = 0;
            unsigned long after = 0;
            unsigned char* data = nullptr;
            const bool managed = XGetWindowProperty(display, x, wmState, 0, 0, False, AnyPropertyType, &type, &format,
                                                    &count, &after, &data) == Success &&
                                 type != kNoXid;
            if (data != nullptr)
                XFree(data);
            if (managed)
                return x;
        }
        ::Window root = kNoXid;
        ::Window parent = kNoXid;
        ::Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, x, &root, &parent, &children, &count))
            return x;
        if (children != nullptr)
            XFree(children);
        if (parent == root || parent == kNoXid)
            return x;
        x = parent;
    }
    return x;
}

void CX11System::Show(SysWindow w, bool activate)
{
    Entry* e = Find(w);
    if (e == nullptr || e->gone)
        return;
    e->visible = true;
    e->invalid = Rect{0, 0, e->rect.Width(), e->rect.Height()};
    if (!e->child && !e->kindChosen)
    {
        e->kindChosen = true;
        if (activate)
        {
            if (Entry* owner = Find(e->owner))
                XSetTransientForHint(display, e->xid, TopLevelOf(owner->xid));
            XChangeProperty(display, e->xid, connection->windowType, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(&connection->dialogType), 1);
        }
        else
        {
            XSetWindowAttributes a{};
            a.override_redirect = True;
            XChangeWindowAttributes(display, e->xid, CWOverrideRedirect, &a);
        }
    }
    if (e->child)
    {
        XMapWindow(display, e->xid);
        return;
    }
    XMapRaised(display, e->xid);
    // The focus can go to the window only once the server has mapped it.
    if (activate)
        e->focusOnMap = true;
}

void CX11System::Hide(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return;
    e->visible = false;
    e->focusOnMap = false;
    if (!e->gone)
        XUnmapWindow(display, e->xid);
}

void CX11System::ResizeSurface(Entry& e, int32_t width, int32_t height)
{
    e.rect.right = e.rect.left + width;
    e.rect.bottom = e.rect.top + height;
    delete e.surface;
    e.surface = new CX11Context(std::max(width, 1), std::max(height, 1));
    if (e.image != nullptr)
    {
        XShmDetach(display, &e.segment);
        XDestroyImage(e.image);
        shmdt(e.segment.shmaddr);
        e.image = nullptr;
    }
    e.invalid = Rect{0, 0, width, height};
    Message m;
    m.window = e.xid;
    m.kind = MessageKind::Size;
    Send(m);
}

void CX11System::SetRect(SysWindow w, const Rect& r)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return;
    const int width = std::max(r.Width(), 1);
    const int height = std::max(r.Height(), 1);
    const bool resized = width != e->rect.Width() || height != e->rect.Height();
    if (!e->gone)
        XMoveResizeWindow(display, e->xid, r.left, r.top, static_cast<unsigned>(width), static_cast<unsigned>(height));
    e->rect = Rect{r.left, r.top, r.left + e->rect.Width(), r.top + e->rect.Height()};
    if (resized)
        ResizeSurface(*e, width, height);
}

Rect CX11System::ScreenRect(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return Rect{};
    int x = e->rect.left;
    int y = e->rect.top;
    ::Window child = kNoXid;
    if (!e->gone && (e->child || e->kindChosen))
        XTranslateCoordinates(display, e->xid, connection->root, 0, 0, &x, &y, &child);
    return Rect{x, y, x + e->rect.Width(), y + e->rect.Height()};
}

Rect CX11System::ParentRect(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return Rect{};
    return e->child ? e->rect : ScreenRect(w);
}

void CX11System::Raise(SysWindow w, bool activate)
{
    Entry* e = Find(w);
    if (e == nullptr || e->gone)
        return;
    XRaiseWindow(display, e->xid);
    if (activate)
        SetFocus(w);
}

void CX11System::SetFocus(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr || e->gone)
        return;
    if (e->mapped)
        XSetInputFocus(display, e->xid, RevertToParent, CurrentTime);
    else
        e->focusOnMap = true;
}

SysWindow CX11System::Focus()
{
    if (display == nullptr)
        return 0;
    ::Window focus = kNoXid;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

void CX11System::SetCapture(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr || e->gone)
        return;
    // Every pointer event reports to the capturing window, as on Windows.
    if (XGrabPointer(display, e->xid, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, kNoXid, kNoXid, CurrentTime) == GrabSuccess)
        capture = w;
}

void CX11System::ReleaseCapture()
{
    if (display != nullptr)
        XUngrabPointer(display, CurrentTime);
    capture = 0;
}

SysWindow CX11System::WindowAt(int32_t x, int32_t y)
{
    if (display == nullptr)
        return 0;
    ::Window found = kNoXid;
    ::Window at = connection->root;
    for (int depth = 0; depth < kMaxTreeDepth; ++depth)
    {
        int cx = 0;
        int cy = 0;
        ::Window child = kNoXid;
        if (!XTranslateCoordinates(display, connection->root, at, x, y, &cx, &cy, &child) || child == kNoXid)
            break;
        found = child;
        at = child;
    }
    return found;
}

void CX11System::CursorPos(int32_t& x, int32_t& y)
{
    x = 0;
    y = 0;
    if (display == nullptr)
        return;
    ::Window root = kNoXid;
    ::Window child = kNoXid;
    int wx = 0;
    int wy = 0;
    unsigned int mask = 0;
    XQueryPointer(display, connection->root, &root, &child, &x, &y, &wx, &wy, &mask);
}

void CX11System::SetCursor(CursorShape shape)
{
    Entry* e = Find(pointerWindow);
    if (e == nullptr || e->gone || e->cursor == shape)
        return;
    e->cursor = shape;
    XDefineCursor(display, e->xid, connection->cursors[static_cast<int>(shape)]);
}

Rect CX11System::PrimaryScreen()
{
    if (display == nullptr)
        return Rect{};
    return Rect{0, 0, DisplayWidth(display, connection->screen), DisplayHeight(display, connection->screen)};
}

bool CX11System::ShownOnScreen(const Entry& e)
{
    if (!e.visible || e.gone)
        return false;
    if (!e.child || e.embedded)
        return true;
    Entry* parent = Find(e.owner);
    return parent != nullptr && ShownOnScreen(*parent);
}

void CX11System::Invalidate(SysWindow w, const Rect& r)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return;
    const Rect clipped = Intersection(Normalised(r), Rect{0, 0, e->rect.Width(), e->rect.Height()});
    if (!clipped.IsEmpty())
        e->invalid = Union(e->invalid, clipped);
}

void CX11System::Update(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr || !ShownOnScreen(*e) || e->invalid.IsEmpty())
        return;
    Message m;
    m.window = w;
    m.kind = MessageKind::Paint;
    Send(m);
}

Rect CX11System::BeginPaint(SysWindow w)
{
    Entry* e = Find(w);
    if (e == nullptr)
        return Rect{};
    const Rect r = e->invalid;
    e->invalid = Rect{};
    painting = w;
    return r;
}

void CX11System::EndPaint(SysWindow w)
{
    painting = 0;
    if (Entry* e = Find(w))
        Put(*e, e->surface->TakeDamage());
}

CDrawContext* CX11System::Context(SysWindow w)
{
    Entry* e = Find(w);
    return e != nullptr ? e->surface : nullptr;
}

uint32_t CX11System::Time()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void CX11System::Sleep(uint32_t milliseconds)
{
    PresentAll();
    if (display != nullptr)
        XFlush(display);
    timespec pause{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&pause, nullptr);
}

void CX11System::Put(Entry& e, const Rect& area)
{
    const Rect r = Intersection(area, Rect{0, 0, e.surface->Width(), e.surface->Height()});
    if (r.IsEmpty() || !ShownOnScreen(e) || !e.mapped)
        return;
    const int32_t width = e.surface->Width();
    const int32_t height = e.surface->Height();
    if (connection->shm && e.image == nullptr)
    {
        XImage* image =
            XShmCreateImage(display, connection->visual, static_cast<unsigned>(connection->depth), ZPixmap, nullptr,
                            &e.segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
        if (image != nullptr)
        {
            e.segment.shmid =
                shmget(IPC_PRIVATE, static_cast<size_t>(image->bytes_per_line) * height, IPC_CREAT | 0600);
            e.segment.shmaddr = e.segment.shmid >= 0 ? static_cast<char*>(shmat(e.segment.shmid, nullptr, 0))
                                                     : reinterpret_cast<char*>(-1);
            e.segment.readOnly = False;
            image->data = e.segment.shmaddr;
            const int before = errorCount;
            const bool attached = e.segment.shmaddr != reinterpret_cast<char*>(-1) && XShmAttach(display, &e.segment) &&
                                  (XSync(display, False), errorCount == before);
            // Marked for removal now: it goes when both sides have detached.
            if (e.segment.shmid >= 0)
                shmctl(e.segment.shmid, IPC_RMID, nullptr);
            if (attached && image->bits_per_pixel == 32)
            {
                e.image = image;
            }
            else
            {
                // A server on another machine cannot share memory: plain requests from now on.
                connection->shm = false;
                if (e.segment.shmaddr != reinterpret_cast<char*>(-1))
                    shmdt(e.segment.shmaddr);
                image->data = nullptr;
                XDestroyImage(image);
            }
        }
        else
        {
            connection->shm = false;
        }
    }
    const uint8_t* pixels = e.surface->Pixels();
    const int32_t stride = e.surface->Stride();
    if (e.image != nullptr)
    {
        for (int32_t y = r.top; y < r.bottom; ++y)
            std::memcpy(e.image->data + static_cast<size_t>(y) * e.image->bytes_per_line + r.left * 4,
                        pixels + static_cast<size_t>(y) * stride + r.left * 4, static_cast<size_t>(r.Width()) * 4);
        XShmPutImage(display, e.xid, connection->gc, e.image, r.left, r.top, r.left, r.top,
                     static_cast<unsigned>(r.Width()), static_cast<unsigned>(r.Height()), False);
        // The segment is written again only after the server has read it.
        XSync(display, False);
        return;
    }
    XImage* image = XCreateImage(display, connection->visual, static_cast<unsigned>(connection->depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(const_cast<uint8_t*>(pixels)), static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 32, stride);
    if (image == nullptr)
        return;
    image->byte_order = LSBFirst;
    XPutImage(display, e.xid, connection->gc, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.Width()),
              static_cast<unsigned>(r.Height()));
    // The rows belong to the surface.
    image->data = nullptr;
    XDestroyImage(image);
}

void CX11System::PresentAll()
{
    for (const auto& entry : windows)
        Put(*entry.second, entry.second->surface->TakeDamage());
}

bool CX11System::Embed(SysWindow w, uintptr_t parent)
{
    Entry* e = Find(w);
    if (e == nullptr || e->gone || parent == 0)
        return false;
    const int before = errorCount;
    XReparentWindow(display, e->xid, static_cast<::Window>(parent), 0, 0);
    const long info[2] = {kXEmbedVersion, kXEmbedMapped};
    XChangeProperty(display, e->xid, connection->xembedInfo, connection->xembedInfo, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(info), 2);
    XSync(display, False);
    if (errorCount != before)
        return false;
    e->child = true;
    e->embedded = true;
    e->kindChosen = true;
    e->owner = parent;
    e->rect = Rect{0, 0, e->rect.Width(), e->rect.Height()};
    return true;
}

bool CX11System::Translate(XEvent& event, Message& m)
{
    Entry* e = Find(event.xany.window);
    if (e == nullptr)
        return false;
    m = Message{};
    m.window = e->xid;
    switch (event.type)
    {
    case MotionNotify:
        pointerWindow = e->xid;
        keyModifiers = Modifiers(event.xmotion.state) & (kModShift | kModCtrl);
        m.kind = MessageKind::MouseMove;
        m.x = event.xmotion.x;
        m.y = event.xmotion.y;
        m.mods = Modifiers(event.xmotion.state);
        return true;
    case ButtonPress:
    case ButtonRelease:
    {
        const XButtonEvent& b = event.xbutton;
        pointerWindow = e->xid;
        keyModifiers = Modifiers(b.state) & (kModShift | kModCtrl);
        m.mods = Modifiers(b.state);
        if (b.button == Button4 || b.button == Button5)
        {
            if (event.type == ButtonRelease)
                return false;
            m.kind = MessageKind::Wheel;
            m.x = b.x_root;
            m.y = b.y_root;
            m.delta = b.button == Button4 ? kWheelNotch : -kWheelNotch;
            return true;
        }
        m.button = ButtonOf(b.button);
        if (m.button == 0)
            return false;
        m.kind = event.type == ButtonPress ? MessageKind::ButtonDown : MessageKind::ButtonUp;
        m.x = b.x;
        m.y = b.y;
        return true;
    }
    case KeyPress:
    case KeyRelease:
    {
        const KeySym sym = XLookupKeysym(&event.xkey, 0);
        m.kind = event.type == KeyPress ? MessageKind::KeyDown : MessageKind::KeyUp;
        m.key = KeyOf(event.xkey);
        m.mods = Modifiers(event.xkey.state);
        // The state is the one before the key: Alt pressed alone counts as held.
        if (sym == XK_Alt_L || sym == XK_Alt_R)
            m.mods |= kModAlt;
        keyModifiers = m.mods & (kModShift | kModCtrl);
        return true;
    }
    case FocusIn:
    case FocusOut:
        // Focus moves caused by grabs, and the pointer's own, are no real change.
        if (event.xfocus.mode != NotifyNormal || event.xfocus.detail == NotifyPointer)
            return false;
        m.kind = event.type == FocusIn ? MessageKind::SetFocus : MessageKind::KillFocus;
        return true;
    case Expose:
    {
        const XExposeEvent& x = event.xexpose;
        Put(*e, Rect{x.x, x.y, x.x + x.width, x.y + x.height});
        return false;
    }
    case ConfigureNotify:
        if (event.xconfigure.width != e->rect.Width() || event.xconfigure.height != e->rect.Height())
            ResizeSurface(*e, event.xconfigure.width, event.xconfigure.height);
        return false;
    case MapNotify:
        e->mapped = true;
        if (e->focusOnMap)
        {
            e->focusOnMap = false;
            XSetInputFocus(display, e->xid, RevertToParent, CurrentTime);
        }
        return false;
    case UnmapNotify:
        e->mapped = false;
        return false;
    case DestroyNotify:
        if (event.xdestroywindow.window == e->xid)
            e->gone = true;
        return false;
    case ClientMessage:
        if (event.xclient.message_type == connection->protocols &&
            static_cast<Atom>(event.xclient.data.l[0]) == connection->deleteWindow)
        {
            m.kind = MessageKind::Close;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CX11System::Peek(Message& m)
{
    if (!posted.empty())
    {
        m = posted.front();
        posted.pop_front();
        return true;
    }
    if (display == nullptr)
        return false;
    while (display != nullptr && XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (Translate(event, m))
            return true;
    }
    // Paints come when nothing else is pending, as on other systems.
    for (const auto& entry : windows)
        if (ShownOnScreen(*entry.second) && !entry.second->invalid.IsEmpty())
        {
            m = Message{};
            m.window = entry.first;
            m.kind = MessageKind::Paint;
            return true;
        }
    return false;
}

MessageResult CX11System::Send(const Message& m)
{
    if (Find(m.window) == nullptr)
        return MessageResult::Default;
    const MessageResult r = procedure != nullptr ? procedure(*this, m) : MessageResult::Default;
    // The default handling of a paint validates the window.
    if (r == MessageResult::Default && m.kind == MessageKind::Paint)
        if (Entry* e = Find(m.window))
            e->invalid = Rect{};
    return r;
}

void CX11System::Dispatch(Message& m)
{
    Entry* e = Find(m.window);
    if (e == nullptr)
        return;
    if (m.kind == MessageKind::ButtonDown && Focus() != m.window)
    {
        // A press first asks the window whether it may be activated.
        Message activate = m;
        activate.kind = MessageKind::MouseActivate;
        if (Send(activate) != MessageResult::NoActivate && (e = Find(m.window)) != nullptr)
        {
            if (!e->child)
                Raise(m.window, false);
            SetFocus(m.window);
        }
        if (Find(m.window) == nullptr)
            return;
    }
    Send(m);
    PresentAll();
}

void CX11System::Post(const Message& m)
{
    posted.push_back(m);
}

// A wheel turned over a window of another program goes on to it as the
// buttons X reports wheels with.
void CX11System::SendToOther(SysWindow w, const Message& m)
{
    if (display == nullptr || m.kind != MessageKind::Wheel || m.delta == 0)
        return;
    XEvent event{};
    XButtonEvent& b = event.xbutton;
    b.type = ButtonPress;
    b.display = display;
    b.window = static_cast<::Window>(w);
    b.root = connection->root;
    b.x_root = m.x;
    b.y_root = m.y;
    ::Window child = kNoXid;
    XTranslateCoordinates(display, connection->root, b.window, m.x, m.y, &b.x, &b.y, &child);
    b.button = m.delta > 0 ? Button4 : Button5;
    b.same_screen = True;
    XSendEvent(display, b.window, True, ButtonPressMask, &event);
    b.type = ButtonRelease;
    XSendEvent(display, b.window, True, ButtonReleaseMask, &event);
}

void CX11System::DroppedFile(const Message&, int32_t, char* buffer, int32_t size)
{
    if (size >= 1)
        buffer[0] = 0;
}

void CX11System::DispatchPending(int32_t limit)
{
    Message m;
    for (int32_t n = 0; n < limit && Peek(m); ++n)
        Dispatch(m);
    PresentAll();
    if (display != nullptr)
        XFlush(display);
}
