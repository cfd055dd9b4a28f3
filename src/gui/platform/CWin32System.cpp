#include "gui/platform/CWin32System.h"

#include "gui/platform/InputCodes.h"
#include "gui/platform/KeyTable.h"

#include <cstring>
#include <shellapi.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace
{

constexpr char kClassName[] = "pluginwinclass";
constexpr int kIconResource = 110;

HWND Handle(SysWindow w)
{
    return reinterpret_cast<HWND>(w);
}

SysWindow Sys(HWND h)
{
    return reinterpret_cast<SysWindow>(h);
}

// The module the toolkit lives in (the plug-in library, not the host).
HINSTANCE Module()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

bool IsToolkitWindow(HWND h)
{
    char name[sizeof kClassName + 1] = {};
    return h != nullptr && GetClassNameA(h, name, sizeof name) > 0 && std::strcmp(name, kClassName) == 0;
}

int32_t MouseModifiers(WPARAM wParam)
{
    int32_t mods = 0;
    if (wParam & MK_SHIFT)
        mods |= kModShift;
    if (wParam & MK_CONTROL)
        mods |= kModCtrl;
    if (GetKeyState(VK_MENU) < 0)
        mods |= kModAlt;
    return mods;
}

// A key's code: the special keys by table, others by the keyboard layout
// (Ctrl ignored unless Alt is down too, so that AltGr characters come through).
int32_t KeyCode(WPARAM vk, LPARAM lParam)
{
    const int32_t special = SpecialKeyCode(static_cast<int32_t>(vk));
    if (special != kKeyNone)
        return special;
    BYTE state[256];
    if (!GetKeyboardState(state))
        return kKeyNone;
    if (!(state[VK_MENU] & 0x80))
    {
        state[VK_CONTROL] = 0;
        state[VK_LCONTROL] = 0;
        state[VK_RCONTROL] = 0;
    }
    WORD chars[2] = {};
    const UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
    if (ToAscii(static_cast<UINT>(vk), scan, state, chars, 0) != 1)
        return kKeyNone;
    return chars[0] & 0xFF;
}

int32_t KeyMessageModifiers(LPARAM lParam)
{
    int32_t mods = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= kModShift;
    if (GetKeyState(VK_CONTROL) < 0)
        mods |= kModCtrl;
    if (lParam & (1 << 29))
        mods |= kModAlt;
    return mods;
}

MessageKind KindOf(UINT message)
{
    switch (message)
    {
    case WM_MOUSEMOVE:
        return MessageKind::MouseMove;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        return MessageKind::ButtonDown;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        return MessageKind::ButtonUp;
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        return MessageKind::NcButtonDown;
    case WM_MOUSEWHEEL:
        return MessageKind::Wheel;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return MessageKind::KeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return MessageKind::KeyUp;
    case WM_CHAR:
    case WM_SYSCHAR:
        return MessageKind::Char;
    case WM_SIZE:
        return MessageKind::Size;
    case WM_SETFOCUS:
        return MessageKind::SetFocus;
    case WM_KILLFOCUS:
        return MessageKind::KillFocus;
    case WM_PAINT:
        return MessageKind::Paint;
    case WM_CLOSE:
        return MessageKind::Close;
    case WM_ACTIVATEAPP:
        return MessageKind::ActivateApp;
    case WM_MOUSEACTIVATE:
        return MessageKind::MouseActivate;
    case WM_GETDLGCODE:
        return MessageKind::DialogCode;
    case WM_DROPFILES:
        return MessageKind::DropFiles;
    default:
        return MessageKind::None;
    }
}

int32_t ButtonOf(UINT message)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
        return kMouseLeft;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
        return kMouseRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return kMouseMiddle;
    default:
        return 0;
    }
}

}  // namespace

CWin32System::CWin32System()
{
    const LPCSTR shapes[6] = {IDC_ARROW, IDC_WAIT, IDC_SIZEWE, IDC_SIZENS, IDC_SIZENESW, IDC_SIZENWSE};
    for (int i = 0; i < 6; ++i)
        cursors[i] = LoadCursorA(nullptr, shapes[i]);
}

CWin32System::~CWin32System()
{
    for (auto& entry : contexts)
    {
        HDC dc = entry.second->Handle();
        delete entry.second;
        ReleaseDC(entry.first, dc);
    }
}

bool CWin32System::RegisterClassOnce()
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &CWin32System::WindowProcedure;
    wc.hInstance = Module();
    wc.hIcon = LoadIconA(Module(), MAKEINTRESOURCEA(kIconResource));
    wc.lpszClassName = kClassName;
    // A class that exists already is no error.
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

