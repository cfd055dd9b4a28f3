#include "gui/widgets/CFader.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"

namespace
{

class CFaderTest : public WidgetTest
{
protected:
    Reports reports{[](CCtrl* c) { return static_cast<CFader*>(c)->GetValue(); }};
};

TEST_F(CFaderTest, WheelNeedsCtrlAndStepsTenWithShift)
{
    CFader* fader = PlaceIn(win, new CFader(win, false), 10, 10, 101, 16);
    fader->SetRange(0, 100, 0);
    fader->SetValue(50);
    fader->OnChange = reports.Binder();
    Show();
    screen.Turn(50, 15, 120);
    screen.Turn(50, 15, 120, kModCtrl);
    screen.Turn(50, 15, 120, kModCtrl | kModShift);
    screen.Turn(50, 15, -240, kModCtrl);
    Pump();
    EXPECT_EQ(reports.values, (std::vector<int32_t>{51, 61, 60}));
    fader->SetValue(95);
    screen.Turn(50, 15, 120, kModCtrl | kModShift);
    Pump();
    EXPECT_EQ(fader->GetValue(), 100);
}

TEST_F(CFaderTest, PressAndDragSetTheValueFromThePosition)
{
    // 101 pixels for 0..100: the first pixel is 0, the last 100.
    CFader* fader = PlaceIn(win, new CFader(win, false), 10, 10, 101, 16);
    fader->SetRange(0, 100, 0);
    fader->OnChange = reports.Binder();
    // Inverted vertical, 0..10 over 101 pixels: 10 pixels per step, counted upwards.
    CFader* upright = PlaceIn(win, new CFader(win, true), 200, 10, 16, 101);
    upright->inverted = 1;
    upright->SetRange(0, 10, 0);
    Show();
    screen.Press(35, 15, kMouseLeft);
    screen.Move(10 + 62, 15, kMouseLeft);
    screen.Move(-50, 15, kMouseLeft);
    screen.Release(-50, 15, kMouseLeft);
    Pump();
    EXPECT_EQ(reports.values, (std::vector<int32_t>{25, 62, 0}));
    EXPECT_EQ(fader->thumbLength, 0);
    Click(205, 10);  // top pixel
    EXPECT_EQ(upright->GetValue(), 10);
    Click(205, 110);  // bottom pixel
    EXPECT_EQ(upright->GetValue(), 0);
    Click(205, 10 + 100 - 34);  // 34 up: 3.4 rounds to 3
    EXPECT_EQ(upright->GetValue(), 3);
    Click(205, 10 + 100 - 35);  // 3.5 rounds up
    EXPECT_EQ(upright->GetValue(), 4);
}

}  // namespace
