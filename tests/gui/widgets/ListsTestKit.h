#pragma once

#include "core/WindowTestKit.h"
#include "gui/core/CCtrl.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

// A borderless 400 x 300 window at the screen's origin (client and screen
// coordinates agree) and a recorder for what the controls report.
class ListsTest : public ::testing::Test, public WindowTestKit
{
protected:
    void SetUp() override { win = new CWin(&app, nullptr, kWinNoBorder, "lists", 0, 0, 400, 300); }
    void TearDown() override { delete win; }

    // Adds c at (x, y), width x height, to the window.
    template <class T>
    T* Place(T* c, int32_t px, int32_t py, int32_t w, int32_t h)
    {
        return PlaceIn(win, c, px, py, w, h);
    }

    void Show()
    {
        win->Show(true);
        Pump();
    }

    // Advances the timers by ms in idle ticks of 10 ms.
    void Tick(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += kIdleTickMs)
            app.IdleTick();
    }

    void Click(int32_t px, int32_t py, int32_t mods = 0)
    {
        screen.Press(px, py, kMouseLeft, mods);
        screen.Release(px, py, kMouseLeft, mods);
        Pump();
    }

    CWin* win = nullptr;
};

// Records a number per report, read from the sender by read.
class Reports
{
public:
    explicit Reports(std::function<int32_t(CCtrl*)> read) : read(std::move(read)) {}
    void Changed(CCtrl* sender) { values.push_back(read(sender)); }
    COnChange* Binder() { return new _COnChange<Reports>(this, &Reports::Changed); }

    std::function<int32_t(CCtrl*)> read;
    std::vector<int32_t> values;
};
