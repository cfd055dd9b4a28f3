#include "host/CEditorHosting.h"

#include "editor/CEditorFactory.h"
#include "editor/CPluginWin.h"
#include "editor/CSynthEditorFactory.h"
#include "gui/core/CApp.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/platform/InputCodes.h"
#include "host/CVST24Plugin.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{
// A control at client (10, 10) of the editor. A press runs the host's
// action straight from the handling of the message when there is one, else
// it asks a question in a modal loop; then it reads its window.
class CHostActionCtrl : public CCtrl
{
public:
    CHostActionCtrl(CWin* window, const std::function<void()>* hostAction, std::vector<std::string>* log)
        : CCtrl(window), hostAction(hostAction), log(log)
    {
    }

    void MouseDown(int32_t, int32_t, int32_t) override
    {
        CWin* win = window;
        std::string what = "direct";
        if (*hostAction)
            (*hostAction)();
        else
            what = "ask " + std::to_string(Ask(win, "Overwrite bank", "Are you sure?", kPromptOk | kPromptCancel));
        // This control's own state: freed if the close had not waited.
        log->push_back(what + " visible " + std::to_string(win->visible) + " loops " +
                       std::to_string(win->app->loopDepth) + " depth " + std::to_string(win->app->frameDepth));
    }

    const std::function<void()>* hostAction;
    std::vector<std::string>* log;
};

// Editor windows of the editor's size, counted, each with a host action
// control.
class CCountingFactory : public CEditorFactory
{
public:
    CPluginWin* CreateEditor(CApp* app) override
    {
        ++created;
        if (refuse)
            return nullptr;
        auto* window = new CPluginWin(app, nullptr, 0, "editor", 0, 0, CEditorHosting::kEditorWidth,
                                      CEditorHosting::kEditorHeight);
        window->AddChildAt(new CHostActionCtrl(window, &hostAction, &log), 10, 10, 100, 20);
        return window;
    }

    int32_t created = 0;
    bool refuse = false;
    std::function<void()> hostAction;
    std::vector<std::string> log;
};

// The software screen with the host's window on it.
class CHostWindowTest : public ::testing::Test
{
protected:
    explicit CHostWindowTest(Rect place) : host(screen.Create(0, false, false, place, nullptr))
    {
        screen.Show(host, true);
    }
    // The host's own message loop: delivers what is due, to our loops too.
    void HostLoop()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    void* HostHandle() { return reinterpret_cast<void*>(host); }

    CSoftScreen screen;
    SysWindow host;
};

class CEditorHostingTest : public CHostWindowTest
{
protected:
    CEditorHostingTest() : CHostWindowTest(Rect{100, 50, 1100, 550}), editor(&core, nullptr, &screen) {}
    ~CEditorHostingTest() override { editor.Close(); }

    CWin* Window() { return editor.Window(); }

