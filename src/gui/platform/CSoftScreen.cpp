#include "gui/platform/CSoftScreen.h"

#include <algorithm>
#include <cstring>

CSoftScreen::CSoftScreen() = default;

CSoftScreen::~CSoftScreen()
{
    for (Window& w : windows)
        delete w.surface;
}

CSoftScreen::Window* CSoftScreen::Find(SysWindow w)
{
    for (Window& window : windows)
        if (window.id == w)
            return &window;
    return nullptr;
}

const CSoftScreen::Window* CSoftScreen::Find(SysWindow w) const
{
    for (const Window& window : windows)
        if (window.id == w)
            return &window;
    return nullptr;
}

SysWindow CSoftScreen::Create(SysWindow parent, bool child, bool, const Rect& r, CWin* user)
{
    // Handles are never reused, so a stale handle finds nothing.
    const SysWindow id = nextId++;
    windows.push_back(Window{id, parent, child && Find(parent) != nullptr, r, false, user,
                             new CSoftContext(std::max(r.Width(), 1), std::max(r.Height(), 1)), Rect{}});
    order.push_back(id);
    return id;
}

void CSoftScreen::Destroy(SysWindow w)
{
    std::vector<SysWindow> doomed{w};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (const Window& window : windows)
            if (window.parent == doomed[i] && window.child)
                doomed.push_back(window.id);
    for (SysWindow d : doomed)
    {
        if (focus == d)
            focus = 0;
        if (capture == d)
            capture = 0;
        order.erase(std::remove(order.begin(), order.end(), d), order.end());
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i].id == d)
            {
                delete windows[i].surface;
                windows.erase(windows.begin() + static_cast<long>(i));
                break;
            }
    }
}

CWin* CSoftScreen::UserData(SysWindow w)
{
    Window* window = Find(w);
    return window != nullptr ? window->user : nullptr;
}

void CSoftScreen::SetUserData(SysWindow w, CWin* user)
{
    if (Window* window = Find(w))
        window->user = user;
}

void CSoftScreen::Show(SysWindow w, bool activate)
{
    Window* window = Find(w);
    if (window == nullptr)
        return;
    window->visible = true;
    window->invalid = Rect{0, 0, window->rect.Width(), window->rect.Height()};
    if (activate)
        Raise(w, true);
}

void CSoftScreen::Hide(SysWindow w)
{
    Window* window = Find(w);
    if (window == nullptr)
        return;
    window->visible = false;
    // The focus leaves a hidden window and its children.
    for (SysWindow f = focus; f != 0;)
    {
        const Window* fw = Find(f);
        if (fw == nullptr)
            break;
        if (f == w)
        {
            SetFocus(0);
            break;
        }
        f = fw->child ? fw->parent : 0;
    }
}

void CSoftScreen::SetRect(SysWindow w, const Rect& r)
{
    Window* window = Find(w);
    if (window == nullptr)
        return;
    const bool resized = r.Width() != window->rect.Width() || r.Height() != window->rect.Height();
    window->rect = r;
    if (!resized)
        return;
    delete window->surface;
    window->surface = new CSoftContext(std::max(r.Width(), 1), std::max(r.Height(), 1));
    // The class redraws on every resize.
    window->invalid = Rect{0, 0, r.Width(), r.Height()};
    Message m;
    m.window = w;
    m.kind = MessageKind::Size;
    Send(m);
}

Rect CSoftScreen::ScreenRect(SysWindow w)
{
    const Window* window = Find(w);
    if (window == nullptr)
        return Rect{};
    Rect r = window->rect;
    if (window->child)
    {
        const Rect p = ScreenRect(window->parent);
        r = Offset(r, p.left, p.top);
    }
    return r;
}

Rect CSoftScreen::ParentRect(SysWindow w)
{
    const Window* window = Find(w);
    return window != nullptr ? window->rect : Rect{};
}

void CSoftScreen::Raise(SysWindow w, bool activate)
{
    if (Find(w) == nullptr)
        return;
    order.erase(std::remove(order.begin(), order.end(), w), order.end());
    order.push_back(w);
    // Children stay above their parent.
    for (const Window& window : windows)
        if (window.child && window.parent == w)
            Raise(window.id, false);
    if (activate)
        SetFocus(w);
}

void CSoftScreen::SetFocus(SysWindow w)
{
    if (w == focus)
        return;
    const SysWindow old = focus;
    focus = Find(w) != nullptr ? w : 0;
    Message m;
    if (old != 0)
    {
        m.window = old;
        m.kind = MessageKind::KillFocus;
        Send(m);
    }
    if (focus != 0 && focus == w)
    {
        m.window = w;
        m.kind = MessageKind::SetFocus;
        Send(m);
    }
}

bool CSoftScreen::ShownOnScreen(const Window& w) const
{
    if (!w.visible)
        return false;
    if (!w.child)
        return true;
    const Window* parent = Find(w.parent);
    return parent != nullptr && ShownOnScreen(*parent);
}

