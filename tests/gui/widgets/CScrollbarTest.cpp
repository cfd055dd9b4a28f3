#include "gui/widgets/CScrollbar.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"

namespace
{

class CScrollbarTest : public WidgetTest
{
protected:
    // A bar at (10, 10), by default 200 x 16 and horizontal: arrows at 10..25 and 194..209.
    CScrollbar* Bar(int32_t minimum, int32_t maximum, int32_t value, int32_t page = 0, int32_t length = 200,
                    bool vertical = false, bool inverted = false)
    {
        CScrollbar* bar =
            win->AddChildAt(new CScrollbar(win, vertical), 10, 10, vertical ? 16 : length, vertical ? length : 16);
        bar->inverted = inverted;
        bar->SetRange(minimum, maximum, page);
        bar->SetValue(value);
        bar->OnChange = reports.Binder();
        Show();
        return bar;
    }

    // The moves between successive reports, starting from start.
    std::vector<int32_t> Moves(int32_t start) const
    {
        std::vector<int32_t> moves;
        for (int32_t v : reports.values)
        {
            moves.push_back(v - start);
            start = v;
        }
        return moves;
    }

    Reports reports{[](CCtrl* c) { return static_cast<CScrollbar*>(c)->GetValue(); }};
};

TEST_F(CScrollbarTest, HeldArrowsAndPageAreasMoveByAGrowingStepEveryTwentyMilliseconds)
{
    struct Case
    {
        int32_t x, start, ms;
        std::vector<int32_t> moves;
    };
    const Case cases[] = {
        // The decrement arrow steps from 2 up to 8.
        {15, 1000, 300, {-2, -2, -3, -3, -4, -4, -5, -5, -6, -6, -7, -7, -8, -8, -8}},
        // Value 0: the 16-pixel thumb sits right after the left arrow; x 100 pages up, from 8 to 24.
        {100, 0, 700, {8,  8,  9,  9,  10, 10, 11, 11, 12, 12, 13, 13, 14, 14, 15, 15, 16, 16,
                       17, 17, 18, 18, 19, 19, 20, 20, 21, 21, 22, 22, 23, 23, 24, 24, 24}},
    };
    for (const Case& c : cases)
    {
        CScrollbar* bar = Bar(0, 1000, c.start);
        reports.values.clear();
        Press(c.x, 15);
        EXPECT_TRUE(reports.values.empty());  // the first move waits for the first tick
        Tick(c.ms);
        EXPECT_EQ(Moves(c.start), c.moves);
        Release(c.x, 15);
        Tick(100);
        EXPECT_EQ(reports.values.size(), c.moves.size());
        EXPECT_EQ(app.timers.Count(), 0);
        delete bar;
    }
}

TEST_F(CScrollbarTest, AQuickClickOnAnArrowStillStepsOnceAndTheRepeatStopsAtTheEnd)
{
    CScrollbar* bar = Bar(0, 5, 1);
    Click(194, 15);  // the increment arrow's first pixel, released before the first tick
    EXPECT_EQ(reports.values, (std::vector<int32_t>{3}));
    // Held: 3 + 2 reaches 5; later ticks change nothing and report nothing.
    Press(205, 15);
    Tick(100);
    Release(205, 15);
    EXPECT_EQ(reports.values, (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(bar->GetValue(), 5);
}

TEST_F(CScrollbarTest, DraggingTheThumbMapsItsTravelOntoTheRange)
{
    // 132 wide: a 100-pixel track; page 25 of 125 makes the thumb 20, leaving 80 of travel.
    CScrollbar* bar = Bar(0, 100, 0, 25, 132);
    screen.Press(30, 15, kMouseLeft);  // 4 pixels into the thumb
    screen.Move(70, 15, 0);
    Pump();
    EXPECT_EQ(bar->GetValue(), 50);  // thumb at 56: 40 of 80
    screen.Move(400, 15, 0);
    screen.Release(400, 15, kMouseLeft);
    Pump();
    EXPECT_EQ(reports.values, (std::vector<int32_t>{50, 100}));
    EXPECT_EQ(app.timers.Count(), 0);
}

TEST_F(CScrollbarTest, EmptyOrReversedRangesIgnorePresses)
{
    CScrollbar* bar = Bar(7, 7, 7);
    Click(15, 15);
    Click(100, 15);
    bar->SetRange(10, 0, 0);
    EXPECT_EQ(bar->GetValue(), 10);  // a reversed range holds its minimum
    Click(205, 15);
    EXPECT_TRUE(reports.values.empty());
    EXPECT_EQ(app.timers.Count(), 0);
}

TEST_F(CScrollbarTest, TheRepeatTimerEndsWithTheBarOrWithALostPress)
{
    CScrollbar* bar = Bar(0, 1000, 500);
    Press(15, 15);
    Tick(20);
    delete bar;
    EXPECT_EQ(app.timers.Count(), 0);
    Tick(100);
    Release(15, 15);

    // A window that loses the focus drops the press without a release.
    CScrollbar* other = Bar(0, 1000, 500);
    Press(15, 15);
    win->Focus(false);
    Tick(100);
    EXPECT_EQ(app.timers.Count(), 0);
    EXPECT_EQ(other->GetValue(), 500);
}

TEST_F(CScrollbarTest, InvertedVerticalBarCountsFromTheBottom)
{
    CScrollbar* bar = Bar(0, 100, 0, 0, 200, true, true);
    Click(15, 205);  // the lower arrow decrements: nothing below 0
    Click(15, 15);   // the upper arrow increments
    EXPECT_EQ(reports.values, (std::vector<int32_t>{2}));
    bar->PlaceThumb();
    // The thumb starts above the lower arrow.
    EXPECT_EQ(bar->ZoneAt(16), kZonePageDec);
    EXPECT_EQ(bar->ZoneAt(bar->thumbPos), kZoneThumb);
}

}  // namespace
