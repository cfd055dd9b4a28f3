#include "host/CEditorHosting.h"

#include "editor/CEditorFactory.h"
#include "editor/CPluginWin.h"
#include "editor/CSynthEditorFactory.h"
#include "gui/core/CApp.h"
#include "gui/core/InputCodes.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/CSoftScreen.h"
#include "host/CVST24Plugin.h"
#include "support/TempDir.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{
// The editor's window, counting its idles and deletions.
class CountedWin : public CPluginWin
{
public:
    CountedWin(CApp* app, int32_t* idles, int32_t* deleted)
        : CPluginWin(app, nullptr, 0, "editor", 0, 0, CEditorHosting::kEditorWidth, CEditorHosting::kEditorHeight),
          idles(idles), deleted(deleted)
    {
    }
    ~CountedWin() override { ++*deleted; }
    void Idle() override { ++*idles; }

    int32_t* idles;
    int32_t* deleted;
};

// A control at client (10, 10) of the editor whose press runs the host's
// action: straight from the handling of the message, or (modal) from a timer
// that fires inside the confirmation the press starts, standing for a message
// of the host's arriving in that loop. It then reads its window.
class CHostActionCtrl : public CCtrl
{
public:
    CHostActionCtrl(CWin* window, bool modal, std::function<void()> hostAction, std::vector<std::string>* log)
        : CCtrl(window), modal(modal), hostAction(std::move(hostAction)), log(log)
    {
        x = 10;
        y = 10;
        width = 100;
        height = 20;
    }

    void MouseDown(int32_t, int32_t, int32_t) override
    {
        CWin* win = window;
        std::string answer;
        if (modal)
        {
            win->app->StartTimer(this, 30, false);
            answer = "ask " + std::to_string(Ask(win, "Overwrite bank", "Are you sure?", kPromptOk | kPromptCancel));
        }
        else
            hostAction();
        // This control's own state: freed if the close had not waited.
        log->push_back(answer + " visible " + std::to_string(win->visible) + " loops " +
                       std::to_string(win->app->loopDepth) + " depth " + std::to_string(win->app->frameDepth));
    }
    void Timer() override
    {
        log->push_back("host");
        hostAction();
    }

    bool modal;
    std::function<void()> hostAction;
    std::vector<std::string>* log;
};

// Editor windows that are plain windows of the editor's size, counted; with
// a host action they carry a control that runs it.
class CountingFactory : public CEditorFactory
{
public:
    CPluginWin* CreateEditor(CApp* app) override
    {
        ++created;
        if (refuse)
            return nullptr;
        CPluginWin* window = new CountedWin(app, &idles, &windowsDeleted);
        if (hostAction)
            window->AddChild(new CHostActionCtrl(window, modal, hostAction, &log));
        return window;
    }

    int32_t created = 0;
    int32_t idles = 0;
    int32_t windowsDeleted = 0;
    bool refuse = false;
    bool modal = false;
    std::function<void()> hostAction;
    std::vector<std::string> log;
};

class CEditorHostingTest : public ::testing::Test
{
protected:
    CEditorHostingTest() : editor(&core, nullptr, &screen)
    {
        host = screen.Create(0, false, false, Rect{100, 50, 1100, 550}, nullptr);
        screen.Show(host, true);
    }
    ~CEditorHostingTest() override { editor.Close(); }

    CWin* Window() { return editor.Window(); }
    // The host's own message loop: delivers what is queued, to our loops too.
    void HostLoop()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    void* HostHandle() { return reinterpret_cast<void*>(host); }

    CSoftScreen screen;
    CountingFactory core;
    CEditorHosting editor;
    SysWindow host = 0;
};

