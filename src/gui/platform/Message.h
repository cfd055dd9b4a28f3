#pragma once

#include "gui/platform/Rect.h"

#include <cstdint>

// A system window as the toolkit holds it: an opaque handle, 0 for none.
using SysWindow = uintptr_t;

// What a system message is about, after the backend has translated it.
enum class MessageKind : int32_t
{
    None,
    MouseMove,     // x, y client; mods; button unused
    ButtonDown,    // x, y client; button; mods
    ButtonUp,      // x, y client; button; mods
    NcButtonDown,  // a press on a window's frame; button
    Wheel,         // x, y screen; mods; delta (multiples of 120)
    KeyDown,       // key (toolkit code); mods; system key down too
    KeyUp,         // key; mods
    Char,          // key: the character
    Size,
    SetFocus,
    KillFocus,
    Paint,
    Close,
    ActivateApp,    // value 1 activated, 0 deactivated
    MouseActivate,  // a press is about to activate the window
    DialogCode,
    DropFiles,  // value: the backend's drop handle
    Other
};

// One translated system message. native, wParam and lParam are the system's
// own message as it arrived (win32 backend; 0 in the software backend), kept
// so that a message can be posted again or dispatched unchanged.
struct Message
{
    SysWindow window = 0;
    MessageKind kind = MessageKind::None;
    int32_t x = 0;
    int32_t y = 0;
    int32_t button = 0;
    int32_t mods = 0;
    int32_t key = 0;
    int32_t delta = 0;
    int32_t value = 0;
    uint32_t native = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

// The toolkit's answers to the system.
enum class MessageResult : int32_t
{
    Default,  // leave the message to the system's default handling
    Handled,
    NoActivate,  // MouseActivate: do not activate
    Activate,    // MouseActivate: activate
    AllKeys      // DialogCode: the window wants every key
};
