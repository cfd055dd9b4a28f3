#include "gui/core/CApp.h"

#include "gui/core/CDragWin.h"
#include "gui/core/CDropItem.h"
#include "gui/core/CHintWin.h"
#include "gui/core/CWin.h"
#include "gui/core/WindowProc.h"
#include "gui/platform/InputCodes.h"

#include <algorithm>

CApp::CApp(CWindowSystem* system) : system(system != nullptr ? system : BuildWindowSystem()), theme(new CAppGui())
{
    this->system->procedure = &WindowProc;
    theme->Init();
}

CApp::~CApp()
{
    // The windows reach the application while they go.
    delete dragWindow;
    delete hintWindow;
    DeleteServedPopups(true);
    ReleaseDropItems();
    delete globalKeyHandler;
    delete hoverHandler;
    delete backBuffer;
    delete theme;
}

void CApp::StartTimer(CCtrl* c, int32_t period, bool repeat)
{
    c->period = period;
    c->remaining = period;
    c->repeat = repeat ? 1 : 0;
    if (timers.IndexOf(c) < 0)
        timers.Add(c);
}

void CApp::StopTimer(CCtrl* c)
{
    timers.Remove(c);
}

void CApp::IdleTick()
{
    for (int32_t i = 0; i < timers.Count();)
    {
        CCtrl* c = static_cast<CCtrl*>(timers.Get(i));
        c->remaining -= kIdleTickMs;
        if (c->remaining >= 1)
        {
            ++i;
            continue;
        }
        if (c->repeat)
            c->remaining += c->period;
        else
            timers.RemoveAt(i);
        c->Timer();
        // The timer may have stopped timers or deleted controls: go on after
        // c if it is still listed, else at the entry that took its place.
        const int32_t at = timers.IndexOf(c);
        if (at >= 0)
            i = at + 1;
    }
    system->Sleep(kIdleTickMs);
}

void CApp::ClosePopups(CWin* keep)
{
    while (popupStack.Count() > 0)
    {
        CWin* last = static_cast<CWin*>(popupStack.Get(popupStack.Count() - 1));
        if (last == keep)
            break;
        last->Close();
        // Close takes it off the stack; never loop on one that stays.
        popupStack.Remove(last);
    }
    topPopup = static_cast<CWin*>(popupStack.Get(popupStack.Count() - 1));
}

void CApp::DeleteServedPopups(bool all)
{
    for (int32_t i = servedPopups.Count() - 1; i >= 0; --i)
    {
        CWin* popup = static_cast<CWin*>(servedPopups.Get(i));
        if (popup->visible && !all)
            continue;
        servedPopups.RemoveAt(i);
        // The destructor closes an open one.
        delete popup;
        // Deleting a popup may delete others of the list (those it owns).
        i = std::min(i, servedPopups.Count());
    }
}

CWin* CApp::WindowAt(int32_t x, int32_t y)
{
    const SysWindow w = system->WindowAt(x, y);
    return w != 0 ? system->UserData(w) : nullptr;
}

void CApp::NextWindow(CWin* from)
{
    const int32_t n = shownWindows.Count();
    if (n < 2)
        return;
    const int32_t at = shownWindows.IndexOf(from);
    CWin* next = static_cast<CWin*>(shownWindows.Get((at + 1) % n));
    if (next != nullptr && next != from)
        next->ToFront(true);
}

CGraphic* CApp::BackBuffer(int32_t width, int32_t height)
{
    if (backBuffer == nullptr || backBuffer->graphic == nullptr || backBuffer->width < width ||
        backBuffer->height < height)
    {
        const int32_t w = std::max(width, backBuffer != nullptr ? backBuffer->width : 0);
        const int32_t h = std::max(height, backBuffer != nullptr ? backBuffer->height : 0);
        delete backBuffer;
        backBuffer = new CBitmap(w, h, 0);
    }
    return backBuffer->graphic;
}

void CApp::Run(CWin* window)
{
    // A window the system refused can never be closed by the user: no loop waits for it.
    if (window->hwnd == 0)
        return;
    CLoopGuard guard(this);
    inModalLoop = 1;
    window->Show(true);
    Message m;
    while (window->visible && !endingLoops)
    {
        while (window->visible && !endingLoops && system->Peek(m))
            system->Dispatch(m);
        if (!window->visible || endingLoops)
            break;
        IdleTick();
    }
    inModalLoop = 0;
}

void CApp::Forget(CCtrl* c)
{
    if (overCtrl == c)
        overCtrl = nullptr;
    if (hoverCtrl == c)
        hoverCtrl = nullptr;
    if (keyHook == c)
        keyHook = nullptr;
    if (dropTarget == c)
        dropTarget = nullptr;
    timers.Remove(c);
}