bool CSoftScreen::IsVisible(SysWindow w) const
{
    const Window* window = Find(w);
    return window != nullptr && ShownOnScreen(*window);
}

SysWindow CSoftScreen::WindowAt(int32_t x, int32_t y)
{
    for (auto it = order.rbegin(); it != order.rend(); ++it)
    {
        const Window* window = Find(*it);
        if (window != nullptr && ShownOnScreen(*window) && ScreenRect(*it).Contains(x, y))
            return *it;
    }
    return 0;
}

void CSoftScreen::CursorPos(int32_t& x, int32_t& y)
{
    x = cursorX;
    y = cursorY;
}

void CSoftScreen::MoveCursor(int32_t x, int32_t y)
{
    cursorX = x;
    cursorY = y;
}

void CSoftScreen::Invalidate(SysWindow w, const Rect& r)
{
    Window* window = Find(w);
    if (window == nullptr)
        return;
    const Rect bounds{0, 0, window->rect.Width(), window->rect.Height()};
    const Rect clipped = Intersection(Normalised(r), bounds);
    if (!clipped.IsEmpty())
        window->invalid = Union(window->invalid, clipped);
}

void CSoftScreen::Update(SysWindow w)
{
    Window* window = Find(w);
    if (window == nullptr || !ShownOnScreen(*window) || window->invalid.IsEmpty())
        return;
    Message m;
    m.window = w;
    m.kind = MessageKind::Paint;
    ++paints;
    Send(m);
}

Rect CSoftScreen::BeginPaint(SysWindow w)
{
    Window* window = Find(w);
    if (window == nullptr)
        return Rect{};
    const Rect r = window->invalid;
    window->invalid = Rect{};
    painting = w;
    return r;
}

void CSoftScreen::EndPaint(SysWindow)
{
    painting = 0;
}

CDrawContext* CSoftScreen::Context(SysWindow w)
{
    Window* window = Find(w);
    return window != nullptr ? window->surface : nullptr;
}

void CSoftScreen::Sleep(uint32_t milliseconds)
{
    now += milliseconds;
    if (!queue.empty())
    {
        idleSleeps = 0;
        return;
    }
    if (++idleSleeps < idleLimit || exhausted)
        return;
    // Nothing more will come: close every shown window so that the loops end.
    exhausted = true;
    for (const Window& window : windows)
        if (window.visible && window.user != nullptr)
        {
            Message m;
            m.window = window.id;
            m.kind = MessageKind::Close;
            Queue(m, false, false);
        }
}

void CSoftScreen::Advance(uint32_t milliseconds)
{
    now += milliseconds;
    scriptTime = std::max(scriptTime, now);
}

void CSoftScreen::Queue(Message m, bool mouse, bool keyed)
{
    queue.push_back(Scripted{std::max(scriptTime, now), m, mouse, keyed});
}

bool CSoftScreen::Address(Scripted& s, Message& m)
{
    m = s.m;
    if (s.keyed)
    {
        m.window = focus;
        return focus != 0;
    }
    if (!s.mouse)
        return Find(m.window) != nullptr || IsHostMessage(m);
    cursorX = s.m.x;
    cursorY = s.m.y;
    if (m.kind == MessageKind::Wheel)
    {
        m.window = focus;
        return focus != 0;
    }
    m.window = capture != 0 ? capture : WindowAt(s.m.x, s.m.y);
    if (m.window == 0)
        return false;
    const Rect r = ScreenRect(m.window);
    m.x = s.m.x - r.left;
    m.y = s.m.y - r.top;
    return true;
}

bool CSoftScreen::Peek(Message& m)
{
    while (!queue.empty() && queue.front().due <= now)
    {
        Scripted s = queue.front();
        queue.pop_front();
        if (Address(s, m))
            return true;
    }
    // Paints come when nothing else is pending, as on the system.
    for (SysWindow w : order)
    {
        const Window* window = Find(w);
        if (window != nullptr && ShownOnScreen(*window) && !window->invalid.IsEmpty())
        {
            m = Message{};
            m.window = w;
            m.kind = MessageKind::Paint;
            ++paints;
            return true;
        }
    }
    return false;
}

void CSoftScreen::Dispatch(Message& m)
{
    if (IsHostMessage(m))
    {
        // The action may script more host messages, which moves the list.
        const std::function<void()> action = std::move(hostActions[static_cast<size_t>(m.value)]);
        hostActions[static_cast<size_t>(m.value)] = nullptr;
        if (action)
            action();
        return;
    }
    if (Find(m.window) == nullptr)
        return;
    if (m.kind == MessageKind::ButtonDown || m.kind == MessageKind::NcButtonDown)
    {
        // A press first asks the window whether it may be activated.
        SysWindow top = m.window;
        while (Find(top) != nullptr && Find(top)->child)
            top = Find(top)->parent;
        if (focus != m.window)
        {
            Message activate = m;
            activate.kind = MessageKind::MouseActivate;
            const MessageResult r = Send(activate);
            if (r != MessageResult::NoActivate && Find(m.window) != nullptr)
            {
                Raise(top, false);
                SetFocus(m.window);
            }
        }
        if (Find(m.window) == nullptr)
            return;
    }
    Send(m);
}

