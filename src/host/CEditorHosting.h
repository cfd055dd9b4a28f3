#pragma once

#include "host/VstAbi.h"

#include <cstdint>

class CPluginBase;
class CWindowSystem;

// The host's four editor requests: the editor's size, opening the editor
// window inside the host's window, the regular idle tick and closing. Open
// creates the toolkit's application object and the window (from the core,
// CPluginBase::CreateEditor); the core holds both while the editor is open.
// All calls on the host's user-interface thread.
class CEditorHosting
{
public:
    static constexpr int16_t kEditorWidth = 824;   // pixels
    static constexpr int16_t kEditorHeight = 376;  // pixels
    // System messages handled per idle request at most, so that a flood of
    // input never holds the host's thread for long.
    static constexpr int32_t kMessagesPerIdle = 64;

    // system is where editors open; null takes the platform's
    // (EditorWindowSystem). Not owned.
    explicit CEditorHosting(CWindowSystem* system = nullptr);

    // Sets the rectangle to the editor's size and hands the host its address
    // (valid as long as this object). Answers 1, or 0 without a place to
    // store the address.
    intptr_t GetRect(ERect** rect);
    // Opens the editor unless one is open: application object, window,
    // embedding into parent (the host's window; null gives a window of its
    // own) and showing. Answers 1, or 0 when no window could be made.
    intptr_t Open(CPluginBase& core, void* parent);
    // Closes and deletes an open editor window, then its application
    // object; nothing without an open editor. Answers 0.
    intptr_t Close(CPluginBase& core);
    // Forwards the host's idle tick to the core, then lets the window system
    // deliver pending input and show what was drawn. Answers 0.
    intptr_t Idle(CPluginBase& core);

    const ERect& Rect() const { return rect; }
    void UseSystem(CWindowSystem* windowSystem) { system = windowSystem; }

private:
    CWindowSystem* System() const;

    ERect rect = {0, 0, 100, 100};
    CWindowSystem* system;
};