void CApp::EndLoops()
{
    if (loopDepth == 0)
        return;
    endingLoops = true;
    ClosePopups(nullptr);
}

CApp::CLoopGuard::CLoopGuard(CApp* app) : app(app)
{
    ++app->loopDepth;
}

CApp::CLoopGuard::~CLoopGuard()
{
    if (--app->loopDepth == 0)
        app->endingLoops = false;
}

CApp::CFrameGuard::CFrameGuard(CApp* app) : app(app)
{
    if (app->frameDepth++ == 0 && app->frameWatcher != nullptr)
        app->frameWatcher->Entered();
}

// The watcher may delete the application: it is read before and never after.
CApp::CFrameGuard::~CFrameGuard()
{
    CFrameWatcher* watcher = app->frameWatcher;
    if (--app->frameDepth == 0 && watcher != nullptr)
        watcher->Left();
}

void CApp::BeginDrag(CWin* source, CList* items)
{
    ReleaseDropItems();
    dropItems = items;
    dragSource = source;
    dropTarget = nullptr;
    if (items->Count() == 0)
        return;
    if (dragWindow == nullptr)
        dragWindow = new CDragWin(this);
    dragWindow->SetItemName(static_cast<CObject*>(items->Get(0))->Name());
    int32_t cx = 0;
    int32_t cy = 0;
    system->CursorPos(cx, cy);
    dragWindow->Move(cx + kDragOffsetX, cy + kDragOffsetY);
    dragWindow->Show(false);
}

void CApp::ShowHint(const char* hint, int32_t delayMs)
{
    if (hintWindow == nullptr)
        hintWindow = new CHintWin(this);
    hintWindow->SetHint(hint, delayMs);
}

void CApp::WindowShown(CWin* w)
{
    if (!w->IsEmbedded() && !(w->style & kWinNoActivate) && shownWindows.IndexOf(w) < 0)
        shownWindows.Add(w);
    if (allShownWindows.IndexOf(w) < 0)
        allShownWindows.Add(w);
}

void CApp::WindowHidden(CWin* w)
{
    shownWindows.Remove(w);
    allShownWindows.Remove(w);
}

void CApp::WindowDestroyed(CWin* w)
{
    servedPopups.Remove(w);
    shownWindows.Remove(w);
    allShownWindows.Remove(w);
    if (mainWindow == w)
        mainWindow = nullptr;
    if (dragWindow == w)
        dragWindow = nullptr;
    if (hintWindow == w)
        hintWindow = nullptr;
    if (dragSource == w)
        dragSource = nullptr;
}

bool CApp::PushPopup(CWin* popup)
{
    if (popupStack.IndexOf(popup) < 0)
        popupStack.Add(popup);
    topPopup = popup;
    return popupStack.Count() > 1;
}

void CApp::RemovePopup(CWin* popup)
{
    popupStack.Remove(popup);
    topPopup = static_cast<CWin*>(popupStack.Get(popupStack.Count() - 1));
}

void CApp::DeleteWhenServed(CWin* popup)
{
    if (servedPopups.IndexOf(popup) < 0)
        servedPopups.Add(popup);
}

void CApp::NoteKeyDown(int32_t key, int32_t mods)
{
    if (key != kKeyNone)
        altTapped = false;
    else if (mods == kModAlt)
        altTapped = true;
}

void CApp::CancelAltTap()
{
    altTapped = false;
}

bool CApp::TakeAltTap()
{
    const bool was = altTapped;
    altTapped = false;
    return was;
}

void CApp::HoverOver(CCtrl* hit)
{
    if (hit == hoverCtrl)
        return;
    hoverCtrl = hit;
    if (topPopup == nullptr && hoverHandler != nullptr)
        hoverHandler->Call(hit);
}

CCtrl* CApp::ReplaceOverCtrl(CCtrl* over)
{
    CCtrl* old = overCtrl;
    overCtrl = over;
    return old;
}

CCtrl* CApp::ReplaceDropTarget(CCtrl* target)
{
    CCtrl* old = dropTarget;
    dropTarget = target;
    return old;
}

void CApp::EndDrop()
{
    dropTarget = nullptr;
    ReleaseDropItems();
}

void CApp::Activate(bool isActive)
{
    active = isActive ? 1 : 0;
    if (!isActive)
        ClosePopups(nullptr);
}

CList* CApp::ReceiveDrop(CWin* target)
{
    dragSource = target;
    ReleaseDropItems();
    dropItems = new CList();
    return dropItems;
}

void CApp::ReleaseDropItems()
{
    if (dropItems == nullptr)
        return;
    while (dropItems->Count() > 0)
        delete static_cast<CDropItem*>(dropItems->RemoveAt(0));
    delete dropItems;
    dropItems = nullptr;
}