TEST_F(CEditorHostingTest, RectIsTheEditorSizeAndWithoutAFactoryThereIsNoEditor)
{
    CEditorHosting none(nullptr, nullptr, &screen);
    ERect* rect = nullptr;
    EXPECT_EQ(none.GetRect(&rect), 1);
    ASSERT_EQ(rect, &none.Rect());
    EXPECT_EQ((std::vector<int16_t>{rect->top, rect->left, rect->bottom, rect->right}),
              (std::vector<int16_t>{0, 0, 376, 824}));
    EXPECT_EQ(none.GetRect(nullptr), 0);
    EXPECT_EQ(none.Open(HostHandle()), 0);
    EXPECT_EQ(none.App(), nullptr);
    EXPECT_EQ(none.Idle(), 0);
}

TEST_F(CEditorHostingTest, OpenEmbedsAShownWindowInTheHostsWindow)
{
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    CWin* window = Window();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(editor.App(), nullptr);
    EXPECT_EQ(editor.App()->mainWindow, window);
    EXPECT_TRUE(window->style & kWinEmbedded);
    EXPECT_TRUE(screen.IsVisible(window->hwnd));
    // At the top-left corner of the host's client area, at the editor's size.
    EXPECT_EQ(screen.ScreenRect(window->hwnd), (Rect{100, 50, 924, 426}));
    EXPECT_EQ(screen.WindowAt(150, 100), window->hwnd);
    EXPECT_EQ(screen.WindowAt(1000, 100), host);
    // Hiding the host's window hides the editor with it.
    screen.Hide(host);
    EXPECT_FALSE(screen.IsVisible(window->hwnd));
}

TEST_F(CEditorHostingTest, WithoutAUsableParentTheEditorIsAWindowOfItsOwn)
{
    for (void* parent : {static_cast<void*>(nullptr), reinterpret_cast<void*>(uintptr_t{999})})
    {
        EXPECT_EQ(editor.Open(parent), 1);
        ASSERT_NE(Window(), nullptr);
        EXPECT_FALSE(Window()->style & kWinEmbedded);
        EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
        EXPECT_EQ(screen.ParentRect(Window()->hwnd), (Rect{0, 0, 824, 376}));
        editor.Close();
    }
}

// A second open makes nothing new; idles reach an open window only; a
// close removes everything and a second close touches nothing.
TEST_F(CEditorHostingTest, OpenIdleCloseAndOpenAgain)
{
    EXPECT_EQ(editor.Idle(), 0);
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    CPluginWin* window = editor.Window();
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    EXPECT_EQ(editor.Window(), window);
    EXPECT_EQ(screen.ZOrder().size(), 2u);
    EXPECT_EQ(editor.Idle(), 0);
    EXPECT_EQ(core.idles, 1);

    EXPECT_EQ(editor.Close(), 0);
    EXPECT_EQ(core.windowsDeleted, 1);
    EXPECT_EQ(editor.Window(), nullptr);
    EXPECT_EQ(editor.App(), nullptr);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
    EXPECT_EQ(editor.Close(), 0);
    EXPECT_EQ(editor.Idle(), 0);
    EXPECT_EQ(core.idles, 1);
    EXPECT_EQ(core.windowsDeleted, 1);

    EXPECT_EQ(editor.Open(HostHandle()), 1);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(core.created, 2);
    EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
}

TEST_F(CEditorHostingTest, AnEditorThatCannotBeMadeLeavesNothingOpen)
{
    core.refuse = true;
    EXPECT_EQ(editor.Open(HostHandle()), 0);
    EXPECT_EQ(editor.Window(), nullptr);
    EXPECT_EQ(editor.App(), nullptr);
    core.refuse = false;
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    EXPECT_EQ(core.created, 2);
}

TEST_F(CEditorHostingTest, DestroyingTheHostingWithTheEditorOpenDeletesTheWindow)
{
    auto* doomed = new CEditorHosting(&core, nullptr, &screen);
    doomed->Open(HostHandle());
    delete doomed;
    EXPECT_EQ(core.windowsDeleted, 1);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
}

