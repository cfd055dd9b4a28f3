#include "gui/widgets/CFader.h"

#include "WidgetTestKit.h"
#include "gui/platform/InputCodes.h"

namespace
{

class CFaderTest : public WidgetTest
{
protected:
    // 101 pixels for 0..100 at (10, 10): the first pixel is 0, the last 100.
    CFader* Fader()
    {
        CFader* fader = win->AddChildAt(new CFader(win, false), 10, 10, 101, 16);
        fader->SetRange(0, 100, 0);
        fader->OnChange = reports.Binder();
        Show();
        return fader;
    }

    Reports reports{[](CCtrl* c) { return static_cast<CFader*>(c)->GetValue(); }};
};

TEST_F(CFaderTest, WheelNeedsCtrlAndStepsTenWithShift)
{
    CFader* fader = Fader();
    fader->SetValue(50);
    screen.Turn(50, 15, 120);
    screen.Turn(50, 15, 120, kModCtrl);
    screen.Turn(50, 15, 120, kModCtrl | kModShift);
    screen.Turn(50, 15, -240, kModCtrl);
    Pump();
    fader->SetValue(95);
    screen.Turn(50, 15, 120, kModCtrl | kModShift);
    Pump();
    EXPECT_EQ(reports.values, (std::vector<int32_t>{51, 61, 60, 100}));
}

TEST_F(CFaderTest, PressAndDragSetTheValueFromThePosition)
{
    Fader();
    // Inverted vertical, 0..10 over 101 pixels: 10 pixels per step, counted upwards.
    CFader* upright = win->AddChildAt(new CFader(win, true), 200, 10, 16, 101);
    upright->inverted = 1;
    upright->SetRange(0, 10, 0);
    Show();
    screen.Press(35, 15, kMouseLeft);
    screen.Move(10 + 62, 15, kMouseLeft);
    screen.Move(-50, 15, kMouseLeft);
    screen.Release(-50, 15, kMouseLeft);
    Pump();
    EXPECT_EQ(reports.values, (std::vector<int32_t>{25, 62, 0}));
    // Top and bottom pixels, then 3.4 rounding down and 3.5 up.
    std::vector<int32_t> values;
    for (int32_t y : {10, 110, 10 + 100 - 34, 10 + 100 - 35})
    {
        Click(205, y);
        values.push_back(upright->GetValue());
    }
    EXPECT_EQ(values, (std::vector<int32_t>{10, 0, 3, 4}));
}

}  // namespace
