#include "gui/dialogs/CColorWin.h"

#include "core/WindowTestKit.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CValue.h"

#include <gtest/gtest.h>

namespace
{

class CColorWinTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CColorWinTest, ChannelsAllAndPreview)
{
    CColorWin win(&app, "Colour", 0x3080C0);
    EXPECT_EQ(win.channels[0]->value, 0xC0);
    EXPECT_EQ(win.channels[1]->value, 0x80);
    EXPECT_EQ(win.channels[2]->value, 0x30);
    EXPECT_EQ(win.all->value, (0xC0 + 0x80 + 0x30 + 1) / 3);
    // "All" up by 100: red stops at 255, the others move the whole way.
    win.all->SetValue(win.all->value + 100);
    win.all->OnChange->Call(win.all);
    EXPECT_EQ(win.colour, 0x94E4FFu);
    win.channels[2]->SetValue(0);
    win.channels[2]->OnChange->Call(win.channels[2]);
    EXPECT_EQ(win.colour, 0x00E4FFu);
    EXPECT_EQ(win.all->value, (0xFF + 0xE4 + 1) / 3);
    // The preview at (144, 16) shows the colour; a double click on it chooses.
    const int32_t px = 3 + 144 + 20;
    const int32_t py = 23 + 16 + 20;
    // Centred when shown: (1024 - 296) / 2, (768 - 256) / 2.
    const Rect r{364, 256, 660, 512};
    Click(r.left + px, r.top + py);
    Click(r.left + px, r.top + py);
    win.RunModal();
    EXPECT_EQ(win.result, kResultOk);
    EXPECT_EQ(screen.Context(win.hwnd)->GetPixel(px, py), 0x00E4FFu);
}

}  // namespace
