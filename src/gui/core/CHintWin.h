#pragma once

#include "gui/core/CWin.h"

#include <cstdint>

// How far below the cursor a hint appears, pixels.
constexpr int32_t kHintBelowCursor = 24;

// A small window with one line of hint text, never activated. SetHint
// starts its one-shot timer; when the timer fires, an empty hint closes the
// window, any other moves it 24 pixels below the cursor and shows it
// without activation. A press in any other window cancels it (CWin::MouseDown).
class CHintWin : public CWin
{
public:
    explicit CHintWin(CApp* app);

    // Takes text (copied; empty to take the hint away), sizes the window to
    // it and (re)starts the timer: the change shows after delayMs.
    void SetHint(const char* hint, int32_t delayMs);
    void Timer() override;
    void Paint(CGraphic& g, Rect r) override;
};