SysWindow CWin32System::Create(SysWindow parent, bool child, bool appWindow, const Rect& r, CWin* user)
{
    if (!RegisterClassOnce())
        return 0;
    DWORD style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (child ? WS_CHILD : WS_POPUP);
    if (appWindow)
        style |= WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const DWORD exStyle = appWindow ? WS_EX_APPWINDOW : WS_EX_TOOLWINDOW;
    HWND h = CreateWindowExA(exStyle, kClassName, "", style, r.left, r.top, r.Width(), r.Height(), Handle(parent),
                             nullptr, Module(), nullptr);
    if (h == nullptr)
        return 0;
    SetWindowLongPtrA(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user));
    DragAcceptFiles(h, TRUE);
    return Sys(h);
}

void CWin32System::Destroy(SysWindow w)
{
    HWND h = Handle(w);
    auto it = contexts.find(h);
    if (it != contexts.end())
    {
        HDC dc = it->second->Handle();
        delete it->second;
        ReleaseDC(h, dc);
        contexts.erase(it);
    }
    DestroyWindow(h);
}

CWin* CWin32System::UserData(SysWindow w)
{
    HWND h = Handle(w);
    if (!IsToolkitWindow(h))
        return nullptr;
    return reinterpret_cast<CWin*>(GetWindowLongPtrA(h, GWLP_USERDATA));
}

void CWin32System::SetUserData(SysWindow w, CWin* user)
{
    if (IsToolkitWindow(Handle(w)))
        SetWindowLongPtrA(Handle(w), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(user));
}

void CWin32System::Show(SysWindow w, bool activate)
{
    ShowWindow(Handle(w), activate ? SW_SHOW : SW_SHOWNOACTIVATE);
}

void CWin32System::Hide(SysWindow w)
{
    ShowWindow(Handle(w), SW_HIDE);
}

