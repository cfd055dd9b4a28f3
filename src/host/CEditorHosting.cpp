#include "host/CEditorHosting.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "host/CPluginBase.h"
#include "host/CVstEffect.h"

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

// A second open request shows nothing new; one made while a close waits
// for the loops to return takes the hidden editor back. The core builds its
// window on the application object, so that goes first.
intptr_t CEditorHosting::Open(CPluginBase& core, void* parent)
{
    FinishPendingClose(core);
    CWin* window = dynamic_cast<CWin*>(core.editorWindow);
    if (closePending)
    {
        closePending = false;
        if (window)
            Present(window, parent);
        return 1;
    }
    if (core.editorWindow)
        return 1;
    CApp* app = new CApp(System());
    core.editorApp = app;
    holder = CVstEffect::Of(core.effect);
    app->frameWatcher = this;
    core.editorWindow = core.CreateEditor();
    window = dynamic_cast<CWin*>(core.editorWindow);
    // No system window (no display to show it on) is no editor either.
    if (!core.editorWindow || (window && !window->hwnd))
    {
        DeleteEditor(core);
        return 0;
    }
    if (!window)
        return 1;
    app->mainWindow = window;
    Present(window, parent);
    return 1;
}

void CEditorHosting::Present(CWin* window, void* parent)
{
    if (parent && window->app->system->Embed(window->hwnd, reinterpret_cast<uintptr_t>(parent)))
        window->style |= kWinEmbedded;
    window->Show(true);
}

// Deleting under a running loop or message handler would leave them, and
// the handler that started the loop, on freed objects.
intptr_t CEditorHosting::Close(CPluginBase& core)
{
    FinishPendingClose(core);
    CWin* window = dynamic_cast<CWin*>(core.editorWindow);
    if (window)
        window->Close();
    CApp* app = dynamic_cast<CApp*>(core.editorApp);
    if (app && app->Busy())
    {
        app->EndLoops();
        closePending = true;
        return 0;
    }
    DeleteEditor(core);
    return 0;
}

intptr_t CEditorHosting::Idle(CPluginBase& core)
{
    FinishPendingClose(core);
    core.Idle();
    if (closePending)
        return 0;
    if (CApp* app = dynamic_cast<CApp*>(core.editorApp))
    {
        app->system->DispatchPending(kMessagesPerIdle);
        // A close asked from a loop that this dispatch ran has unwound now.
        FinishPendingClose(core);
    }
    return 0;
}

void CEditorHosting::DeleteEditor(CPluginBase& core)
{
    delete core.editorWindow;
    core.editorWindow = nullptr;
    delete core.editorApp;
    core.editorApp = nullptr;
}

void CEditorHosting::FinishPendingClose(CPluginBase& core)
{
    CApp* app = dynamic_cast<CApp*>(core.editorApp);
    if (!closePending || (app && app->Busy()))
        return;
    closePending = false;
    DeleteEditor(core);
}

void CEditorHosting::Entered()
{
    if (holder)
        holder->Hold();
}

// The release may delete the plug-in, this object and the application whose
// frame guard calls here.
void CEditorHosting::Left()
{
    if (holder)
        holder->Release();
}
