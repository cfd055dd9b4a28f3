#include "gui/platform/CSoftScreen.h"

#include <gtest/gtest.h>

namespace
{

class CSoftScreenTest : public ::testing::Test
{
protected:
    CSoftScreen screen;
};

TEST_F(CSoftScreenTest, WindowAtFollowsZOrderVisibilityAndChildren)
{
    const SysWindow a = screen.Create(0, false, false, Rect{0, 0, 100, 100}, nullptr);
    const SysWindow b = screen.Create(0, false, false, Rect{50, 50, 150, 150}, nullptr);
    const SysWindow c = screen.Create(a, true, false, Rect{10, 10, 30, 30}, nullptr);
    EXPECT_EQ(screen.WindowAt(60, 60), 0u);
    screen.Show(a, false);
    screen.Show(b, false);
    screen.Show(c, false);
    EXPECT_EQ(screen.WindowAt(60, 60), b);
    EXPECT_EQ(screen.WindowAt(15, 15), c);
    EXPECT_EQ(screen.ScreenRect(c), (Rect{10, 10, 30, 30}));
    screen.Raise(a, false);
    EXPECT_EQ(screen.WindowAt(60, 60), a);
    // The child stays above its raised parent.
    EXPECT_EQ(screen.WindowAt(15, 15), c);
    screen.SetRect(a, Rect{200, 0, 300, 100});
    EXPECT_EQ(screen.ScreenRect(c), (Rect{210, 10, 230, 30}));
    screen.Hide(a);
    EXPECT_EQ(screen.WindowAt(215, 15), 0u);
    EXPECT_FALSE(screen.IsVisible(c));
}

TEST_F(CSoftScreenTest, MouseInputGoesToTheCaptureWindowInItsClientCoordinates)
{
    const SysWindow a = screen.Create(0, false, false, Rect{0, 0, 100, 100}, nullptr);
    const SysWindow b = screen.Create(0, false, false, Rect{200, 0, 300, 100}, nullptr);
    screen.Show(a, false);
    screen.Show(b, false);
    screen.BeginPaint(a);
    screen.BeginPaint(b);
    screen.Move(250, 20);
    screen.SetCapture(a);
    Message m;
    ASSERT_TRUE(screen.Peek(m));
    EXPECT_EQ(m.window, a);
    EXPECT_EQ(m.x, 250);
    EXPECT_EQ(m.y, 20);
    screen.ReleaseCapture();
    screen.Move(250, 20);
    ASSERT_TRUE(screen.Peek(m));
    EXPECT_EQ(m.window, b);
    EXPECT_EQ(m.x, 50);
    // Input over no window is lost; a key without focus too.
    screen.Move(500, 500);
    screen.Key('a');
    EXPECT_FALSE(screen.Peek(m));
}

TEST_F(CSoftScreenTest, DestroyedHandlesFindNothing)
{
    const SysWindow a = screen.Create(0, false, false, Rect{0, 0, 100, 100}, nullptr);
    const SysWindow c = screen.Create(a, true, false, Rect{0, 0, 10, 10}, nullptr);
    screen.SetCapture(c);
    screen.Destroy(a);
    EXPECT_EQ(screen.Capture(), 0u);
    EXPECT_EQ(screen.Context(c), nullptr);
    const SysWindow d = screen.Create(0, false, false, Rect{0, 0, 100, 100}, nullptr);
    EXPECT_NE(d, a);
    EXPECT_NE(d, c);
}

}  // namespace
