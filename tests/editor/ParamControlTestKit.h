#pragma once

#include "core/WindowTestKit.h"
#include "editor/CBaseGroup.h"
#include "editor/CSynthResources.h"
#include "gui/platform/InputCodes.h"
#include "host/CAutomationHost.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// A host that writes down the edits it is told of.
class CRecordingHost : public CAutomationHost
{
public:
    void BeginEdit(int32_t parameter) override { calls.push_back("begin " + std::to_string(parameter)); }
    void Automate(int32_t parameter, float value) override
    {
        calls.push_back("automate " + std::to_string(parameter));
        values.push_back(value);
    }
    void EndEdit(int32_t parameter) override { calls.push_back("end " + std::to_string(parameter)); }
    void UpdateDisplay() override { calls.push_back("update"); }

    std::vector<std::string> calls;
    std::vector<float> values;
};

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
