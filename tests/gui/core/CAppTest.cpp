#include "gui/core/CApp.h"

#include "WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

#include <utility>
#include <string>

namespace
{

class CAppTest : public ::testing::Test, public WindowTestKit
{
protected:
    CWin* MainWindow()
    {
        CWin* win = Own(Open(kWinEscapeCloses, "main", 0, 0, 300, 300));
        probe->handlesKeys = false;
        return win;
    }

    // Hidden, with its probe focused.
    CWin* Popup(int32_t x, const char* tag)
    {
        CWin* popup = Own(new CWin(&app, nullptr, kWinNoBorder | kWinNoActivate, tag, x, 0, 100, 100));
        CProbe* p = AddProbe(popup, tag, 0, 0, 100, 100);
        p->handlesKeys = false;
        popup->SetFocusCtrl(p);
        log.clear();
        return popup;
    }

    // As if the popup's own loop had shown it.
    void Opened(CWin* popup)
    {
        app.popupStack.Add(popup);
        app.topPopup = popup;
        popup->Show(false);
    }
};

TEST_F(CAppTest, RepeatingTimerFiresEveryPeriodInTenMillisecondTicks)
{
    CWin* win = MainWindow();
    CProbe* every30 = AddProbe(win, "r", 0, 0, 1, 1);
    CProbe* once20 = AddProbe(win, "o", 0, 0, 1, 1);
    app.StartTimer(every30, 30, true);
    app.StartTimer(once20, 20, false);
    win->Close();
    log.clear();
    // Run shows the window again; Escape at 100 ms closes it and ends the loop.
    screen.At(100);
    screen.Key(kKeyEscape);
    app.Run(win);
    EXPECT_FALSE(win->visible);
    EXPECT_EQ(screen.Time(), 100u);
    const std::vector<std::string> expected{"o timer 0 0 0", "r timer 0 0 0", "r timer 0 0 0", "r timer 0 0 0"};
    EXPECT_EQ(log, expected);
    // The one-shot timer left the list; the repeating one fired at 20, 50
    // and 80 ms and was ticked once more at 90.
    ASSERT_EQ(app.timers.Count(), 1);
    EXPECT_EQ(app.timers.Get(0), every30);
    EXPECT_EQ(every30->remaining, 20);
}

TEST_F(CAppTest, ATimerThatStopsAnotherSkipsNothingElse)
{
    struct Stopper : public CCtrl
    {
        Stopper(CWin* w, CCtrl* victim) : CCtrl(w), victim(victim) {}
        void Timer() override
        {
            ++fired;
            delete victim;
            victim = nullptr;
        }
        CCtrl* victim;
        int fired = 0;
    };
    CWin win(&app, nullptr, 0, "w", 0, 0, 10, 10);
    CProbe* after = AddProbe(&win, "after", 0, 0, 1, 1);
    CProbe* victim = AddProbe(&win, "victim", 0, 0, 1, 1);
    Stopper* stopper = win.AddChildAt(new Stopper(&win, victim), 0, 0, 1, 1);
    app.StartTimer(stopper, 10, true);
    app.StartTimer(victim, 10, true);
    app.StartTimer(after, 10, true);
    app.IdleTick();
    EXPECT_EQ(stopper->fired, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"after timer 0 0 0"}));
    EXPECT_EQ(app.timers.Count(), 2);
}

TEST_F(CAppTest, APressOutsideThePopupClosesItAndReachesTheClickedWindow)
{
    MainWindow();
    CWin* popup = Popup(400, "pop");
    Click(10, 10);
    popup->RunPopup();
    EXPECT_FALSE(popup->visible);
    EXPECT_EQ(app.topPopup, nullptr);
    EXPECT_EQ(app.popupStack.Count(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"main down 10 10 1"}));
    // The loop ended before the release was taken.
    EXPECT_EQ(screen.QueuedCount(), 1);
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CAppTest, OutsideAPopupLoopTheProcedureClosesThePopupAndPostsThePressAgain)
{
    MainWindow();
    CWin* popup = Popup(400, "pop");
    Opened(popup);
    screen.Press(10, 10, kMouseLeft);
    Message m;
    ASSERT_TRUE(screen.Peek(m));
    screen.Dispatch(m);
    EXPECT_FALSE(popup->visible);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(screen.QueuedCount(), 1);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"main down 10 10 1"}));
}

TEST_F(CAppTest, HidingThePopupFromItsOwnHandlerEndsTheLoopBeforeTheNextMessage)
{
    CCloser closer;
    MainWindow();
    CWin* popup = Popup(400, "pop");
    popup->DeleteChildren();
    CCtrl* item = popup->AddChildAt(new CCtrl(popup), 0, 0, 100, 100);
    item->OnMouseDown = new _COnMouse<CCloser>(&closer, &CCloser::Down);
    Click(410, 10);
    screen.Key('x');
    popup->RunPopup();
    EXPECT_FALSE(popup->visible);
    EXPECT_EQ(screen.QueuedCount(), 2);
}

