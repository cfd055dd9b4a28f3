#pragma once

#include "gui/platform/CWindowSystem.h"

// The toolkit's window procedure: turns one translated system message for
// a window of the toolkit's class into the window's input operations, with
// popup interception, double-click detection, key filtering and wheel
// routing. A window without a toolkit object (one being destroyed, or of
// another class) gets the default handling. The window may be gone when
// this returns; nothing of it is touched after its handler ran.
MessageResult WindowProc(CWindowSystem& system, const Message& m);
