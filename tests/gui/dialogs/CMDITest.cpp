#include "gui/dialogs/CMDI.h"

#include "core/WindowTestKit.h"

#include <gtest/gtest.h>

namespace
{

class CMDITest : public ::testing::Test, public WindowTestKit
{
public:
    void Changed(CCtrl*) { ++changes; }
    std::vector<CWin*> Order(const CMDI& mdi)
    {
        std::vector<CWin*> windows;
        for (int32_t i = 0; i < mdi.order.Count(); ++i)
            windows.push_back(mdi.Child(i));
        return windows;
    }

    int32_t changes = 0;
};

TEST_F(CMDITest, KeepsFrontToBackOrderAndTheActiveChild)
{
    CMDI* mdi = new CMDI(&app, nullptr, 0, "mdi", 0, 0, 400, 300);
    mdi->OnChange = new _COnChange<CMDITest>(this, &CMDITest::Changed);
    mdi->Show(true);
    CWin* a = new CWin(&app, mdi, kWinEmbedded, "a", 0, 0, 100, 100);
    CWin* b = new CWin(&app, mdi, kWinEmbedded, "b", 50, 50, 100, 100);
    CWin* hidden = new CWin(&app, mdi, kWinEmbedded, "h", 80, 80, 100, 100);
    a->Show(false);
    b->Show(false);
    a->ToFront(false);
    b->ToFront(false);
    EXPECT_EQ(Order(*mdi), (std::vector<CWin*>{b, a}));
    EXPECT_EQ(mdi->activeChild, b);
    a->ToFront(true);
    EXPECT_EQ(Order(*mdi), (std::vector<CWin*>{a, b}));
    EXPECT_EQ(mdi->activeChild, a);
    // A hidden child raised is not part of the order; the container still hears of it.
    hidden->ToFront(false);
    EXPECT_EQ(Order(*mdi), (std::vector<CWin*>{a, b}));
    // Four raises, and the focus that the activated child took raised it once more.
    EXPECT_EQ(changes, 5);

    // Closing the background child keeps the active one; closing the active one leaves none.
    b->Close();
    EXPECT_EQ(Order(*mdi), (std::vector<CWin*>{a}));
    EXPECT_EQ(mdi->activeChild, a);
    a->Close();
    EXPECT_TRUE(Order(*mdi).empty());
    EXPECT_EQ(mdi->activeChild, nullptr);
    EXPECT_EQ(changes, 7);

    // A shown child destroyed leaves the order; destroying the container tells nobody.
    b->Show(false);
    b->ToFront(false);
    delete b;
    EXPECT_TRUE(Order(*mdi).empty());
    a->Show(false);
    a->ToFront(false);
    const int32_t before = changes;
    delete mdi;
    EXPECT_EQ(changes, before);
    EXPECT_EQ(a->owner, nullptr);
    delete a;
    delete hidden;
}

}  // namespace
