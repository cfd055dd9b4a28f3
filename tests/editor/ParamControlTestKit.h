#pragma once

#include "core/WindowTestKit.h"
#include "editor/CBaseGroup.h"
#include "editor/CSynthResources.h"
#include "gui/platform/InputCodes.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstdint>

// A borderless window at the screen's origin (window = screen coordinates)
// holding one green panel; controls go into the panel's first row from
// x = 4, y = 24, 64 pixels apart.
class ParamControlTest : public ::testing::Test, public WindowTestKit
{
protected:
    ParamControlTest()
    {
        win = new CWin(&app, nullptr, kWinNoBorder, "knobs", 0, 0, 300, 200);
        panel = new CBaseGroup(win, &view);
        panel->background = 0x00FF00;
        win->AddChild(panel);
        program = synth.currentProgram;
    }
    ~ParamControlTest() override { delete win; }

    // Places c in the panel's row, which owns it.
    template <class T>
    T* Place(T* c)
    {
        panel->Place(c);
        return c;
    }
    void Show()
    {
        win->Show(true);
        Pump();
    }
    // Presses at (x, y), moves by (dx, dy) and releases there, 500 ms after anything before.
    void Drag(int32_t x, int32_t y, int32_t dx, int32_t dy)
    {
        screen.Advance(500);
        screen.Press(x, y, kMouseLeft);
        screen.Move(x + dx, y + dy, kMouseLeft);
        screen.Release(x + dx, y + dy, kMouseLeft);
        Pump();
    }
    void Click(int32_t x, int32_t y, int32_t button)
    {
        screen.Advance(500);
        screen.Press(x, y, button);
        screen.Release(x, y, button);
        Pump();
    }

    CSynth synth;
    CSynthResources view{synth};
    CWin* win;
    CBaseGroup* panel;
    SynthProgram* program;
};