void CWin32System::SetRect(SysWindow w, const Rect& r)
{
    SetWindowPos(Handle(w), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect CWin32System::ScreenRect(SysWindow w)
{
    RECT r{};
    if (!GetWindowRect(Handle(w), &r))
        return Rect{};
    return Rect{r.left, r.top, r.right, r.bottom};
}

Rect CWin32System::ParentRect(SysWindow w)
{
    HWND h = Handle(w);
    RECT r{};
    if (!GetWindowRect(h, &r))
        return Rect{};
    if (GetWindowLongA(h, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
    return Rect{r.left, r.top, r.right, r.bottom};
}

void CWin32System::Raise(SysWindow w, bool activate)
{
    SetWindowPos(Handle(w), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | (activate ? 0 : SWP_NOACTIVATE));
    if (activate)
        ::SetFocus(Handle(w));
}

void CWin32System::SetFocus(SysWindow w)
{
    ::SetFocus(Handle(w));
}

SysWindow CWin32System::Focus()
{
    return Sys(GetFocus());
}

void CWin32System::SetCapture(SysWindow w)
{
    ::SetCapture(Handle(w));
}

void CWin32System::ReleaseCapture()
{
    ::ReleaseCapture();
}

SysWindow CWin32System::Capture()
{
    return Sys(GetCapture());
}

SysWindow CWin32System::WindowAt(int32_t x, int32_t y)
{
    return Sys(WindowFromPoint(POINT{x, y}));
}

void CWin32System::CursorPos(int32_t& x, int32_t& y)
{
    POINT p{};
    GetCursorPos(&p);
    x = p.x;
    y = p.y;
}

void CWin32System::MoveCursor(int32_t x, int32_t y)
{
    ::SetCursorPos(x, y);
}

void CWin32System::SetCursor(CursorShape shape)
{
    ::SetCursor(cursors[static_cast<int>(shape)]);
}

int32_t CWin32System::KeyModifiers()
{
    int32_t mods = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        mods |= kModShift;
    if (GetKeyState(VK_CONTROL) < 0)
        mods |= kModCtrl;
    return mods;
}

Rect CWin32System::PrimaryScreen()
{
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Rect CWin32System::WorkArea(int32_t x, int32_t y)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfo(MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST), &info))
        return PrimaryScreen();
    return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

void CWin32System::Invalidate(SysWindow w, const Rect& r)
{
    const RECT rc{r.left, r.top, r.right, r.bottom};
    InvalidateRect(Handle(w), &rc, FALSE);
}

void CWin32System::Update(SysWindow w)
{
    UpdateWindow(Handle(w));
}

Rect CWin32System::BeginPaint(SysWindow w)
{
    ::BeginPaint(Handle(w), &paint);
    return Rect{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom};
}

void CWin32System::EndPaint(SysWindow w)
{
    ::EndPaint(Handle(w), &paint);
}

CDrawContext* CWin32System::Context(SysWindow w)
{
    HWND h = Handle(w);
    auto it = contexts.find(h);
    if (it != contexts.end())
        return it->second;
    if (!IsWindow(h))
        return nullptr;
    HDC dc = GetDC(h);
    if (dc == nullptr)
        return nullptr;
    CWin32Context* context = new CWin32Context(dc);
    contexts[h] = context;
    return context;
}

uint32_t CWin32System::Time()
{
    return timeGetTime();
}

void CWin32System::Sleep(uint32_t milliseconds)
{
    ::Sleep(milliseconds);
}

Message CWin32System::Translate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Message m;
    m.window = Sys(hwnd);
    m.kind = KindOf(message);
    m.native = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.button = ButtonOf(message);
    switch (m.kind)
    {
    case MessageKind::MouseMove:
    case MessageKind::ButtonDown:
    case MessageKind::ButtonUp:
    case MessageKind::Wheel:
        m.x = static_cast<int16_t>(LOWORD(lParam));
        m.y = static_cast<int16_t>(HIWORD(lParam));
        m.mods = MouseModifiers(wParam);
        if (m.kind == MessageKind::Wheel)
            m.delta = static_cast<int16_t>(HIWORD(wParam));
        break;
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
        m.key = KeyCode(wParam, lParam);
        m.mods = KeyMessageModifiers(lParam);
        break;
    case MessageKind::Char:
        m.key = static_cast<int32_t>(wParam);
        break;
    case MessageKind::ActivateApp:
        m.value = wParam != 0 ? 1 : 0;
        break;
    case MessageKind::DropFiles:
    {
        POINT p{};
        DragQueryPoint(reinterpret_cast<HDROP>(wParam), &p);
        m.x = p.x;
        m.y = p.y;
        break;
    }
    default:
        break;
    }
    return m;
}

LRESULT CALLBACK CWin32System::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWindowSystem* system = BuildWindowSystem();
    const Message m = Translate(hwnd, message, wParam, lParam);
    if (m.kind == MessageKind::None || system->procedure == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (system->procedure(*system, m))
    {
    case MessageResult::Handled:
        return 0;
    case MessageResult::NoActivate:
        return MA_NOACTIVATE;
    case MessageResult::Activate:
        return MA_ACTIVATE;
    case MessageResult::AllKeys:
        return DLGC_WANTALLKEYS;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool CWin32System::Peek(Message& m)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT)
    {
        // The loop that owns the quit is further out: leave it for that one.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    m = Message{};
    m.window = Sys(msg.hwnd);
    m.kind = KindOf(msg.message);
    m.button = ButtonOf(msg.message);
    m.native = msg.message;
    m.wParam = msg.wParam;
    m.lParam = msg.lParam;
    return true;
}

void CWin32System::Dispatch(Message& m)
{
    MSG msg{};
    msg.hwnd = Handle(m.window);
    msg.message = m.native;
    msg.wParam = m.wParam;
    msg.lParam = m.lParam;
    msg.time = GetMessageTime();
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void CWin32System::Post(const Message& m)
{
    PostMessageA(Handle(m.window), m.native, m.wParam, m.lParam);
}

void CWin32System::SendToOther(SysWindow w, const Message& m)
{
    SendMessageA(Handle(w), m.native, m.wParam, m.lParam);
}

// The popup and child bits give way to the child style before the window
// changes parent, so that the system treats it as a child from then on.
bool CWin32System::Embed(SysWindow w, uintptr_t parent)
{
    HWND h = Handle(w);
    HWND host = reinterpret_cast<HWND>(parent);
    if (!IsWindow(h) || !IsWindow(host))
        return false;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(h, GWL_STYLE));
    SetWindowLongA(h, GWL_STYLE, static_cast<LONG>((style & ~(WS_POPUP | WS_CHILD)) | WS_CHILD));
    SetParent(h, host);
    return true;
}

int32_t CWin32System::DroppedFileCount(const Message& m)
{
    return static_cast<int32_t>(DragQueryFileA(reinterpret_cast<HDROP>(m.wParam), 0xFFFFFFFF, nullptr, 0));
}

void CWin32System::DroppedFile(const Message& m, int32_t index, char* buffer, int32_t size)
{
    if (size < 1)
        return;
    buffer[0] = 0;
    // The system copies at most size - 1 characters and terminates them.
    DragQueryFileA(reinterpret_cast<HDROP>(m.wParam), static_cast<UINT>(index), buffer, static_cast<UINT>(size));
    buffer[size - 1] = 0;
}

void CWin32System::EndDrop(const Message& m)
{
    DragFinish(reinterpret_cast<HDROP>(m.wParam));
}
