#include "gui/core/WindowLoops.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

namespace
{

bool IsPress(const Message& m)
{
    return m.kind == MessageKind::ButtonDown || m.kind == MessageKind::NcButtonDown;
}

// w is window or one of the windows it owns, however deep.
bool Owns(const CWin& window, SysWindow w)
{
    for (CWin* win = window.app->system->UserData(w); win != nullptr; win = win->owner)
        if (win == &window)
            return true;
    return false;
}

// A window the system refused can never be closed by the user: no loop waits
// for it. Closes (and deletes, when it asks for that) such a window.
bool DropRefused(CWin& window)
{
    if (window.hwnd != 0)
        return false;
    window.Close();
    if (window.deleteOnClose)
        delete &window;
    return true;
}

}  // namespace

void RunPopupLoop(CWin& popup)
{
    CApp* app = popup.app;
    CWindowSystem* system = app->system;
    if (DropRefused(popup))
        return;
    const bool served = app->PushPopup(&popup);
    if (popup.popupHandler != nullptr)
        popup.popupHandler->Call(&popup);
    system->ReleaseCapture();
    popup.Show(false);
    if (served)
    {
        // The serving loop deletes it once it has closed.
        if (popup.deleteOnClose)
            app->DeleteWhenServed(&popup);
        return;
    }
    CApp::CLoopGuard guard(app);
    Message m;
    while (popup.visible && !app->endingLoops)
    {
        while (popup.visible && !app->endingLoops && system->Peek(m))
        {
            if (m.kind == MessageKind::KeyDown && app->topPopup != nullptr)
                m.window = app->topPopup->hwnd;
            else if (IsPress(m))
            {
                CWin* target = system->UserData(m.window);
                if (target == nullptr || app->popupStack.IndexOf(target) < 0)
                    app->ClosePopups(nullptr);
            }
            system->Dispatch(m);
            app->DeleteServedPopups(false);
        }
        if (!popup.visible || app->endingLoops)
            break;
        app->IdleTick();
    }
    // No loop serves the newer popups any more.
    app->DeleteServedPopups(true);
    if (popup.deleteOnClose)
        delete &popup;
}

void RunModalLoop(CWin& window)
{
    CApp* app = window.app;
    CWindowSystem* system = app->system;
    if (DropRefused(window))
        return;
    system->ReleaseCapture();
    window.Show(true);
    CApp::CLoopGuard guard(app);
    Message m;
    while (window.visible && !app->endingLoops)
    {
        if (!window.HasFocus() && app->active)
            system->SetFocus(window.hwnd);
        while (window.visible && !app->endingLoops && system->Peek(m))
        {
            // Presses of the middle button are not taken from other windows.
            if (IsPress(m) && m.button != kMouseMiddle && !Owns(window, m.window))
                continue;
            if (m.kind == MessageKind::KeyDown || m.kind == MessageKind::Char)
                m.window = window.hwnd;
            system->Dispatch(m);
        }
        if (!window.visible || app->endingLoops)
            break;
        app->IdleTick();
    }
    if (window.deleteOnClose)
        delete &window;
}
