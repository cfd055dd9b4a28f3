#pragma once

#include "gui/core/CFrameWatcher.h"
#include "host/VstAbi.h"

#include <cstdint>

class CApp;
class CEditorFactory;
class CPluginWin;
class CVstEffect;
class CWin;
class CWindowSystem;

// The host's four editor requests: the editor's size, opening the editor
// window inside the host's window, the regular idle tick and closing. Open
// creates the toolkit's application object and the window (from the editor
// factory); this object owns both while the editor is open. While the
// toolkit handles a system message that no host call delivered (the host's
// own loop dispatched it, or a loop of ours did), the plug-in object is
// held, so that a host closing it meanwhile does not free it under that code
// (CVstEffect::Hold). All calls on the host's user-interface thread.
class CEditorHosting : private CFrameWatcher
{
public:
    static constexpr int16_t kEditorWidth = 824;   // pixels
    static constexpr int16_t kEditorHeight = 376;  // pixels
    // System messages handled per idle request at most, so that a flood of
    // input never holds the host's thread for long.
    static constexpr int32_t kMessagesPerIdle = 64;

    // factory builds the windows (null: the plug-in has no editor); holder
    // is the plug-in object to hold (may be null); system is where editors
    // open, null taking the platform's (EditorWindowSystem). None is owned.
    CEditorHosting(CEditorFactory* factory, CVstEffect* holder, CWindowSystem* system = nullptr);
    // Deletes an editor that is still open.
    ~CEditorHosting() override;

    // Sets the rectangle to the editor's size and hands the host its address
    // (valid as long as this object). Answers 1, or 0 without a place to
    // store the address.
    intptr_t GetRect(ERect** rect);
    // Opens the editor unless one is open: application object, window,
    // embedding into parent (the host's window; null gives a window of its
    // own) and showing. Answers 1, or 0 when no window could be made.
    intptr_t Open(void* parent);
    // Closes and deletes an open editor window, then its application
    // object; nothing without an open editor. Answers 0. A host may close
    // from inside the toolkit's handling of a message or one of its popup or
    // modal loops (they deliver all of the thread's messages): then the
    // window is hidden, the loops are asked to end, and the deletion waits
    // until the toolkit's code has returned; the next Idle, Open or Close
    // completes it.
    intptr_t Close();
    // Forwards the host's idle tick to the window, then lets the window
    // system deliver pending input and show what was drawn. Answers 0.
    intptr_t Idle();

    // A close waits for the toolkit's loops to return.
    bool ClosePending() const { return closePending; }

    const ERect& Rect() const { return rect; }
    // The open editor window and its application object; null while closed.
    CPluginWin* Window() const { return window; }
    CApp* App() const { return app; }
    void UseSystem(CWindowSystem* windowSystem) { system = windowSystem; }

private:
    CWindowSystem* System() const;
    // Deletes the window, then the application object, and forgets both.
    void DeleteEditor();
    // Embeds window into parent (the host's window; null leaves it a window
    // of its own) and shows it.
    static void Present(CWin* window, void* parent);
    // Completes a pending close once no code of the toolkit runs any more.
    void FinishPendingClose();
    void Entered() override;
    void Left() override;

    ERect rect = {0, 0, 100, 100};
    CEditorFactory* factory;
    CVstEffect* holder;
    CWindowSystem* system;
    CPluginWin* window = nullptr;  // owned
    CApp* app = nullptr;           // owned
    bool closePending = false;
};
