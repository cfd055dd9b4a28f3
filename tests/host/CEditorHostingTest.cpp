#include "host/CEditorHosting.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/platform/CSoftScreen.h"
#include "host/CPluginBase.h"

#include <gtest/gtest.h>

namespace
{
// A core whose editor is a plain window of the editor's size, counted.
class EditorCore : public CPluginBase
{
public:
    CObject* CreateEditor() override
    {
        ++created;
        appWhenCreated = editorApp;
        CApp* app = dynamic_cast<CApp*>(editorApp);
        if (refuse || !app)
            return nullptr;
        return new CWin(app, nullptr, 0, "editor", 0, 0, CEditorHosting::kEditorWidth,
                        CEditorHosting::kEditorHeight);
    }
    void Idle() override { ++idles; }

    int32_t created = 0;
    int32_t idles = 0;
    bool refuse = false;
    CObject* appWhenCreated = nullptr;
};

class CEditorHostingTest : public ::testing::Test
{
protected:
    CEditorHostingTest() : editor(&screen)
    {
        host = screen.Create(0, false, false, Rect{100, 50, 1100, 550}, nullptr);
        screen.Show(host, true);
    }
    ~CEditorHostingTest() override { editor.Close(core); }

    CWin* Window() { return dynamic_cast<CWin*>(core.editorWindow); }
    void* HostHandle() { return reinterpret_cast<void*>(host); }

    CSoftScreen screen;
    CEditorHosting editor;
    EditorCore core;
    SysWindow host = 0;
};

TEST_F(CEditorHostingTest, RectIsTheEditorSizeEvenBeforeOpening)
{
    EXPECT_EQ(editor.Rect().bottom, 100);
    ERect* rect = nullptr;
    EXPECT_EQ(editor.GetRect(&rect), 1);
    ASSERT_EQ(rect, &editor.Rect());
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 376);
    EXPECT_EQ(rect->right, 824);
    EXPECT_EQ(editor.GetRect(nullptr), 0);
    EXPECT_EQ(core.created, 0);
}

TEST_F(CEditorHostingTest, OpenEmbedsAShownWindowInTheHostsWindow)
{
    EXPECT_EQ(editor.Open(core, HostHandle()), 1);
    CWin* window = Window();
    ASSERT_NE(window, nullptr);
    CApp* app = dynamic_cast<CApp*>(core.editorApp);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(core.appWhenCreated, app);
    EXPECT_EQ(app->system, &screen);
    EXPECT_EQ(app->mainWindow, window);
    EXPECT_TRUE(window->style & kWinEmbedded);
    EXPECT_TRUE(window->visible);
    EXPECT_TRUE(screen.IsVisible(window->hwnd));
    // At the top-left corner of the host's client area, at the editor's size.
    EXPECT_EQ(screen.ScreenRect(window->hwnd), (Rect{100, 50, 924, 426}));
    EXPECT_EQ(screen.ParentRect(window->hwnd), (Rect{0, 0, 824, 376}));
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
        EXPECT_EQ(editor.Open(core, parent), 1);
        ASSERT_NE(Window(), nullptr);
        EXPECT_FALSE(Window()->style & kWinEmbedded);
        EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
        EXPECT_EQ(screen.ParentRect(Window()->hwnd), (Rect{0, 0, 824, 376}));
        editor.Close(core);
    }
}

TEST_F(CEditorHostingTest, SecondOpenMakesNothingNew)
{
    editor.Open(core, HostHandle());
    CObject* window = core.editorWindow;
    CObject* app = core.editorApp;
    const size_t windows = screen.ZOrder().size();
    EXPECT_EQ(editor.Open(core, HostHandle()), 1);
    EXPECT_EQ(core.editorWindow, window);
    EXPECT_EQ(core.editorApp, app);
    EXPECT_EQ(core.created, 1);
    EXPECT_EQ(screen.ZOrder().size(), windows);
}

TEST_F(CEditorHostingTest, CloseRemovesTheWindowAndForgetsBoth)
{
    editor.Open(core, HostHandle());
    EXPECT_EQ(screen.ZOrder().size(), 2u);
    EXPECT_EQ(editor.Close(core), 0);
    EXPECT_EQ(core.editorWindow, nullptr);
    EXPECT_EQ(core.editorApp, nullptr);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
    // A second close, and idles after it, touch nothing.
    EXPECT_EQ(editor.Close(core), 0);
    EXPECT_EQ(editor.Idle(core), 0);
    EXPECT_EQ(core.idles, 1);
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
}

TEST_F(CEditorHostingTest, ReopeningBuildsAFreshWindow)
{
    editor.Open(core, HostHandle());
    editor.Close(core);
    EXPECT_EQ(editor.Open(core, HostHandle()), 1);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(core.created, 2);
    EXPECT_TRUE(screen.IsVisible(Window()->hwnd));
    EXPECT_EQ(screen.ZOrder().size(), 2u);
}

TEST_F(CEditorHostingTest, AnEditorThatCannotBeMadeLeavesNothingOpen)
{
    core.refuse = true;
    EXPECT_EQ(editor.Open(core, HostHandle()), 0);
    EXPECT_EQ(core.editorWindow, nullptr);
    EXPECT_EQ(core.editorApp, nullptr);
    core.refuse = false;
    EXPECT_EQ(editor.Open(core, HostHandle()), 1);
    EXPECT_EQ(core.created, 2);
}

TEST_F(CEditorHostingTest, IdleReachesTheCoreBeforeAndAfterOpening)
{
    EXPECT_EQ(editor.Idle(core), 0);
    editor.Open(core, HostHandle());
    EXPECT_EQ(editor.Idle(core), 0);
    EXPECT_EQ(core.idles, 2);
}

TEST_F(CEditorHostingTest, DestroyingTheCoreWithTheEditorOpenDeletesTheWindow)
{
    EditorCore* doomed = new EditorCore;
    editor.Open(*doomed, HostHandle());
    CObject* app = doomed->editorApp;
    delete doomed;
    EXPECT_EQ(screen.ZOrder(), std::vector<SysWindow>{host});
    delete app;
}
}