// Without any loop, the handler that delivered the host's close still runs
// on the window: it goes at the next idle.
TEST_F(CEditorHostingTest, CloseFromTheHandlingOfAMessageWaitsForItToReturn)
{
    core.hostAction = [this] { EXPECT_EQ(editor.Close(), 0); };
    editor.Open(HostHandle());
    screen.Press(120, 70, kMouseLeft);
    HostLoop();
    EXPECT_EQ(core.log, std::vector<std::string>{" visible 0 loops 0 depth 1"});
    EXPECT_TRUE(editor.ClosePending());
    EXPECT_EQ(core.windowsDeleted, 0);
    editor.Idle();
    EXPECT_FALSE(editor.ClosePending());
    EXPECT_EQ(core.windowsDeleted, 1);
    EXPECT_EQ(editor.App(), nullptr);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
}

// Hosts that reopen the editor may close and open it in one go: from inside
// a loop, the open takes the hidden editor back and nothing is deleted.
TEST_F(CEditorHostingTest, OpenInsideTheLoopAfterACloseKeepsTheEditor)
{
    core.hostAction = [this] {
        EXPECT_EQ(editor.Close(), 0);
        EXPECT_EQ(editor.Open(HostHandle()), 1);
    };
    core.modal = true;
    editor.Open(HostHandle());
    CPluginWin* window = editor.Window();
    screen.Press(120, 70, kMouseLeft);
    HostLoop();
    editor.Idle();
    EXPECT_EQ(core.log, (std::vector<std::string>{"host", "ask 2 visible 1 loops 0 depth 1"}));
    EXPECT_FALSE(editor.ClosePending());
    EXPECT_EQ(editor.Window(), window);
    EXPECT_EQ(core.windowsDeleted, 0);
    EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
    EXPECT_EQ(screen.ZOrder().size(), 2u);
    // Loops run again once the outermost has returned: Enter answers OK
    // before the host's message comes.
    screen.Press(120, 70, kMouseLeft);
    screen.Key(kKeyEnter);
    HostLoop();
    EXPECT_EQ(core.log.size(), 3u);
    EXPECT_EQ(core.log.back(), "ask 1 visible 1 loops 0 depth 1");
}

// The synthesizer, counting its deletions.
class CCountedSynth : public CSynth
{
public:
    explicit CCountedSynth(int32_t* deleted) : deleted(deleted) {}
    ~CCountedSynth() override { ++*deleted; }

    int32_t* deleted;
};

intptr_t QuietHost(AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
    return 0;
}

// What the host does when the project closes while one of our menus or
// dialogs runs: closes the editor, the plug-in, or the editor and then the
// plug-in, from a message of its own that our loop delivers.
enum class HostClose
{
    Editor,
    Plugin,
    EditorThenPlugin
};

// The whole plug-in as a host holds it: the adapter around the synthesizer,
// its editor on the software screen inside the host's window, which sits at
// the screen's origin so that editor and screen coordinates agree.
class CPluginClosedInLoopTest : public ::testing::Test
{
protected:
    CPluginClosedInLoopTest()
    {
        host = screen.Create(0, false, false, Rect{0, 0, 1000, 500}, nullptr);
        screen.Show(host, true);
    }
    ~CPluginClosedInLoopTest() override
    {
        if (effect && synthsDeleted == 0)
            Dispatch(effClose);
    }

