#pragma once

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

#include <vector>

// Records the senders of the OnChange binders it is given.
class ChangeLog
{
public:
    void Changed(CCtrl* sender) { senders.push_back(sender); }
    COnChange* Binder() { return new _COnChange<ChangeLog>(this, &ChangeLog::Changed); }
    std::vector<CCtrl*> senders;
};

// A shown, focused window at (100, 50) of the software screen (client area
// from (103, 53)) to put edit controls in, and helpers to script input at
// control-local points.
class EditTestKit : public ::testing::Test, public WindowTestKit
{
protected:
    static constexpr int32_t kClientLeft = 103;
    static constexpr int32_t kClientTop = 53;

    EditTestKit() : win(new CWin(&app, nullptr, 0, "edit", 100, 50, 320, 200)) {}
    ~EditTestKit() override { delete win; }

    // Adds c to the client area at (x, y), w x h, and shows the window.
    template <class T>
    T* Put(T* c, int32_t x, int32_t y, int32_t w, int32_t h)
    {
        PlaceIn(win, c, x, y, w, h);
        if (!win->visible)
            win->Show(true);
        Pump();
        return c;
    }

    void Click(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Press(kClientLeft + c->x + x, kClientTop + c->y + y, kMouseLeft, mods);
        screen.Release(kClientLeft + c->x + x, kClientTop + c->y + y, kMouseLeft, mods);
        Pump();
    }
    void Press(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Press(kClientLeft + c->x + x, kClientTop + c->y + y, kMouseLeft, mods);
        Pump();
    }
    void Drag(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Move(kClientLeft + c->x + x, kClientTop + c->y + y, kMouseLeft | mods);
        Pump();
    }
    void Release(CCtrl* c, int32_t x, int32_t y, int32_t mods = 0)
    {
        screen.Release(kClientLeft + c->x + x, kClientTop + c->y + y, kMouseLeft, mods);
        Pump();
    }
    void Turn(CCtrl* c, int32_t delta, int32_t mods)
    {
        screen.Turn(kClientLeft + c->x + 2, kClientTop + c->y + 2, delta, mods);
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

    CWin* win;
    ChangeLog changes;
};
