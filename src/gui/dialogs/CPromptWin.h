#pragma once

#include "gui/dialogs/CDialog.h"

#include <cstdint>

// Buttons of a message box, by flag; the flag is also the button's result.
constexpr int32_t kPromptOk = 1;
constexpr int32_t kPromptCancel = 2;
constexpr int32_t kPromptYes = 4;
constexpr int32_t kPromptNo = 8;

// A message box: a centred dialog with a title bar, the message on one
// line and a row of 48 x 24 buttons, 8 pixels apart from x = 8 at y = 48,
// in the order "OK", "Yes", "No", "Cancel" as chosen by the flags (flags
// choosing none show "OK"). The window is as wide as the larger of 160 and
// the message's text width, plus twice the border and 24.
class CPromptWin : public CDialog
{
public:
    CPromptWin(CApp* app, const char* title, const char* message, int32_t flags, CWin* owner = nullptr);
};

// Shows a message box over window and returns the result of the button
// pressed: its flag, OK for Enter, Cancel for Escape or a box closed
// otherwise; Cancel without a window.
int32_t Ask(CWin* window, const char* title, const char* message, int32_t flags);