MessageResult CSoftScreen::Send(const Message& m)
{
    if (Find(m.window) == nullptr)
        return MessageResult::Default;
    const MessageResult r = procedure != nullptr ? procedure(*this, m) : MessageResult::Default;
    // The default handling of a paint validates the window, as the system's does.
    if (r == MessageResult::Default && m.kind == MessageKind::Paint)
        if (Window* window = Find(m.window))
            window->invalid = Rect{};
    return r;
}

void CSoftScreen::Post(const Message& m)
{
    Queue(m, false, false);
}

void CSoftScreen::SendToOther(SysWindow, const Message& m)
{
    sentToOthers.push_back(m);
}

void CSoftScreen::Move(int32_t x, int32_t y, int32_t mods)
{
    Message m;
    m.kind = MessageKind::MouseMove;
    m.x = x;
    m.y = y;
    m.mods = mods;
    Queue(m, true, false);
}

void CSoftScreen::Press(int32_t x, int32_t y, int32_t button, int32_t mods)
{
    Message m;
    m.kind = MessageKind::ButtonDown;
    m.x = x;
    m.y = y;
    m.button = button;
    m.mods = mods;
    Queue(m, true, false);
}

void CSoftScreen::Release(int32_t x, int32_t y, int32_t button, int32_t mods)
{
    Message m;
    m.kind = MessageKind::ButtonUp;
    m.x = x;
    m.y = y;
    m.button = button;
    m.mods = mods;
    Queue(m, true, false);
}

void CSoftScreen::Key(int32_t key, int32_t mods)
{
    Message m;
    m.kind = MessageKind::KeyDown;
    m.key = key;
    m.mods = mods;
    Queue(m, false, true);
}

void CSoftScreen::KeyRelease(int32_t key, int32_t mods)
{
    Message m;
    m.kind = MessageKind::KeyUp;
    m.key = key;
    m.mods = mods;
    Queue(m, false, true);
}

void CSoftScreen::Turn(int32_t x, int32_t y, int32_t delta, int32_t mods)
{
    Message m;
    m.kind = MessageKind::Wheel;
    m.x = x;
    m.y = y;
    m.delta = delta;
    m.mods = mods;
    Queue(m, true, false);
}

void CSoftScreen::DropFiles(int32_t x, int32_t y, const std::vector<std::string>& files)
{
    drops.push_back(files);
    Message m;
    m.kind = MessageKind::DropFiles;
    m.x = x;
    m.y = y;
    m.value = static_cast<int32_t>(drops.size() - 1);
    Queue(m, true, false);
}

void CSoftScreen::HostMessage(std::function<void()> action)
{
    hostActions.push_back(std::move(action));
    Message m;
    m.kind = MessageKind::Other;
    m.value = static_cast<int32_t>(hostActions.size() - 1);
    Queue(m, false, false);
}

bool CSoftScreen::IsHostMessage(const Message& m) const
{
    return m.window == 0 && m.kind == MessageKind::Other && m.value >= 0 &&
           m.value < static_cast<int32_t>(hostActions.size());
}

bool CSoftScreen::Embed(SysWindow w, uintptr_t parent)
{
    Window* window = Find(w);
    if (window == nullptr || parent == w || Find(parent) == nullptr)
        return false;
    window->parent = parent;
    window->child = true;
    window->rect = Rect{0, 0, window->rect.Width(), window->rect.Height()};
    return true;
}

int32_t CSoftScreen::DroppedFileCount(const Message& m)
{
    if (m.value < 0 || m.value >= static_cast<int32_t>(drops.size()))
        return 0;
    return static_cast<int32_t>(drops[static_cast<size_t>(m.value)].size());
}

void CSoftScreen::DroppedFile(const Message& m, int32_t index, char* buffer, int32_t size)
{
    if (size < 1)
        return;
    buffer[0] = 0;
    if (index < 0 || index >= DroppedFileCount(m))
        return;
    const std::string& name = drops[static_cast<size_t>(m.value)][static_cast<size_t>(index)];
    const size_t n = std::min(name.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, name.data(), n);
    buffer[n] = 0;
}

void CSoftScreen::EndDrop(const Message& m)
{
    if (m.value >= 0 && m.value < static_cast<int32_t>(drops.size()))
        drops[static_cast<size_t>(m.value)].clear();
}

void CSoftScreen::Compose(CDrawContext& out)
{
    for (SysWindow w : order)
    {
        const Window* window = Find(w);
        if (window == nullptr || !ShownOnScreen(*window))
            continue;
        out.Blit(ScreenRect(w), *window->surface, 0, 0);
    }
}
