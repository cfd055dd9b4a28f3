#pragma once

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Records the reports of the OnChange binders it gives out: every sender
// and, given a reader, a number read from the sender at the time.
class Reports
{
public:
    explicit Reports(std::function<int32_t(CCtrl*)> read = nullptr) : read(std::move(read)) {}
    void Changed(CCtrl* sender)
    {
        senders.push_back(sender);
        if (read)
            values.push_back(read(sender));
    }
    COnChange* Binder() { return new _COnChange<Reports>(this, &Reports::Changed); }

    std::function<int32_t(CCtrl*)> read;
    std::vector<CCtrl*> senders;
    std::vector<int32_t> values;
};

// A borderless 400 x 300 window at the screen's origin, so that client and
// screen coordinates agree, and input scripted at screen points or at points
// local to a control of the window; each step is delivered at once.
class WidgetTest : public ::testing::Test, public WindowTestKit
{
protected:
    WidgetTest() : win(new CWin(&app, nullptr, kWinNoBorder, "widgets", 0, 0, 400, 300)) {}
    ~WidgetTest() override { delete win; }

    void Show()
    {
        if (!win->visible)
            win->Show(true);
        Pump();
    }
    // Adds c at (x, y), w x h, and shows the window.
    template <class T>
    T* Put(T* c, int32_t x, int32_t y, int32_t w, int32_t h)
    {
        win->AddChildAt(c, x, y, w, h);
        Show();
        return c;
    }

    void Press(int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Press(x, y, kMouseLeft, mods);
        Pump();
    }
    void Drag(int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Move(x, y, kMouseLeft | mods);
        Pump();
    }
    void Release(int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Release(x, y, kMouseLeft, mods);
        Pump();
    }
    void Click(int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Press(x, y, kMouseLeft, mods);
        Release(x, y, mods);
    }
    void Press(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0) { Press(c->x + x, c->y + y, mods); }
    void Drag(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0) { Drag(c->x + x, c->y + y, mods); }
    void Release(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0) { Release(c->x + x, c->y + y, mods); }
    void Click(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0) { Click(c->x + x, c->y + y, mods); }
    void Turn(CCtrl* c, int32_t delta, int32_t mods)
    {
        screen.Turn(c->x + 2, c->y + 2, delta, mods);
        Pump();
    }
    void Keys(std::initializer_list<int32_t> keys, int32_t mods = 0)
    {
        for (int32_t k : keys)
            screen.Key(k, mods);
        Pump();
    }
    void Type(const char* s)
    {
        for (; *s != 0; ++s)
            screen.Key(*s, 0);
        Pump();
    }
    // Advances the timers by ms in idle ticks of 10 ms.
    void Tick(int32_t ms)
    {
        for (int32_t t = 0; t < ms; t += kIdleTickMs)
            app.IdleTick();
    }

    CWin* win;
};

// Scripted menu sessions in the shown window, over a probe in its lower two
// thirds: keys are queued to run inside the popup loops, and the
// application's global key handler, seen before any popup, runs test code
// there ('s' takes a snapshot, PopupState unless snap says otherwise; 'x'
// runs an action).
class MenuTest : public WidgetTest
{
protected:
    MenuTest() : probe(new CProbe(win, &log, "main", 0, 100, 400, 200))
    {
        win->AddChild(probe);
        Show();
        app.globalKeyHandler = new _COnKey<MenuTest>(this, &MenuTest::Hook);
    }

    // Notes the entry's id and how many popups were still open.
    void Chosen(CCtrl* sender)
    {
        reported.push_back(static_cast<CMenuItem*>(sender)->id);
        openWhenReported.push_back(app.popupStack.Count());
    }
    COnChange* Recorder() { return new _COnChange<MenuTest>(this, &MenuTest::Chosen); }

    bool Hook(CCtrl*, KeyRecord* key, int32_t)
    {
        if (key->key == 's')
            snaps.push_back(snap ? snap() : PopupState());
        else if (key->key == 'x' && action)
            action();
        else
            return false;
        return true;
    }

    // "popups/highlight of the newest"
    std::string PopupState()
    {
        const CPopup* top = static_cast<CPopup*>(app.topPopup);
        return std::to_string(app.popupStack.Count()) + "/" + std::to_string(top != nullptr ? top->highlight : -9);
    }

    void Queue(std::initializer_list<int32_t> keys)
    {
        for (int32_t k : keys)
            screen.Key(k);
    }

    CProbe* probe;
    std::vector<int32_t> reported;
    std::vector<int32_t> openWhenReported;
    std::vector<std::string> snaps;
    std::function<std::string()> snap;
    std::function<void()> action;
};
