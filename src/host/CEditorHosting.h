#pragma once

#include "host/VstAbi.h"

#include <cstdint>

class CPluginBase;

// The host's four editor requests: the editor's size, opening the editor
// window inside the host's window, the regular idle tick and closing. The
// window itself comes from the core (CPluginBase::CreateEditor), which owns
// it while it is open. All calls on the host's user-interface thread.
class CEditorHosting
{
public:
    static constexpr int16_t kEditorWidth = 824;   // pixels
    static constexpr int16_t kEditorHeight = 376;  // pixels

    // Sets the rectangle to the editor's size and hands the host its address
    // (valid as long as this object). Answers 1, or 0 without a place to
    // store the address.
    intptr_t GetRect(ERect** rect);
    // Creates the editor window unless one is open. parent is the host's
    // window, or null for a window of its own. Answers 1.
    intptr_t Open(CPluginBase& core, void* parent);
    // Deletes an open editor window and its application object. Answers 0.
    intptr_t Close(CPluginBase& core);
    // Forwards the host's idle tick to the core. Answers 0.
    intptr_t Idle(CPluginBase& core);

    const ERect& Rect() const { return rect; }

private:
    ERect rect = {0, 0, 100, 100};
};
