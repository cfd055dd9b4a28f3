#include "host/CEditorHosting.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "host/CPluginBase.h"

CEditorHosting::CEditorHosting(CWindowSystem* system) : system(system)
{
}

CWindowSystem* CEditorHosting::System() const
{
    return system != nullptr ? system : EditorWindowSystem();
}

intptr_t CEditorHosting::GetRect(ERect** where)
{
    rect = {0, 0, kEditorHeight, kEditorWidth};
    if (!where)
        return 0;
    *where = &rect;
    return 1;
}

// A second open request shows nothing new. The core builds its window on the
// application object, so that goes first.
intptr_t CEditorHosting::Open(CPluginBase& core, void* parent)
{
    if (core.editorWindow)
        return 1;
    CApp* app = new CApp(System());
    core.editorApp = app;
    core.editorWindow = core.CreateEditor();
    CWin* window = dynamic_cast<CWin*>(core.editorWindow);
    // No system window (no display to show it on) is no editor either.
    if (!core.editorWindow || (window && !window->hwnd))
    {
        delete core.editorWindow;
        core.editorWindow = nullptr;
        delete app;
        core.editorApp = nullptr;
        return 0;
    }
    if (!window)
        return 1;
    app->mainWindow = window;
    if (parent && app->system->Embed(window->hwnd, reinterpret_cast<uintptr_t>(parent)))
        window->style |= kWinEmbedded;
    window->Show(true);
    return 1;
}

intptr_t CEditorHosting::Close(CPluginBase& core)
{
    if (CWin* window = dynamic_cast<CWin*>(core.editorWindow))
        window->Close();
    delete core.editorWindow;
    core.editorWindow = nullptr;
    delete core.editorApp;
    core.editorApp = nullptr;
    return 0;
}

intptr_t CEditorHosting::Idle(CPluginBase& core)
{
    core.Idle();
    if (CApp* app = dynamic_cast<CApp*>(core.editorApp))
        app->system->DispatchPending(kMessagesPerIdle);
    return 0;
}
