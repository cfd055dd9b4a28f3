#include "gui/dialogs/CDialog.h"

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CButton.h"

#include <gtest/gtest.h>

namespace
{

// A 200 x 100 dialog at (100, 100) (client area from (103, 103)) with a
// button of result 8 at client (10, 10) and a probe at client (100, 10).
// Its check of an OK vetoes the first allowAfter times.
class CVetoDialog : public CDialog
{
public:
    CVetoDialog(CApp* app, std::vector<std::string>* log) : CDialog(app, nullptr, 0, "d", 100, 100, 200, 100)
    {
        AddChildAt(new CButton(this, "No"), 10, 10, 48, 24)->id = kResultNo;
        probe = new CProbe(this, log, "p", 100, 10, 40, 20);
        AddChild(probe);
    }
    bool Validate() override
    {
        ++asked;
        if (asked > allowAfter)
            return true;
        if (cancelOnVeto)
            result = kResultCancel;
        return false;
    }
    CProbe* probe;
    int32_t asked = 0;
    int32_t allowAfter = 0;
    bool cancelOnVeto = false;
};

class CDialogTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CDialogTest, ButtonsEnterEscapeAndVetoesEndTheDialog)
{
    struct Case
    {
        const char* what;
        bool focusFirst, noEnter;
        int32_t allowAfter;
        bool cancelOnVeto;
        std::vector<int32_t> keys;
        bool click;
        int32_t result, asked;
        size_t probeKeys;
    };
    const Case cases[] = {
        {"button", false, false, 0, false, {}, true, kResultNo, 0, 0},
        {"enter", false, false, 0, false, {kKeyEnter}, false, kResultOk, 1, 0},
        {"escape is not validated", false, false, 0, false, {kKeyEscape}, false, kResultCancel, 0, 0},
        {"a veto keeps it open", false, false, 1, false, {kKeyEnter, kKeyEnter}, false, kResultOk, 2, 0},
        {"a veto that cancels", false, false, 1, true, {kKeyEnter}, false, kResultCancel, 1, 0},
        {"focused control first", true, false, 0, false, {kKeyEscape, kKeyEnter}, true, kResultNo, 0, 2},
        {"noEnter", false, true, 0, false, {kKeyEnter, kKeyEscape}, false, kResultCancel, 0, 0},
    };
    for (const Case& c : cases)
    {
        CVetoDialog d(&app, &log);
        d.focusFirst = c.focusFirst;
        d.noEnter = c.noEnter;
        d.allowAfter = c.allowAfter;
        d.cancelOnVeto = c.cancelOnVeto;
        if (c.focusFirst)
            d.SetFocusCtrl(d.probe);
        log.clear();
        for (int32_t key : c.keys)
            screen.Key(key);
        if (c.click)
            Click(120, 120);
        d.RunModal();
        EXPECT_EQ(d.result, c.result) << c.what;
        EXPECT_EQ(d.asked, c.asked) << c.what;
        EXPECT_EQ(log.size(), c.probeKeys) << c.what;
        EXPECT_FALSE(screen.Exhausted()) << c.what;
    }
}

TEST_F(CDialogTest, ClosedByItsTitleBarItEndsWithCancel)
{
    CDialog d(&app, nullptr, kWinTitleBar, "t", 100, 100, 200, 100);
    // Close button: client x 3 + 194 - 16 - 2 = 179, y 3 + 2.
    Click(100 + 185, 100 + 10);
    d.RunModal();
    EXPECT_EQ(d.result, kResultCancel);
}

TEST_F(CDialogTest, AClientDialogIsSizedToItsContentAndEndsByItsButtons)
{
    CClientDialog d(&app, nullptr, kWinTitleBar, "c");
    CGroup* content = new CGroup(&d);
    content->width = 120;
    content->height = 60;
    content->AddChildAt(new CButton(&d, "Yes"), 0, 0, 48, 24)->id = kResultYes;
    d.SetContent(content);
    // Border 3 a side, title bar 20.
    EXPECT_EQ(screen.ScreenRect(d.hwnd), (Rect{0, 0, 126, 86}));
    Click(3 + 10, 23 + 10);
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
}

TEST_F(CPromptWinTest, AskReturnsThePressedButtonAndIsCentred)
{
    CWin owner(&app, nullptr, 0, "o", 0, 0, 300, 200);
    owner.Show(true);
    Pump();
    // 190 x 106 centred on 1024 x 768: (417, 331); client area from (420, 354).
    Click(420 + 64 + 10, 354 + 48 + 10);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", 3), kPromptCancel);
    Click(420 + 8 + 10, 354 + 48 + 10);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", 3), kPromptOk);
    screen.Key(kKeyEscape);
    EXPECT_EQ(Ask(&owner, "Question", "Sure?", kPromptYes | kPromptNo), kPromptCancel);
    EXPECT_EQ(Ask(nullptr, "Question", "Sure?", 3), kPromptCancel);
    EXPECT_FALSE(screen.Exhausted());
}

}  // namespace
