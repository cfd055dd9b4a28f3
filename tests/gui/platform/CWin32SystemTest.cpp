// The toolkit's windows on the real window system: messages posted to real
// windows of the toolkit's class go through the win32 translation, the
// toolkit's procedure and its loops. Built only for Windows (run under wine).
#include "gui/platform/CWin32System.h"

#include "../core/WindowTestKit.h"
#include "gui/core/InputCodes.h"

#include <gtest/gtest.h>

namespace
{

class CWin32SystemTest : public ::testing::Test
{
protected:
    CWin32SystemTest() : system(BuildWindowSystem()) {}

    void Pump()
    {
        Message m;
        while (system->Peek(m))
            system->Dispatch(m);
    }

    CWin* Open(uint32_t style, int32_t x, const char* tag)
    {
        CWin* win = new CWin(&app, nullptr, style | kWinNoBorder, tag, x, 0, 200, 150);
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
    std::vector<std::string> log;
};

TEST_F(CWin32SystemTest, WindowsAreOfTheToolkitClassAndKnowTheirObject)
{
    CWin* win = Open(0, 0, "w");
    char name[32] = {};
    GetClassNameA(reinterpret_cast<HWND>(win->hwnd), name, sizeof name);
    EXPECT_STREQ(name, "pluginwinclass");
    EXPECT_EQ(system->UserData(win->hwnd), win);
    EXPECT_EQ(system->UserData(reinterpret_cast<SysWindow>(GetDesktopWindow())), nullptr);
    delete win;
}

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

TEST_F(CWin32SystemTest, APressOutsideThePopupClosesItAndReachesTheClickedWindow)
{
    CWin* main = Open(kWinNoActivate, 0, "main");
    CWin* popup = Open(kWinNoActivate, 400, "pop");
    popup->Close();
    Post(main, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    Post(main, WM_LBUTTONUP, 0, 10, 10);
    popup->RunPopup();
    EXPECT_FALSE(popup->visible);
    EXPECT_EQ(app.topPopup, nullptr);
    EXPECT_EQ(WithoutMoves(), (std::vector<std::string>{"main down 10 10 1"}));
    Pump();
    delete popup;
    delete main;
}

TEST_F(CWin32SystemTest, HidingThePopupFromItsOwnHandlerEndsItsLoop)
{
    struct Closer
    {
        void Down(CCtrl* sender, int32_t, int32_t, int32_t) { sender->window->Close(); }
    } closer;
    CWin* main = Open(kWinNoActivate, 0, "main");
    CWin* popup = Open(kWinNoActivate, 400, "pop");
    popup->Close();
    popup->DeleteChildren();
    CCtrl* item = new CCtrl(popup);
    item->width = 100;
    item->height = 100;
    item->OnMouseDown = new _COnMouse<Closer>(&closer, &Closer::Down);
    popup->AddChild(item);
    Post(popup, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
    Post(main, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    popup->RunPopup();
    EXPECT_FALSE(popup->visible);
    EXPECT_TRUE(log.empty());
    Pump();
    EXPECT_EQ(WithoutMoves(), (std::vector<std::string>{"main down 10 10 1"}));
    delete popup;
    delete main;
}

TEST_F(CWin32SystemTest, ModalLoopTakesEscapeFromAnyWindowAndDropsOtherPresses)
{
    CWin* main = Open(kWinNoActivate, 0, "main");
    CWin* dialog = new CWin(&app, nullptr, kWinNoBorder | kWinNoActivate | kWinEscapeCloses, "d", 400, 0, 100, 100);
    Post(main, WM_LBUTTONDOWN, MK_LBUTTON, 10, 10);
    PostMessageA(reinterpret_cast<HWND>(main->hwnd), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    dialog->RunModal();
    EXPECT_FALSE(dialog->visible);
    EXPECT_TRUE(log.empty());
    delete dialog;
    delete main;
}

} // namespace
