#include "gui/dialogs/CDialog.h"

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"

#include <gtest/gtest.h>

namespace
{

class CDialogTest : public ::testing::Test, public WindowTestKit
{
protected:
    // A 200 x 100 dialog at (100, 100) (client area from (103, 103)) with a
    // button of result 8 at client (10, 10) and a probe at client (100, 10).
    CDialog* Make()
    {
        CDialog* d = new CDialog(&app, nullptr, 0, "d", 100, 100, 200, 100);
        PlaceIn(d, new CButton(d, "No"), 10, 10, 48, 24)->id = kResultNo;
        probe = new CProbe(d, &log, "p", 100, 10, 40, 20);
        d->AddChild(probe);
        return d;
    }
    void ClickButton()
    {
        screen.Press(120, 120, kMouseLeft);
        screen.Release(120, 120, kMouseLeft);
    }

    CProbe* probe = nullptr;
};

TEST_F(CDialogTest, AButtonEndsTheDialogWithItsIdAndEnterAndEscapeWithOkAndCancel)
{
    CDialog* d = Make();
    ClickButton();
    d->RunModal();
    EXPECT_EQ(d->result, kResultNo);
    screen.Key(kKeyEnter);
    d->RunModal();
    EXPECT_EQ(d->result, kResultOk);
    screen.Key(kKeyEscape);
    d->RunModal();
    EXPECT_EQ(d->result, kResultCancel);
    EXPECT_FALSE(screen.Exhausted());
    delete d;
}

TEST_F(CDialogTest, FocusFirstLeavesEscapeToTheFocusedControlAndNoEnterKeepsItOpen)
{
    CDialog* d = Make();
    d->focusFirst = 1;
    d->SetFocusCtrl(probe);
    log.clear();
    screen.Key(kKeyEscape);
    screen.Key(kKeyEnter);
    ClickButton();
    d->RunModal();
    EXPECT_EQ(d->result, kResultNo);
    EXPECT_EQ(log, (std::vector<std::string>{"p key -11 0 0", "p key -9 0 0"}));

    // Without a focused control the dialog takes the keys; noEnter ignores Enter.
    d->noEnter = 1;
    d->SetFocusCtrl(nullptr);
    screen.Key(kKeyEnter);
    screen.Key(kKeyEscape);
    d->RunModal();
    EXPECT_EQ(d->result, kResultCancel);
    delete d;
}

class CVetoDialog : public CDialog
{
public:
    explicit CVetoDialog(CApp* app) : CDialog(app, nullptr, 0, "v", 100, 100, 200, 100) {}
    bool Validate() override
    {
        ++asked;
        if (asked > allowAfter)
            return true;
        if (cancelOnVeto)
            result = kResultCancel;
        return false;
    }
    int32_t asked = 0;
    int32_t allowAfter = 1;
    bool cancelOnVeto = false;
};

TEST_F(CDialogTest, AVetoKeepsTheDialogOpenUnlessItCancels)
{
    CVetoDialog d(&app);
    screen.Key(kKeyEnter);
    screen.Key(kKeyEnter);
    d.RunModal();
    EXPECT_EQ(d.asked, 2);
    EXPECT_EQ(d.result, kResultOk);

    d.asked = 0;
    d.cancelOnVeto = true;
    screen.Key(kKeyEnter);
    d.RunModal();
    EXPECT_EQ(d.asked, 1);
    EXPECT_EQ(d.result, kResultCancel);
    // Cancel and other results are not validated.
    d.asked = 0;
    screen.Key(kKeyEscape);
    d.RunModal();
    EXPECT_EQ(d.asked, 0);
}

TEST_F(CDialogTest, ClosedByItsTitleBarItEndsWithCancel)
{
    CDialog d(&app, nullptr, kWinTitleBar, "t", 100, 100, 200, 100);
    // Close button: client x 3 + 194 - 16 - 2 = 179, y 3 + 2.
    screen.Press(100 + 185, 100 + 10, kMouseLeft);
    screen.Release(100 + 185, 100 + 10, kMouseLeft);
    d.RunModal();
    EXPECT_EQ(d.result, kResultCancel);
}

TEST_F(CDialogTest, AClientDialogIsSizedToItsContentAndEndsByItsButtons)
{
    CClientDialog d(&app, nullptr, kWinTitleBar, "c");
    CGroup* content = new CGroup(&d);
    content->width = 120;
    content->height = 60;
    PlaceIn(content, new CButton(&d, "Yes"), 0, 0, 48, 24)->id = kResultYes;
    d.SetContent(content);
    // Border 3 a side, title bar 20.
    EXPECT_EQ(screen.ScreenRect(d.hwnd), (Rect{0, 0, 126, 86}));
    screen.Press(3 + 10, 23 + 10, kMouseLeft);
    screen.Release(3 + 10, 23 + 10, kMouseLeft);
    d.RunModal();
    EXPECT_EQ(d.result, kResultYes);
}

class CPromptWinTest : public ::testing::Test, public WindowTestKit
{
protected:
    // "text=id@x" for each button of p.
    static std::vector<std::string> Buttons(CPromptWin& p)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i < p.clientGroup->children.Count(); ++i)
            if (auto* b = dynamic_cast<CButton*>(p.clientGroup->Child(i)))
                names.push_back(std::string(b->text) + "=" + std::to_string(b->id) + "@" + std::to_string(b->x));
        return names;
    }
};

TEST_F(CPromptWinTest, ButtonsInOrderEightApartAndWidthFromTheText)
{
    CPromptWin all(&app, "t", "Sure?", 15);
    EXPECT_EQ(Buttons(all), (std::vector<std::string>{"OK=1@8", "Yes=4@64", "No=8@120", "Cancel=2@176"}));
    CPromptWin none(&app, "t", "Sure?", 0x100);
    EXPECT_EQ(Buttons(none), (std::vector<std::string>{"OK=1@8"}));
    // At least 160 wide, else the text plus borders and 24.
    EXPECT_EQ(screen.ScreenRect(none.hwnd).Width(), 160 + 6 + 24);
    const char* longMessage = "'a rather long file name.vlm' already exists. Do you want to replace it?";
    CPromptWin longText(&app, "t", longMessage, 1);
    const int32_t tw = longText.graphic->TextWidth(longMessage);
    ASSERT_GT(tw, 160);
    EXPECT_EQ(screen.ScreenRect(longText.hwnd).Width(), tw + 30);
}

TEST_F(CPromptWinTest, AskReturnsThePressedButtonAndIsCentred)
{
    CWin owner(&app, nullptr, 0, "o", 0, 0, 300, 200);
    owner.Show(true);
    Pump();
    // 190 x 106 centred on 1024 x 768: (417, 331); client area from (420, 354).
    screen.Press(420 + 64 + 10, 354 + 48 + 10, kMouseLeft);
    screen.Release(420 + 64 + 10, 354 + 48 + 10, kMouseLeft);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", 3), kPromptCancel);
    screen.Press(420 + 8 + 10, 354 + 48 + 10, kMouseLeft);
    screen.Release(420 + 8 + 10, 354 + 48 + 10, kMouseLeft);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", 3), kPromptOk);
    screen.Key(kKeyEscape);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", kPromptYes | kPromptNo), kPromptCancel);
    EXPECT_EQ(Ask(nullptr, "Question", "Sure?", 3), kPromptCancel);
    EXPECT_FALSE(screen.Exhausted());
}

}  // namespace