TEST_F(CAppTest, KeysGoToTheNewestPopupAndPopupsCloseNewestFirst)
{
    struct Opener
    {
        // A key in the first popup opens the second, served by the first's loop.
        bool Key(CCtrl*, KeyRecord* key, int32_t)
        {
            if (key->key == 'n')
                second->RunPopup();
            return key->key == 'n';
        }
        CWin* second;
    };
    MainWindow();
    CWin* first = Popup(400, "one");
    CWin* second = Popup(600, "two");
    Opener opener{second};
    first->keyHandler = new _COnKey<Opener>(&opener, &Opener::Key);
    screen.Key('n');
    screen.Key('k');
    screen.Press(10, 10, kMouseLeft);
    first->RunPopup();
    EXPECT_FALSE(first->visible);
    EXPECT_FALSE(second->visible);
    EXPECT_EQ(app.popupStack.Count(), 0);
    const std::vector<std::string> expected{"two key 107 0 0", "main down 10 10 1"};
    EXPECT_EQ(log, expected);
}

TEST_F(CAppTest, ClosePopupsKeepsTheGivenOneAndTheOlder)
{
    CWin* a = Popup(0, "a");
    CWin* b = Popup(100, "b");
    CWin* c = Popup(200, "c");
    for (CWin* p : {a, b, c})
        Opened(p);
    app.ClosePopups(a);
    EXPECT_TRUE(a->visible);
    EXPECT_FALSE(b->visible);
    EXPECT_FALSE(c->visible);
    EXPECT_EQ(app.topPopup, a);
    app.ClosePopups(nullptr);
    EXPECT_EQ(app.topPopup, nullptr);
}

TEST_F(CAppTest, PopupWheelIsScaledToThirtyTwoPerNotch)
{
    MainWindow();
    CWin* popup = Popup(400, "pop");
    Opened(popup);
    // The popup's own Wheel gets the raw screen point.
    struct Counter
    {
        bool Wheel(CCtrl*, int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t)
        {
            seen = {px, py, flags, delta};
            return true;
        }
        std::vector<int32_t> seen;
    } counter;
    popup->OnWheel = new _COnWheel<Counter>(&counter, &Counter::Wheel);
    screen.Turn(450, 50, -360, kModCtrl);
    Pump();
    EXPECT_EQ(counter.seen, (std::vector<int32_t>{450, 50, 0, -96}));
    app.ClosePopups(nullptr);
}

TEST_F(CAppTest, ModalLoopDropsPressesElsewhereAndTakesTheKeys)
{
    MainWindow();
    CWin* dialog = Own(new CWin(&app, nullptr, kWinEscapeCloses, "dialog", 500, 0, 100, 100));
    Click(10, 10);
    screen.Press(12, 10, kMouseRight);
    screen.Key(kKeyEscape);
    dialog->RunModal();
    EXPECT_FALSE(dialog->visible);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CAppTest, ModalLoopLeavesMiddlePressesToTheirWindow)
{
    MainWindow();
    CWin* dialog = Own(new CWin(&app, nullptr, kWinEscapeCloses, "dialog", 500, 0, 100, 100));
    screen.Press(10, 10, kMouseMiddle);
    screen.Key(kKeyEscape);
    dialog->RunModal();
    EXPECT_EQ(log, (std::vector<std::string>{"main down 10 10 4"}));
}

// Ending the loops from inside a popup that a modal loop serves ends the
// modal loop too, not only the innermost.
TEST_F(CAppTest, EndLoopsEndsEveryNestedLoop)
{
    struct Opener
    {
        bool Key(CCtrl*, KeyRecord* key, int32_t)
        {
            popup->RunPopup();
            return key != nullptr;
        }
        CWin* popup;
    };
    CWin* dialog = Own(new CWin(&app, nullptr, 0, "dialog", 0, 0, 100, 100));
    CWin* popup = Popup(400, "pop");
    Opener opener{popup};
    dialog->keyHandler = new _COnKey<Opener>(&opener, &Opener::Key);
    screen.Key('p');
    screen.HostMessage([this] { app.EndLoops(); });
    screen.Key('x');
    dialog->RunModal();
    EXPECT_FALSE(popup->visible);
    EXPECT_EQ(screen.QueuedCount(), 1);
    EXPECT_FALSE(app.endingLoops);
}

TEST_F(CAppTest, LoopsOfAWindowTheSystemRefusedReturnAtOnce)
{
    struct CRefusingScreen : public CSoftScreen
    {
        SysWindow Create(SysWindow, bool, bool, const Rect&, CWin*) override { return 0; }
    } refusing;
    CApp lonely(&refusing);
    CWin* win = new CWin(&lonely, nullptr, 0, "r", 0, 0, 100, 100);
    ASSERT_EQ(win->hwnd, 0u);
    win->RunModal();
    EXPECT_FALSE(win->visible);
    win->RunPopup();
    EXPECT_FALSE(win->visible);
    EXPECT_EQ(lonely.popupStack.Count(), 0);
    EXPECT_EQ(lonely.topPopup, nullptr);
    lonely.Run(win);
    // Not one idle tick was spent waiting.
    EXPECT_EQ(refusing.Time(), 0u);
    delete win;
    // A popup that deletes itself when its run ends does so here too (the sanitizer run sees a leak otherwise).
    CWin* popup = new CWin(&lonely, nullptr, kWinNoActivate, "p", 0, 0, 100, 100);
    popup->deleteOnClose = 1;
    popup->RunPopup();
    EXPECT_EQ(lonely.popupStack.Count(), 0);
}

