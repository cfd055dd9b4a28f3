#include "gui/core/CHintWin.h"

#include "WindowTestKit.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

namespace
{

class CHintWinTest : public ::testing::Test, public WindowTestKit
{
protected:
    CHintWinTest()
    {
        main = Own(new CWin(&app, nullptr, 0, "main", 100, 100, 400, 200));
        main->Show(true);
        Pump();
    }

    // Idle ticks of 10 ms, with the messages they let through.
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
        {
            Pump();
            app.IdleTick();
        }
    }

    bool HintShown() { return app.hintWindow != nullptr && screen.IsVisible(app.hintWindow->hwnd); }

    CWin* main;
};

TEST_F(CHintWinTest, ShowsBelowTheCursorAfterItsDelayWithoutActivation)
{
    screen.Move(300, 200);
    Pump();
    app.ShowHint("Cutoff", 500);
    Ticks(49);
    EXPECT_FALSE(HintShown());
    Ticks(1);
    ASSERT_TRUE(HintShown());
    CHintWin* hint = app.hintWindow;
    const int32_t textWidth = screen.Context(hint->hwnd)->TextWidth("Cutoff");
    // Text, 4 pixels each side and the 3-pixel border; a 13-pixel line, 2 above and below.
    EXPECT_EQ(screen.ScreenRect(hint->hwnd), (Rect{300, 224, 300 + textWidth + 14, 224 + 13 + 10}));
    EXPECT_EQ(screen.Focus(), main->hwnd);
    EXPECT_EQ(app.timers.Count(), 0);

    // An empty hint closes it when its timer fires, not before.
    app.ShowHint("", 100);
    Ticks(9);
    EXPECT_TRUE(HintShown());
    Ticks(1);
    EXPECT_FALSE(HintShown());
}

TEST_F(CHintWinTest, APressCancelsAPendingHintAndTheRightEdgeKeepsItOnScreen)
{
    screen.Move(150, 150);
    Pump();
    app.ShowHint("Resonance", 100);
    Click(150, 150);
    Ticks(20);
    EXPECT_FALSE(HintShown());
    EXPECT_EQ(app.timers.Count(), 0);

    screen.Move(1020, 10);
    Pump();
    app.ShowHint("Resonance", 10);
    Ticks(1);
    ASSERT_TRUE(HintShown());
    const Rect r = screen.ScreenRect(app.hintWindow->hwnd);
    EXPECT_EQ(r.right, 1024);
    EXPECT_EQ(r.top, 34);
}

}  // namespace
