#include "gui/core/WindowProc.h"

#include "gui/core/CApp.h"
#include "gui/core/CDropItem.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

#include <cstdlib>

namespace
{

// The longest dropped file name kept, terminator excluded.
constexpr int32_t kMaxPath = 260;
// One wheel notch as the system reports it, and as a popup scrolls by.
constexpr int32_t kWheelNotch = 120;
constexpr int32_t kPopupWheelStep = 32;

bool IsLeftOrRightPress(const Message& m)
{
    return (m.kind == MessageKind::ButtonDown || m.kind == MessageKind::NcButtonDown) &&
           (m.button == kMouseLeft || m.button == kMouseRight);
}

// True when the popup took the message; result is then the answer.
bool InterceptForPopup(CWindowSystem& system, CWin* win, const Message& m, MessageResult& result)
{
    CWin* popup = win->app->topPopup;
    if (IsLeftOrRightPress(m) && popup != win && popup->visible)
    {
        popup->Close();
        system.Post(m);
        result = MessageResult::Default;
        return true;
    }
    if (m.kind == MessageKind::KeyDown && popup != win)
    {
        if (m.key != kKeyNone || m.mods != 0)
            popup->KeyDown(m.key, m.mods);
        result = MessageResult::Handled;
        return true;
    }
    if (m.kind == MessageKind::Char && popup != win)
    {
        result = MessageResult::Handled;
        return true;
    }
    if (m.kind == MessageKind::Wheel)
    {
        popup->Wheel(m.x, m.y, 0, m.delta / kWheelNotch * kPopupWheelStep, 0);
        result = MessageResult::Handled;
        return true;
    }
    return false;
}

void Press(CWindowSystem& system, CWin* win, const Message& m)
{
    CApp* app = win->app;
    app->heldButton = m.button;
    const Rect screen = system.ScreenRect(m.window);
    const int32_t sx = screen.left + m.x;
    const int32_t sy = screen.top + m.y;
    const uint32_t now = system.Time();
    const bool isDouble = app->lastPressCounts && now - app->lastPressTime <= kDoubleClickMs &&
                          std::abs(sx - app->lastPressScreenX) < kDoubleClickDistance &&
                          std::abs(sy - app->lastPressScreenY) < kDoubleClickDistance;
    // A double click is not the first press of the next one.
    app->lastPressCounts = !isDouble;
    app->lastPressTime = now;
    app->lastPressScreenX = sx;
    app->lastPressScreenY = sy;
    app->pressX = m.x;
    app->pressY = m.y;
    win->MouseDown(m.x, m.y, m.button | m.mods | (isDouble ? kMouseDouble : 0));
}

void Wheel(CWindowSystem& system, CWin* win, const Message& m)
{
    CApp* app = win->app;
    if (app->inWheel)
        return;
    app->inWheel = true;
    CWin* target = system.Capture() == 0 ? app->WindowAt(m.x, m.y) : win;
    if (target != nullptr)
    {
        const Rect r = system.ScreenRect(target->hwnd);
        target->Wheel(m.x - r.left, m.y - r.top, m.mods, m.delta, 0);
    }
    else if (const SysWindow other = system.WindowAt(m.x, m.y))
    {
        system.SendToOther(other, m);
    }
    app->inWheel = false;
}

void Drop(CWindowSystem& system, CWin* win, const Message& m)
{
    CApp* app = win->app;
    CList* items = app->ReceiveDrop(win);
    const int32_t count = system.DroppedFileCount(m);
    for (int32_t i = 0; i < count; ++i)
    {
        char path[kMaxPath + 1];
        system.DroppedFile(m, i, path, sizeof path);
        items->Add(new CDropItem(path, path));
    }
    system.EndDrop(m);
    win->DeliverDrop(m.x, m.y, 0);
    app->ReleaseDropItems();
}

}  // namespace

MessageResult WindowProc(CWindowSystem& system, const Message& m)
{
    CWin* win = system.UserData(m.window);
    if (win == nullptr)
        return MessageResult::Default;
    CApp* app = win->app;
    const CApp::CFrameGuard frame(app);
    MessageResult result = MessageResult::Handled;
    if (app->topPopup != nullptr && InterceptForPopup(system, win, m, result))
        return result;
    switch (m.kind)
    {
    case MessageKind::MouseMove:
        win->MouseMove(m.x, m.y, m.mods | app->heldButton);
        return MessageResult::Handled;
    case MessageKind::ButtonDown:
        Press(system, win, m);
        return MessageResult::Handled;
    case MessageKind::ButtonUp:
        app->heldButton = 0;
        win->MouseUp(m.x, m.y, m.button | m.mods);
        return MessageResult::Handled;
    case MessageKind::Wheel:
        Wheel(system, win, m);
        return MessageResult::Handled;
    case MessageKind::KeyDown:
        // A key without a character and without a modifier (Caps Lock...) goes nowhere.
        if (m.key == kKeyNone && m.mods == 0)
            return MessageResult::Handled;
        win->KeyDown(m.key, m.mods);
        return MessageResult::Handled;
    case MessageKind::KeyUp:
        win->KeyUp(m.key, m.mods);
        return MessageResult::Handled;
    case MessageKind::Size:
        win->Layout();
        return MessageResult::Default;
    case MessageKind::SetFocus:
        win->Focus(true);
        return MessageResult::Default;
    case MessageKind::KillFocus:
        win->Focus(false);
        return MessageResult::Default;
    case MessageKind::Paint:
    {
        const Rect r = system.BeginPaint(m.window);
        win->PaintWindow(r);
        system.EndPaint(m.window);
        return MessageResult::Handled;
    }
    case MessageKind::Close:
        win->Close();
        return MessageResult::Handled;
    case MessageKind::ActivateApp:
        app->Activate(m.value != 0);
        return MessageResult::Default;
    case MessageKind::MouseActivate:
        if (win->style & kWinNoActivate)
            return MessageResult::NoActivate;
        if (win->IsEmbedded() && (win->owner->style & kWinContainer))
        {
            win->ToFront(false);
            win->owner->SetFocusCtrl(nullptr);
            return MessageResult::Activate;
        }
        return MessageResult::Default;
    case MessageKind::DialogCode:
        return MessageResult::AllKeys;
    case MessageKind::DropFiles:
        Drop(system, win, m);
        return MessageResult::Handled;
    default:
        return MessageResult::Default;
    }
}
