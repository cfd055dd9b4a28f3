#pragma once

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"
#include "gui/platform/CSoftScreen.h"

#include <cstdint>
#include <string>
#include <vector>

// c's rectangle in its parent.
inline Rect Bounds(const CCtrl* c)
{
    return Rect{c->x, c->y, c->x + c->width, c->y + c->height};
}

// A control that writes every input it gets into a shared log, as
// "name op x y flags" lines, so that a test can compare whole sequences.
class CProbe : public CCtrl
{
public:
    CProbe(CWin* window, std::vector<std::string>* log, const char* tag, int32_t x, int32_t y, int32_t width,
           int32_t height)
        : CCtrl(window), log(log), tag(tag)
    {
        this->x = x;
        this->y = y;
        this->width = width;
        this->height = height;
    }

    void MouseDown(int32_t px, int32_t py, int32_t flags) override { Note("down", px, py, flags); }
    void MouseMove(int32_t px, int32_t py, int32_t flags) override { Note("move", px, py, flags); }
    void MouseUp(int32_t px, int32_t py, int32_t flags) override { Note("up", px, py, flags); }
    bool KeyDown(int32_t key, int32_t mods) override
    {
        Note("key", key, mods, 0);
        return handlesKeys;
    }
    void Focus(bool gained) override { Note(gained ? "focus" : "blur", 0, 0, 0); }
    bool Wheel(int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t) override
    {
        Note("wheel", px, py, delta);
        (void)flags;
        return handlesWheel;
    }
    void Timer() override { Note("timer", 0, 0, 0); }

    void Note(const char* op, int32_t a, int32_t b, int32_t c)
    {
        log->push_back(tag + " " + op + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c));
    }

    std::vector<std::string>* log;
    std::string tag;
    bool handlesKeys = true;
    bool handlesWheel = true;
};

// A software screen, an application on it, and a way to deliver what is queued.
class WindowTestKit
{
public:
    WindowTestKit() : app(&screen) {}
    // Deletes the windows given to Own, newest first, while the application lives.
    ~WindowTestKit()
    {
        for (auto it = owned.rbegin(); it != owned.rend(); ++it)
            delete *it;
    }

    template <class W>
    W* Own(W* win)
    {
        owned.push_back(win);
        return win;
    }

    // Dispatches every message due now (no idle ticks).
    void Pump()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }

    // A press and release at one screen point.
    void Click(int32_t x, int32_t y, int32_t button = kMouseLeft)
    {
        screen.Press(x, y, button);
        screen.Release(x, y, button);
    }

    // A borderless window at (x, y) whose client area is one probe tagged
    // like the window; shown, activated unless the style says otherwise.
    CWin* Open(uint32_t style, const char* tag, int32_t x, int32_t y, int32_t width, int32_t height)
    {
        CWin* win = new CWin(&app, nullptr, style | kWinNoBorder, tag, x, y, width, height);
        probe = AddProbe(win, tag, 0, 0, width, height);
        win->Show((style & kWinNoActivate) == 0);
        Pump();
        log.clear();
        return win;
    }

    // A probe at (x, y) in parent that writes to the shared log.
    CProbe* AddProbe(CGroup* parent, const char* tag, int32_t x, int32_t y, int32_t width, int32_t height)
    {
        CProbe* p = new CProbe(parent->window, &log, tag, x, y, width, height);
        parent->AddChild(p);
        return p;
    }

    CSoftScreen screen;
    CApp app;
    std::vector<std::string> log;
    CProbe* probe = nullptr;  // the last window's
    std::vector<CWin*> owned;
};

// Closes the window of the control that calls it, from inside its handler.
struct CCloser
{
    void Down(CCtrl* sender, int32_t, int32_t, int32_t) { sender->window->Close(); }
};
