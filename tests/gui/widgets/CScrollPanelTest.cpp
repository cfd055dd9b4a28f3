#include "gui/widgets/CScrollPanel.h"

#include "WidgetTestKit.h"
#include "gui/widgets/CScrollbar.h"

namespace
{

using CScrollPanelTest = WidgetTest;

TEST_F(CScrollPanelTest, ContentScrollsUnderItsBar)
{
    CScrollPanel* panel = win->AddChildAt(new CScrollPanel(win), 10, 10, 100, 80);
    CProbe* top = new CProbe(win, &log, "top", 0, 0, 20, 20);
    CProbe* low = new CProbe(win, &log, "low", 0, 180, 20, 20);
    panel->AddChild(top);
    panel->AddChild(low);
    Show();
    EXPECT_EQ(panel->Extent(), 200);
    EXPECT_TRUE(panel->bar->visible);
    EXPECT_EQ(panel->bar->maximum, 120);
    // Dragging the thumb to the end scrolls the content by the bar's value.
    screen.Press(10 + 90, 10 + 20, kMouseLeft);
    screen.Move(10 + 90, 10 + 200, kMouseLeft);
    screen.Release(10 + 90, 10 + 200, kMouseLeft);
    Pump();
    EXPECT_EQ(panel->content->scrollY, 120);
    log.clear();
    Click(15, 10 + 65);  // content y 65 + 120 = 185: the low probe, 5 into it
    EXPECT_EQ(log.front(), "low down 5 5 1");
    screen.Turn(50, 50, 120);
    Pump();
    EXPECT_EQ(panel->content->scrollY, 0);
    panel->DeleteChildren();
    EXPECT_FALSE(panel->bar->visible);
    EXPECT_EQ(panel->bar->value, 0);
}

}  // namespace
