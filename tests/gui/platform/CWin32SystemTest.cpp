// The toolkit's windows on the real window system: messages posted to real
// windows of the toolkit's class go through the win32 translation and the
// toolkit's procedure. What the loops do with them is proven on the software
// screen; here only what the real system adds. Built only for Windows (run
// under wine).
#include "gui/platform/CWin32System.h"

#include "../core/WindowTestKit.h"
#include "gui/platform/InputCodes.h"

#include <cstring>
#include <gtest/gtest.h>
#include <shlobj.h>

namespace
{

// No scenario may wait for ever on a message that never comes: after this
// long in the toolkit's loops the watchdog ends them and the test fails.
constexpr int32_t kWatchdogMs = 3000;
// Pump gives up after this many messages (a window that keeps posting to itself).
constexpr int kMaxPumped = 10000;

// Ends the loops of a scenario that went wrong: closes every popup and the
// window whose loop runs, and remembers that it had to.
class CWatchdog : public CCtrl
{
public:
    explicit CWatchdog(CApp* app) : CCtrl(nullptr), app(app) {}
    void Timer() override
    {
        fired = true;
        app->ClosePopups(nullptr);
        if (running != nullptr)
            running->Close();
    }
    CApp* app;
    CWin* running = nullptr;
    bool fired = false;
};

class CWin32SystemTest : public ::testing::Test
{
protected:
    CWin32SystemTest() : system(BuildWindowSystem()), watchdog(&app) { app.StartTimer(&watchdog, kWatchdogMs, false); }
    void TearDown() override
    {
        app.StopTimer(&watchdog);
        EXPECT_FALSE(watchdog.fired) << "a loop waited for a message that never came";
    }

    void Pump()
    {
        Message m;
        for (int i = 0; i < kMaxPumped && system->Peek(m); ++i)
            system->Dispatch(m);
    }

    CWin* Open(uint32_t style, int32_t x, const char* tag)
    {
        CWin* win = new CWin(&app, nullptr, style | kWinNoBorder, tag, x, 0, 200, 150);
        // A window the system refused ends the scenario here, not in a loop.
        EXPECT_NE(win->hwnd, 0u) << "no system window for " << tag;
        CProbe* probe = new CProbe(win, &log, tag, 0, 0, 200, 150);
        win->AddChild(probe);
        win->SetFocusCtrl(probe);
        win->Show(false);
        Pump();
        log.clear();
        return win;
    }

    // The system adds moves of its own when the capture changes: the
    // scenarios compare everything else.
    std::vector<std::string> WithoutMoves() const
    {
        std::vector<std::string> kept;
        for (const std::string& line : log)
            if (line.find(" move ") == std::string::npos)
                kept.push_back(line);
        return kept;
    }

    static void Post(CWin* win, UINT message, WPARAM wParam, int32_t x, int32_t y)
    {
        PostMessageA(reinterpret_cast<HWND>(win->hwnd), message, wParam, MAKELPARAM(x, y));
    }

    CWindowSystem* system;
    CApp app;
    CWatchdog watchdog;
    std::vector<std::string> log;
};

TEST_F(CWin32SystemTest, PostedPressesMakeOneDoubleClickAndASingleThird)
{
    CWin* win = Open(kWinNoActivate, 0, "p");
    Post(win, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    Post(win, WM_LBUTTONUP, 0, 10, 10);
    Post(win, WM_LBUTTONDOWN, MK_LBUTTON, 17, 17);
    Post(win, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, 17, 17);
    Post(win, WM_LBUTTONDOWN, MK_LBUTTON, 25, 17);
    Pump();
    const std::vector<std::string> expected{"p down 10 10 1", "p up 10 10 1", "p down 17 17 9", "p down 17 17 17",
                                            "p down 25 17 1"};
    EXPECT_EQ(WithoutMoves(), expected);
    delete win;
}

TEST_F(CWin32SystemTest, KeysAreTranslatedAndACharacterlessKeyIsDropped)
{
    CWin* win = Open(kWinNoActivate, 0, "k");
    // Caps Lock has no character; 'A' without Shift is 'a'; Home is special.
    PostMessageA(reinterpret_cast<HWND>(win->hwnd), WM_KEYDOWN, VK_CAPITAL, 0x003A0001);
    PostMessageA(reinterpret_cast<HWND>(win->hwnd), WM_KEYDOWN, 'A', 0x001E0001);
    PostMessageA(reinterpret_cast<HWND>(win->hwnd), WM_KEYDOWN, VK_HOME, 0x01470001);
    Pump();
    const std::vector<std::string> expected{"k key 97 0 0", "k key -1 0 0"};
    EXPECT_EQ(log, expected);
    delete win;
}

// The plug-in around an application of its own: a host closing it asks the
// loops to end, and it goes (windows and application) once the outermost
// handling of a system message has returned.
class CClosingPlugin : public CFrameWatcher
{
public:
    void RequestClose()
    {
        requested = true;
        app->EndLoops();
    }
    void Entered() override {}
    void Left() override
    {
        if (!requested)
            return;
        requested = false;
        delete popup;
        delete main;
        delete app;
        deleted = true;
    }

    CApp* app = nullptr;
    CWin* main = nullptr;
    CWin* popup = nullptr;
    bool requested = false;
    bool deleted = false;
};

// A window of the host's own class: WM_USER closes the plug-in in lParam.
LRESULT CALLBACK HostProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_USER)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    reinterpret_cast<CClosingPlugin*>(lParam)->RequestClose();
    return 0;
}

