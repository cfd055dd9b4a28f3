#pragma once

#include "gui/core/Binders.h"
#include "gui/core/CAppGui.h"
#include "gui/core/CFrameWatcher.h"
#include "gui/draw/CBitmap.h"
#include "gui/platform/CWindowSystem.h"
#include "io/CList.h"
#include "io/CObject.h"

#include <cstdint>

class CCtrl;
class CDragWin;
class CHintWin;
class CWin;

// Idle pass of the toolkit's loops: timers advance by this and the loop sleeps as long.
constexpr int32_t kIdleTickMs = 10;
// Two presses at most this far apart in time can make a double click.
constexpr uint32_t kDoubleClickMs = 400;
// ... and only when the cursor moved less than this on both axes.
constexpr int32_t kDoubleClickDistance = 8;

// The application object: the state shared by every window of one open
// editor (popups, timers, the controls under the mouse, drag and drop, the
// back buffer) and the theme, which it builds at construction and owns. It
// also keeps what the window procedure remembers between messages.
class CApp : public CObject
{
public:
    // system is not owned; null takes the build's window system. The
    // application installs the toolkit's window procedure into it.
    explicit CApp(CWindowSystem* system = nullptr);
    ~CApp() override;

    // Registers c's timer: Timer every period ms (repeating or once), first
    // after period. Starting a running timer restarts it.
    void StartTimer(CCtrl* c, int32_t period, bool repeat);
    void StopTimer(CCtrl* c);
    // One idle pass: advances every timer by 10 ms, fires those that are
    // due, then sleeps 10 ms.
    void IdleTick();

    // Closes every popup newer than keep (all of them for null), newest first.
    void ClosePopups(CWin* keep);
    // The toolkit window under screen point (x, y), or null.
    CWin* WindowAt(int32_t x, int32_t y);
    // Raises the shown window after the active one (Ctrl+Tab).
    void NextWindow(CWin* from);
    // The back buffer, grown (never shrunk) to hold width x height; null when it cannot be made.
    CGraphic* BackBuffer(int32_t width, int32_t height);
    // Shows window and runs its messages with the idle tick until it is
    // hidden; nothing for a window without a system window.
    void Run(CWin* window);
    // Deletes the popups with deleteOnClose that an older popup's loop
    // served and that have closed; with all set, closes and deletes the
    // open ones too (their serving loop has ended).
    void DeleteServedPopups(bool all);
    // Forgets every pointer to c (a control being destroyed).
    void Forget(CCtrl* c);
    // Asks every running popup and modal loop to end, closing the popups
    // (the host closes the editor while one of them runs); loops started
    // before the outermost one has returned end at once.
    void EndLoops();

    // Counts a popup or modal loop for as long as it lives, also when the
    // loop is left by an exception.
    class CLoopGuard
    {
    public:
        explicit CLoopGuard(CApp* app);
        ~CLoopGuard();
        CLoopGuard(const CLoopGuard&) = delete;
        CLoopGuard& operator=(const CLoopGuard&) = delete;

    private:
        CApp* app;
    };
    // Counts the window procedure's handling of one message for as long as
    // it runs, and tells the frame watcher about the outermost one. Nothing
    // is touched after the watcher has heard that it left.
    class CFrameGuard
    {
    public:
        explicit CFrameGuard(CApp* app);
        ~CFrameGuard();
        CFrameGuard(const CFrameGuard&) = delete;
        CFrameGuard& operator=(const CFrameGuard&) = delete;

    private:
        CApp* app;
    };
    // Code of the toolkit is on the stack: a message being handled or a
    // loop running. Deleting the application now would free it under them.
    bool Busy() const { return frameDepth > 0 || loopDepth > 0; }
    // Starts a drag of items (the list and its CDropItems are owned from
    // now on) from source: the drag window shows the first item's name next
    // to the cursor and follows it; the release delivers the drop
    // (CWin::MouseUp) and releases the list.
    void BeginDrag(CWin* source, CList* items);
    // Sets the hint window's text (empty: take the hint away) and restarts
    // its timer, which shows or closes it after delayMs; the window is made
    // on first use.
    void ShowHint(const char* hint, int32_t delayMs);