    CCountingFactory core;
    CEditorHosting editor;
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

// An editor that cannot be made leaves nothing open; a second open makes
// nothing new; a close removes everything and a second close or an idle
// after it touches nothing.
TEST_F(CEditorHostingTest, OpenCloseAndOpenAgain)
{
    core.refuse = true;
    EXPECT_EQ(editor.Open(HostHandle()), 0);
    EXPECT_EQ(editor.Window(), nullptr);
    EXPECT_EQ(editor.App(), nullptr);
    core.refuse = false;
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    CPluginWin* window = editor.Window();
    EXPECT_EQ(editor.Open(HostHandle()), 1);
    EXPECT_EQ(editor.Window(), window);
    EXPECT_EQ(screen.ZOrder().size(), 2u);

    EXPECT_EQ(editor.Close(), 0);
    EXPECT_EQ(editor.Window(), nullptr);
    EXPECT_EQ(editor.App(), nullptr);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
    EXPECT_EQ(editor.Close(), 0);
    EXPECT_EQ(editor.Idle(), 0);

    EXPECT_EQ(editor.Open(HostHandle()), 1);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(core.created, 3);
    EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
}

// Without any loop, the handler that delivered the host's close still runs
// on the window: it goes at the next idle.
TEST_F(CEditorHostingTest, CloseFromTheHandlingOfAMessageWaitsForItToReturn)
{
    core.hostAction = [this] { EXPECT_EQ(editor.Close(), 0); };
    editor.Open(HostHandle());
    screen.Press(120, 70, kMouseLeft);
    HostLoop();
    EXPECT_EQ(core.log, std::vector<std::string>{"direct visible 0 loops 0 depth 1"});
    EXPECT_TRUE(editor.ClosePending());
    EXPECT_EQ(screen.ZOrder().size(), 2u);
    editor.Idle();
    EXPECT_FALSE(editor.ClosePending());
    EXPECT_EQ(editor.App(), nullptr);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
}

// Hosts that reopen the editor may close and open it in one go: from inside
// a loop, the open takes the hidden editor back and nothing is deleted.
TEST_F(CEditorHostingTest, OpenInsideTheLoopAfterACloseKeepsTheEditor)
{
    editor.Open(HostHandle());
    CPluginWin* window = editor.Window();
    screen.Press(120, 70, kMouseLeft);
    screen.At(screen.Time() + 500);
    screen.HostMessage(
        [this]
        {
            EXPECT_EQ(editor.Close(), 0);
            EXPECT_EQ(editor.Open(HostHandle()), 1);
        });
    HostLoop();
    editor.Idle();
    EXPECT_EQ(core.log, std::vector<std::string>{"ask 2 visible 1 loops 0 depth 1"});
    EXPECT_FALSE(editor.ClosePending());
    EXPECT_EQ(editor.Window(), window);
    EXPECT_EQ(core.created, 1);
    EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
    // Loops run again once the outermost has returned: Enter answers OK.
    screen.Press(120, 70, kMouseLeft);
    screen.Key(kKeyEnter);
    HostLoop();
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

// The whole plug-in as a host holds it: the adapter around the synthesizer,
// its editor on the software screen inside the host's window, which sits at
// the screen's origin so that editor and screen coordinates agree.
class CPluginClosedInLoopTest : public CHostWindowTest
{
protected:
    CPluginClosedInLoopTest() : CHostWindowTest(Rect{0, 0, 1000, 500}) {}

    // A fresh plug-in with its editor open, on the sound editor or on the program browser.
    void Start(bool browser)
    {
        synthsDeleted = 0;
        auto* synth = new CCountedSynth(&synthsDeleted);
        auto* factory = new CSynthEditorFactory(*synth);
        CVST24Plugin* plugin = CVST24Plugin::Create(QuietHost, synth, factory);
        ASSERT_NE(plugin, nullptr);
        plugin->Editor().UseSystem(&screen);
        effect = plugin->getAeffect();
        if (browser)
            factory->View().pagesShown = CSynthResources::kPageView;
        editor = &plugin->Editor();
        ASSERT_EQ(Dispatch(effEditOpen, HostHandle()), 1);
        Dispatch(effEditIdle);
        HostLoop();
    }
    intptr_t Dispatch(int32_t opcode, void* ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.0f);
    }
    std::vector<uint8_t> BankChunk()
    {
        uint8_t* data = nullptr;
        const intptr_t size = effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f);
        return std::vector<uint8_t>(data, data + size);
    }

    CEditorHosting* editor = nullptr;  // the plug-in's
    AEffect* effect = nullptr;
    int32_t synthsDeleted = 0;
};

// The host closes the editor, the plug-in, or both while one of our loops
// runs (the first wave knob's menu, or the browser menu's "Clear all presets"
// asking before overwriting the bank), from a message of its own that our
// loop delivers. The plug-in is still whole when the host's calls return; a
// closed editor has changed nothing, goes at the next idle and opens again.
TEST_F(CPluginClosedInLoopTest, WithAMenuOrDialogOpen)
{
    for (bool browser : {false, true})
    {
        for (int32_t how : {1, 2, 3})  // bits: close the editor, then the plug-in
        {
            SCOPED_TRACE(std::to_string(browser) + " " + std::to_string(how));
            Start(browser);
            const std::vector<uint8_t> bank = BankChunk();
            screen.Advance(500);
            screen.Press(browser ? 300 : 44, browser ? 200 : 64, kMouseRight);
            screen.Release(browser ? 300 : 44, browser ? 200 : 64, kMouseRight);
            if (browser)
            {
                screen.Move(330, 233);
                screen.Press(330, 233, kMouseLeft);
                screen.Release(330, 233, kMouseLeft);
            }
            int32_t deletedInHostCall = -1;
            bool pendingInHostCall = false;
            screen.At(screen.Time() + 500);
            screen.HostMessage(
                [&]
                {
                    if (how & 1)
                        Dispatch(effEditClose);
                    if (how & 2)
                        Dispatch(effClose);
                    deletedInHostCall = synthsDeleted;
                    pendingInHostCall = editor->ClosePending();
                });
            HostLoop();
            EXPECT_EQ(deletedInHostCall, 0);
            EXPECT_TRUE(pendingInHostCall);
            EXPECT_FALSE(screen.Exhausted());
            if (how == 1)
            {
                EXPECT_EQ(BankChunk(), bank);
                EXPECT_EQ(synthsDeleted, 0);
                Dispatch(effEditIdle);
                EXPECT_EQ(editor->App(), nullptr);
                EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
                EXPECT_EQ(Dispatch(effEditOpen, HostHandle()), 1);
                EXPECT_EQ(screen.ZOrder().size(), 2u);
                Dispatch(effClose);
            }
            EXPECT_EQ(synthsDeleted, 1);
            EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
        }
    }
}
}
