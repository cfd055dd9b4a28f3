#include "gui/widgets/CButton.h"

#include "core/WindowTestKit.h"
#include "gui/platform/InputCodes.h"

#include <gtest/gtest.h>

namespace
{

// A window that logs what its buttons send up, and the owner's binders.
class CCommandWin : public CWin
{
public:
    CCommandWin(CApp* app, std::vector<std::string>* log) : CWin(app, nullptr, 0, "cmd", 0, 0, 200, 100), log(log) {}

    void ForwardUp(CCtrl* sender, int32_t value) override
    {
        log->push_back("up " + std::string(sender->Name()) + " " + std::to_string(value));
    }
    void ForwardTextUp(const char* text, int32_t value) override
    {
        log->push_back("text " + std::string(text) + " " + std::to_string(value));
    }
    void Changed(CCtrl* sender) { log->push_back("change " + std::string(sender->Name())); }
    void Mouse(CCtrl*, int32_t x, int32_t y, int32_t flags)
    {
        log->push_back("mouse " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(flags));
    }

    std::vector<std::string>* log;
};

class CButtonTest : public ::testing::Test, public WindowTestKit
{
protected:
    // A shown window with one button at client (10, 10), 60 x 20: screen (13..72, 13..32).
    void SetUp() override
    {
        win = new CCommandWin(&app, &log);
        button = win->AddChildAt(new CButton(win, "Go"), 10, 10, 60, 20);
        button->SetName("go");
        win->Show(true);
        Pump();
    }
    void TearDown() override { delete win; }

    void Click(int32_t sx, int32_t sy, int32_t releaseX, int32_t releaseY, int32_t buttonFlag = kMouseLeft)
    {
        screen.Press(sx, sy, buttonFlag);
        screen.Release(releaseX, releaseY, buttonFlag);
        Pump();
    }

    CCommandWin* win = nullptr;
    CButton* button = nullptr;
};

TEST_F(CButtonTest, AClickSendsItselfAndItsNameUpOrCallsOnChangeAlone)
{
    Click(20, 20, 30, 25);
    EXPECT_EQ(log, (std::vector<std::string>{"up go 0", "text go 0"}));
    log.clear();
    button->OnChange = new _COnChange<CCommandWin>(win, &CCommandWin::Changed);
    button->OnMouseDown = new _COnMouse<CCommandWin>(win, &CCommandWin::Mouse);
    button->OnMouseUp = new _COnMouse<CCommandWin>(win, &CCommandWin::Mouse);
    screen.Advance(500);  // not a double click
    Click(20, 20, 30, 25);
    // Local coordinates; the binders come before the click.
    EXPECT_EQ(log, (std::vector<std::string>{"mouse 7 7 1", "mouse 17 12 1", "change go"}));
}

TEST_F(CButtonTest, NoClickForAReleaseOutsideOrAnotherButton)
{
    button->OnChange = new _COnChange<CCommandWin>(win, &CCommandWin::Changed);
    button->OnMouseUp = new _COnMouse<CCommandWin>(win, &CCommandWin::Mouse);
    // Released just past the right edge (local x 60), then a right click inside.
    Click(20, 20, 73, 20);
    Click(20, 20, 20, 20, kMouseRight);
    EXPECT_EQ(log, (std::vector<std::string>{"mouse 60 7 1", "mouse 7 7 2"}));
    EXPECT_FALSE(button->pressed);
}

}  // namespace