    // A fresh plug-in with its editor open, on the sound editor or on the program browser.
    void Start(bool browser)
    {
        synthsDeleted = 0;
        synth = new CCountedSynth(&synthsDeleted);
        auto* factory = new CSynthEditorFactory(*synth);
        CVST24Plugin* plugin = CVST24Plugin::Create(QuietHost, synth, factory);
        ASSERT_NE(plugin, nullptr);
        plugin->Editor().UseSystem(&screen);
        effect = plugin->getAeffect();
        if (browser)
            factory->View().pagesShown = CSynthResources::kPageView;
        factory->View().fileFolder = folder.Path();
        editor = &plugin->Editor();
        ASSERT_EQ(Dispatch(effEditOpen, reinterpret_cast<void*>(host)), 1);
        Dispatch(effEditIdle);
        HostLoop();
    }
    intptr_t Dispatch(int32_t opcode, void* ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    }
    // The host's own message loop: delivers what is due, to our loops too.
    void HostLoop()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    void RightClick(int32_t x, int32_t y)
    {
        screen.Advance(500);
        screen.Press(x, y, kMouseRight);
        screen.Release(x, y, kMouseRight);
    }
    void LeftClick(int32_t x, int32_t y)
    {
        screen.Move(x, y);
        screen.Press(x, y, kMouseLeft);
        screen.Release(x, y, kMouseLeft);
    }
    // Scripts the host's close a moment after the input so far, while the
    // loop that input starts waits for more. The plug-in must still be
    // whole when the host's calls return.
    void CloseLater(HostClose how)
    {
        screen.At(screen.Time() + 500);
        screen.HostMessage([this, how] {
            if (how != HostClose::Plugin)
                Dispatch(effEditClose);
            if (how != HostClose::Editor)
                Dispatch(effClose);
            deletedInHostCall = synthsDeleted;
        });
    }
    // After the host's message loop: a closed plug-in has gone, editor and
    // all; a closed editor goes at the next idle and opens again.
    void ExpectClosed(HostClose how)
    {
        EXPECT_EQ(deletedInHostCall, 0);
        EXPECT_FALSE(screen.Exhausted());
        if (how == HostClose::Editor)
        {
            EXPECT_EQ(synthsDeleted, 0);
            Dispatch(effEditIdle);
            EXPECT_EQ(editor->Window(), nullptr);
            EXPECT_EQ(editor->App(), nullptr);
            EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
            EXPECT_EQ(Dispatch(effEditOpen, reinterpret_cast<void*>(host)), 1);
            EXPECT_EQ(screen.ZOrder().size(), 2u);
            Dispatch(effClose);
        }
        EXPECT_EQ(synthsDeleted, 1);
        EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
        effect = nullptr;
    }

    static constexpr HostClose kCloses[] = {HostClose::Editor, HostClose::Plugin, HostClose::EditorThenPlugin};

    TempDir folder;
    CSoftScreen screen;
    SysWindow host = 0;
    CCountedSynth* synth = nullptr; // owned by the plug-in
    CEditorHosting* editor = nullptr; // the plug-in's
    AEffect* effect = nullptr;
    int32_t synthsDeleted = 0;
    int32_t deletedInHostCall = -1;
};

// The first wave knob's menu (a right click on the knob) is open.
TEST_F(CPluginClosedInLoopTest, WithTheKnobMenuOpen)
{
    for (HostClose how : kCloses)
    {
        Start(false);
        const int32_t wave = synth->currentProgram->wave1;
        RightClick(44, 64);
        CloseLater(how);
        HostLoop();
        if (how == HostClose::Editor)
        {
            EXPECT_EQ(synth->currentProgram->wave1, wave);
        }
        ExpectClosed(how);
    }
}

// The browser menu's "Clear all presets" asks before overwriting the bank.
TEST_F(CPluginClosedInLoopTest, WithTheOverwriteBankQuestionOpen)
{
    for (HostClose how : kCloses)
    {
        Start(true);
        synth->programs[3].q = 0.123f;
        RightClick(300, 200);
        LeftClick(330, 233);
        CloseLater(how);
        HostLoop();
        if (how == HostClose::Editor)
        {
            EXPECT_EQ(synth->programs[3].q, 0.123f);
        }
        ExpectClosed(how);
    }
}

// The browser menu's "Save program..." runs the file browser.
TEST_F(CPluginClosedInLoopTest, WithTheFileBrowserOpen)
{
    const int32_t saveProgram = 200 + 2 + 5 * 16 + 2 * 7 + 8;
    for (HostClose how : kCloses)
    {
        Start(true);
        RightClick(300, 200);
        LeftClick(330, saveProgram);
        CloseLater(how);
        HostLoop();
        ExpectClosed(how);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}
}
