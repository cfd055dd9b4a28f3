#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/CWindowButton.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CMenuItem.h"
#include "gui/widgets/CPopup.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

constexpr int32_t kKeyF11 = kKeyF1 - 10;

// A window that counts its destruction.
class CCountedWin : public CWin
{
public:
    CCountedWin(CApp* app, CWin* owner, uint32_t style, int* deaths)
        : CWin(app, owner, style, "counted", 20, 20, 60, 40), deaths(deaths)
    {
    }
    ~CCountedWin() override { ++*deaths; }

    int* deaths;
};

// A software screen that notes which system windows the toolkit destroys.
class CDestroyLog : public CSoftScreen
{
public:
    void Destroy(SysWindow w) override
    {
        destroyed.push_back(w);
        CSoftScreen::Destroy(w);
    }

    std::vector<SysWindow> destroyed;
};

class CWinOwnershipTest : public ::testing::Test, public WindowTestKit
{
public:
    // Key 'a' opens a served popup with deleteOnClose, 'c' closes the outer popup.
    bool Key(CCtrl*, KeyRecord* key, int32_t)
    {
        if (key->key == 'a')
        {
            CWin* inner = new CCountedWin(&app, main, kWinNoActivate | kWinEscapeCloses, &deaths);
            inner->deleteOnClose = 1;
            inner->RunPopup();
            ++served;
            return true;
        }
        if (key->key == 'c')
        {
            outer->Close();
            return true;
        }
        return false;
    }

    CWin* main = nullptr;
    CWin* outer = nullptr;
    int deaths = 0;
    int served = 0;
};

// A resizable window fills the work area, an embedded one its owner's client
// area; a non-resizable one maximises its container instead.
TEST_F(CWinOwnershipTest, F11AndTheMaximiseButtonMaximiseTheWindowOrItsContainer)
{
    screen.workArea = Rect{0, 0, 1024, 728};
    CWin plain(&app, nullptr, kWinAltMaximise | kWinTitleBar | kWinMaxButton, "plain", 10, 10, 100, 80);
    plain.Show(true);
    EXPECT_TRUE(plain.KeyDown(kKeyF11, 0));
    EXPECT_EQ(screen.ParentRect(plain.hwnd), (Rect{10, 10, 110, 90}));

    CWin container(&app, nullptr, kWinContainer, "container", 0, 0, 300, 200);
    CWin child(&app, &container, kWinEmbedded | kWinAltMaximise | kWinTitleBar | kWinMaxButton, "child", 5, 5, 80, 60);
    container.Show(true);
    child.Show(false);
    EXPECT_TRUE(child.KeyDown(kKeyF11, 0));
    EXPECT_EQ(screen.ParentRect(child.hwnd), (Rect{5, 5, 85, 65}));
    EXPECT_EQ(screen.ParentRect(container.hwnd), screen.workArea);
    // The title bar's maximise button (after the close button) does the same: the container is restored.
    auto* button = static_cast<CWindowButton*>(child.titleBar->Child(1));
    ASSERT_EQ(button->buttonKind, kButtonMaximise);
    button->Click();
    EXPECT_EQ(screen.ParentRect(container.hwnd), (Rect{0, 0, 300, 200}));

    CWin top(&app, nullptr, kWinTitleBar | kWinResizable, "top", 100, 50, 200, 120);
    top.Show(true);
    EXPECT_TRUE(top.KeyDown(kKeyF11, 0));
    EXPECT_EQ(screen.ParentRect(top.hwnd), screen.workArea);

    CWin inner(&app, &top, kWinEmbedded, "inner", 10, 40, 60, 40);
    inner.ToggleMaximise();
    EXPECT_EQ(screen.ParentRect(inner.hwnd), (Rect{kBorder, kBorder + kTitleHeight, 1024 - kBorder, 728 - kBorder}));
    inner.ToggleMaximise();
    EXPECT_EQ(screen.ParentRect(inner.hwnd), (Rect{10, 40, 70, 80}));
    EXPECT_TRUE(top.KeyDown(kKeyF11, 0));
    EXPECT_EQ(screen.ParentRect(top.hwnd), (Rect{100, 50, 300, 170}));
}

TEST_F(CWinOwnershipTest, ServedPopupsWithDeleteOnCloseAreDeletedByTheServingLoop)
{
    main = new CWin(&app, nullptr, 0, "main", 0, 0, 200, 150);
    main->Show(true);
    app.globalKeyHandler = new _COnKey<CWinOwnershipTest>(this, &CWinOwnershipTest::Key);

    // Closed by the user while the outer popup runs on: deleted at once.
    outer = new CCountedWin(&app, main, kWinNoActivate | kWinEscapeCloses, &deaths);
    screen.Key('a');
    screen.Key(kKeyEscape);
    screen.Key('a');
    screen.Key('c');
    outer->RunPopup();
    // The second one was still open when the outer loop ended: closed and deleted then.
    EXPECT_EQ(served, 2);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(app.servedPopups.Count(), 0);
    EXPECT_EQ(app.popupStack.Count(), 0);
    EXPECT_EQ(app.topPopup, nullptr);
    delete outer;
    delete main;
    EXPECT_EQ(deaths, 3);
}

TEST_F(CWinOwnershipTest, APopupOutlivesItsOwnerSafely)
{
    CMenuItem menu("menu");
    menu.Add("one", 1);
    CWin* main = new CWin(&app, nullptr, 0, "main", 0, 0, 200, 150);
    CPopup* popup = new CPopup(&app, main, &menu);
    int deaths = 0;
    CWin* dialog = new CCountedWin(&app, main, 0, &deaths);
    main->Show(true);
    popup->PlaceAt(10, 10);
    popup->Show(false);
    delete main;
    EXPECT_EQ(popup->owner, nullptr);
    EXPECT_EQ(dialog->owner, nullptr);
    // Keys it does not handle find no owner to go to any more.
    popup->KeyDown('q', 0);
    delete popup;
    delete dialog;
    EXPECT_EQ(deaths, 1);
}

TEST(CWinOwnership, EmbeddedWindowsLoseTheirSystemWindowsWithTheirOwner)
{
    CDestroyLog screen;
    CApp app(&screen);
    CWin* owner = new CWin(&app, nullptr, 0, "owner", 0, 0, 200, 150);
    CWin* child = new CWin(&app, owner, kWinEmbedded, "child", 10, 10, 100, 80);
    CWin* grandchild = new CWin(&app, child, kWinEmbedded, "grandchild", 5, 5, 40, 30);
    const SysWindow ownerId = owner->hwnd;
    const SysWindow childId = child->hwnd;
    const SysWindow grandchildId = grandchild->hwnd;
    delete owner;
    // Deepest first, each once, so that every drawing context is released.
    EXPECT_EQ(screen.destroyed, (std::vector<SysWindow>{grandchildId, childId, ownerId}));
    EXPECT_EQ(child->owner, nullptr);
    EXPECT_EQ(child->hwnd, 0u);
    EXPECT_EQ(grandchild->hwnd, 0u);
    EXPECT_EQ(screen.Context(childId), nullptr);
    delete grandchild;
    delete child;
    EXPECT_EQ(screen.destroyed.size(), 3u);
}

}  // namespace
