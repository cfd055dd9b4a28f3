#include "host/CEditorHosting.h"

#include "editor/CEditorFactory.h"
#include "editor/CPluginWin.h"
#include "gui/core/CApp.h"
#include "host/CVstEffect.h"

CEditorHosting::CEditorHosting(CEditorFactory* factory, CVstEffect* holder, CWindowSystem* system)
    : factory(factory), holder(holder), system(system)
{
}

CEditorHosting::~CEditorHosting()
{
    DeleteEditor();
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
// for the loops to return takes the hidden editor back. The factory builds
// its window on the application object, so that goes first.
intptr_t CEditorHosting::Open(void* parent)
{
    FinishPendingClose();
    if (closePending)
    {
        closePending = false;
        if (window)
            Present(window, parent);
        return 1;
    }
    if (window)
        return 1;
    if (!factory)
        return 0;
    app = new CApp(System());
    app->frameWatcher = this;
    window = factory->CreateEditor(app);
    // No system window (no display to show it on) is no editor either.
    if (!window || !window->hwnd)
    {
        DeleteEditor();
        return 0;
    }
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
intptr_t CEditorHosting::Close()
{
    FinishPendingClose();
    if (window)
        window->Close();
    if (app && app->Busy())
    {
        app->EndLoops();
        closePending = true;
        return 0;
    }
    DeleteEditor();
    return 0;
}

intptr_t CEditorHosting::Idle()
{
    FinishPendingClose();
    if (window)
        window->Idle();
    if (closePending)
        return 0;
    if (app)
    {
        app->system->DispatchPending(kMessagesPerIdle);
        // A close asked from a loop that this dispatch ran has unwound now.
        FinishPendingClose();
    }
    return 0;
}

void CEditorHosting::DeleteEditor()
{
    delete window;
    window = nullptr;
    delete app;
    app = nullptr;
}

void CEditorHosting::FinishPendingClose()
{
    if (!closePending || (app && app->Busy()))
        return;
    closePending = false;
    DeleteEditor();
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