TEST_F(CAppTest, DeactivationClosesEveryPopup)
{
    CWin* win = MainWindow();
    CWin* popup = Popup(400, "pop");
    Opened(popup);
    Message m;
    m.window = win->hwnd;
    m.kind = MessageKind::ActivateApp;
    m.value = 0;
    screen.Post(m);
    Pump();
    EXPECT_EQ(app.active, 0);
    EXPECT_FALSE(popup->visible);
    EXPECT_EQ(app.topPopup, nullptr);
}

TEST_F(CAppTest, HoverTrackingControlsAreToldOnEnterAndLeave)
{
    struct Hovering : public CCtrl
    {
        explicit Hovering(CWin* w) : CCtrl(w) { tracksHover = 1; }
        void Hover(bool inside, int32_t px, int32_t py) override
        {
            seen += (inside ? "in " : "out ") + std::to_string(px) + "," + std::to_string(py) + ";";
        }
        std::string seen;
    };
    CWin* win = MainWindow();
    win->DeleteChildren();
    Hovering* h = win->AddChildAt(new Hovering(win), 10, 10, 20, 20);
    screen.Move(15, 15);
    screen.Move(16, 16);
    screen.Move(50, 50);
    Pump();
    EXPECT_EQ(h->seen, "in 5,5;out 40,40;");
    EXPECT_EQ(app.overCtrl, nullptr);
    EXPECT_EQ(app.hoverCtrl, static_cast<CCtrl*>(win->clientGroup));
}

// Notes the outermost handling of messages; when it has left, it deletes the
// application and its windows once, as a plug-in closed meanwhile does
// (deleting the windows hands them messages: it hears of more frames meanwhile).
class CFrameLog : public CFrameWatcher
{
public:
    void Entered() override { log.push_back("entered"); }
    void Left() override
    {
        log.push_back("left");
        if (CApp* doomed = std::exchange(app, nullptr))
        {
            delete popup;
            delete win;
            delete doomed;
        }
    }

    std::vector<std::string> log;
    CApp* app = nullptr;
    CWin* win = nullptr;
    CWin* popup = nullptr;
};

// A control whose first press runs a popup's loop; every press notes the
// window procedure's depth.
class CPopupOpener : public CCtrl
{
public:
    CPopupOpener(CWin* window, CWin* popup, std::vector<std::string>* log) : CCtrl(window), popup(popup), log(log) {}
    void MouseDown(int32_t, int32_t, int32_t) override
    {
        log->push_back("press at depth " + std::to_string(window->app->frameDepth));
        if (opened)
            return;
        opened = true;
        popup->RunPopup();
        log->push_back("closed");
    }

    CWin* popup;
    std::vector<std::string>* log;
    bool opened = false;
};

// The host's loop handles each message from the top. The press opens the
// popup; a click on the popup and a press outside that closes it are handled
// inside the popup's loop. When the outermost handling has left, the watcher
// deletes everything, as a plug-in closed meanwhile does.
TEST(CAppFrame, TheWatcherHearsOfTheOutermostHandlingOnlyAndMayThenDeleteTheApplication)
{
    CSoftScreen screen;
    CFrameLog watcher;
    CApp* app = new CApp(&screen);
    CWin* win = new CWin(app, nullptr, kWinNoBorder, "main", 0, 0, 300, 300);
    CWin* popup = new CWin(app, nullptr, kWinNoBorder | kWinNoActivate, "pop", 400, 0, 100, 100);
    popup->AddChild(new CProbe(popup, &watcher.log, "pop", 0, 0, 100, 100));
    win->AddChildAt(new CPopupOpener(win, popup, &watcher.log), 0, 0, 300, 300);
    win->Show(true);
    Message m;
    while (screen.Peek(m))
        screen.Dispatch(m);
    app->frameWatcher = &watcher;
    watcher.app = app;
    watcher.win = win;
    watcher.popup = popup;
    screen.Press(10, 10, kMouseLeft);
    screen.Press(410, 10, kMouseLeft);
    screen.Release(410, 10, kMouseLeft);
    screen.Press(20, 20, kMouseLeft);
    while (screen.Peek(m))
        screen.Dispatch(m);
    const std::vector<std::string> expected{
        "entered", "press at depth 1", "pop down 10 10 1", "pop up 10 10 1", "press at depth 2", "closed", "left"};
    ASSERT_GE(watcher.log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(watcher.log.begin(), watcher.log.begin() + expected.size()), expected);
    EXPECT_TRUE(screen.ZOrder().empty());
}

}  // namespace