    // What windows tell the application; they change its state only through these.
    // w was shown: it joins the shown windows, and the Ctrl+Tab cycle unless
    // it is embedded or never activated.
    void WindowShown(CWin* w);
    // w was hidden: it leaves the shown windows.
    void WindowHidden(CWin* w);
    // w is being destroyed: every pointer to it is cleared.
    void WindowDestroyed(CWin* w);
    // popup goes on top of the popup stack (once); true when an older
    // popup's loop serves it.
    bool PushPopup(CWin* popup);
    // popup leaves the popup stack; the newest left is the top one.
    void RemovePopup(CWin* popup);
    // popup, a served one with deleteOnClose, is deleted by the serving loop
    // once it has closed.
    void DeleteWhenServed(CWin* popup);
    // Alt pressed alone arms the Alt tap; any key with a character disarms it.
    void NoteKeyDown(int32_t key, int32_t mods);
    void CancelAltTap();
    // Disarms the Alt tap; true when it was armed.
    bool TakeAltTap();
    // hit is the control under the mouse now; a change is reported to the
    // hover handler while no popup is open.
    void HoverOver(CCtrl* hit);
    // over becomes the hover-tracking control under the mouse; returns the previous one.
    CCtrl* ReplaceOverCtrl(CCtrl* over);
    // target becomes the control a drag is over; returns the previous one.
    CCtrl* ReplaceDropTarget(CCtrl* target);
    // The drag or drop is over: no target, the items released.
    void EndDrop();
    // The process became the active application or stopped being it; the
    // popups close when it stops.
    void Activate(bool isActive);
    // Files from another program are dropped on target: the previous items
    // are released and a new empty list (owned) is returned to be filled.
    CList* ReceiveDrop(CWin* target);

    CWindowSystem* system;  // not owned
    uint8_t active = 1;     // the process is the active application
    uint8_t inModalLoop = 0;
    int32_t loopDepth = 0;                  // popup and modal loops running, nested
    bool endingLoops = false;               // EndLoops asked; cleared when the outermost loop returns
    int32_t frameDepth = 0;                 // messages being handled by the window procedure, nested
    CFrameWatcher* frameWatcher = nullptr;  // not owned; may be null
    CList popupStack;                       // open popups, oldest first
    CList servedPopups;                     // popups with deleteOnClose served by an older popup's loop (not owned)
    CList shownWindows;                     // visible top-level windows
    CList timers;                           // controls with a running timer
    CList allShownWindows;
    CWin* mainWindow = nullptr;
    CWin* topPopup = nullptr;
    CDragWin* dragWindow = nullptr;      // owned, made by the first drag
    CCtrl* hoverCtrl = nullptr;          // control under the mouse
    CHintWin* hintWindow = nullptr;      // owned, made by the first hint
    CCtrl* overCtrl = nullptr;           // hover-tracking control under the mouse
    CCtrl* keyHook = nullptr;            // its OnKeyDown sees every key first
    COnKey* globalKeyHandler = nullptr;  // owned
    COnChange* hoverHandler = nullptr;   // owned; called with the new hoverCtrl
    uint8_t doubleBuffer = 1;
    CBitmap* backBuffer = nullptr;  // owned, made on demand
    CAppGui* theme;                 // owned
    CList* dropItems = nullptr;     // of owned CDropItem; non-null while a drag or drop is under way

    // What the window procedure keeps between messages.
    int32_t pressX = 0;  // window coordinates of the last button press
    int32_t pressY = 0;
    int32_t heldButton = 0;
    uint32_t lastPressTime = 0;
    bool lastPressCounts = false;  // the last press may start a double click
    int32_t lastPressScreenX = 0;
    int32_t lastPressScreenY = 0;
    CWin* dragSource = nullptr;
    CCtrl* dropTarget = nullptr;
    bool inWheel = false;
    bool altTapped = false;  // Alt went down alone, no key since

    // Deletes the drop list and its items.
    void ReleaseDropItems();
};