TEST_F(CWin32SystemTest, ClosedFromAHostMessageInsideALoopItGoesAfterTheOutermostHandling)
{
    struct Opener
    {
        void Down(CCtrl* sender, int32_t, int32_t, int32_t)
        {
            PostMessageA(host, WM_USER, 0, reinterpret_cast<LPARAM>(plugin));
            plugin->popup->RunPopup();
            // The window running this handler is alive: read it.
            log->push_back(std::string("loop returned, depth ") + std::to_string(sender->window->app->frameDepth) +
                           (plugin->deleted ? " deleted" : " alive"));
        }
        HWND host;
        CClosingPlugin* plugin;
        std::vector<std::string>* log;
    };
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = &HostProcedure;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = "velmorahostclass";
    RegisterClassA(&hostClass);
    HWND host = CreateWindowA("velmorahostclass", "host", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, hostClass.hInstance,
                              nullptr);
    ASSERT_NE(host, nullptr);
    CClosingPlugin plugin;
    plugin.app = new CApp(system);
    plugin.app->frameWatcher = &plugin;
    CWatchdog dog(plugin.app);
    plugin.app->StartTimer(&dog, kWatchdogMs, false);
    plugin.main = new CWin(plugin.app, nullptr, kWinNoBorder | kWinNoActivate, "main", 0, 0, 200, 150);
    plugin.popup = new CWin(plugin.app, nullptr, kWinNoBorder | kWinNoActivate, "pop", 400, 0, 100, 100);
    Opener opener{host, &plugin, &log};
    CCtrl* button = new CCtrl(plugin.main);
    button->width = 200;
    button->height = 150;
    button->OnMouseDown = new _COnMouse<Opener>(&opener, &Opener::Down);
    plugin.main->AddChild(button);
    plugin.main->Show(false);
    const HWND mainWindow = reinterpret_cast<HWND>(plugin.main->hwnd);
    Pump();
    Post(plugin.main, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    Pump();
    EXPECT_EQ(log, std::vector<std::string>{"loop returned, depth 1 alive"});
    EXPECT_TRUE(plugin.deleted);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(dog.fired);
    DestroyWindow(host);
}

TEST_F(CWin32SystemTest, WheelGoesToTheToolkitWindowUnderTheCursor)
{
    CWin* a = Open(kWinNoActivate, 0, "a");
    CWin* b = Open(kWinNoActivate, 300, "b");
    // Screen point (330, 40) lies in b; the message arrives at a.
    PostMessageA(reinterpret_cast<HWND>(a->hwnd), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)),
                 MAKELPARAM(330, 40));
    Pump();
    EXPECT_EQ(WithoutMoves(), (std::vector<std::string>{"b wheel 30 40 -240"}));
    delete b;
    delete a;
}

TEST_F(CWin32SystemTest, DroppedFilesArriveWithTheirPointAndLongNamesAreCut)
{
    struct Owner
    {
        void Dropped(CCtrl*, int32_t px, int32_t py, int32_t)
        {
            at = std::to_string(px) + "," + std::to_string(py);
            for (int i = 0; i < app->dropItems->Count(); ++i)
                names.push_back(static_cast<CObject*>(app->dropItems->Get(i))->Name());
        }
        CApp* app;
        std::string at;
        std::vector<std::string> names;
    } owner{&app, "", {}};
    CWin* win = Open(kWinNoActivate, 0, "w");
    win->OnDrop = new _COnMouse<Owner>(&owner, &Owner::Dropped);
    // The shell's drop block: the header, then each name with its terminator, then one more.
    const std::string shortName = "C:\\bass.fxp";
    const std::string longName(300, 'x');
    const size_t bytes = sizeof(DROPFILES) + shortName.size() + 1 + longName.size() + 1 + 1;
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    ASSERT_NE(block, nullptr);
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->pt.x = 15;
    files->pt.y = 20;
    char* names = reinterpret_cast<char*>(files + 1);
    std::memcpy(names, shortName.c_str(), shortName.size() + 1);
    std::memcpy(names + shortName.size() + 1, longName.c_str(), longName.size() + 1);
    GlobalUnlock(block);
    // The probe has no drop binder: the window's own takes it.
    PostMessageA(reinterpret_cast<HWND>(win->hwnd), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    Pump();
    EXPECT_EQ(owner.at, "15,20");
    EXPECT_EQ(owner.names, (std::vector<std::string>{shortName, std::string(260, 'x')}));
    EXPECT_EQ(app.dropItems, nullptr);
    delete win;
}

}  // namespace
