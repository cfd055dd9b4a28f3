#include "Gallery.h"
#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/core/InputCodes.h"
#include "gui/dialogs/CColorWin.h"
#include "gui/dialogs/CFileWin.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/dialogs/CTextWin.h"
#include "gui/platform/CFileSystem.h"
#include "gui/widgets/CValue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

// Writes the picture of a running dialog from its first idle tick, then ends it with Escape.
class CSnapshot : public CCtrl
{
public:
    CSnapshot(CApp* app, CSoftScreen* screen, CWin* win, const char* name)
        : CCtrl(nullptr), app(app), screen(screen), win(win), name(name)
    {
        app->StartTimer(this, 10, false);
    }
    ~CSnapshot() override { app->StopTimer(this); }
    void Timer() override
    {
        written = WriteGalleryPng(*screen->Context(win->hwnd), name);
        screen->Key(kKeyEscape);
    }

    CApp* app;
    CSoftScreen* screen;
    CWin* win;
    std::string name;
    bool written = false;
};

class DialogsGalleryTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(DialogsGalleryTest, FileBrowserPromptTextAndColour)
{
    std::string top = ::testing::TempDir() + "velmora-gallery-XXXXXX";
    ASSERT_NE(mkdtemp(top.data()), nullptr);
    for (const char* folder : {"Basses", "Leads", "Pads"})
        ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(top, folder)));
    for (const char* file : {"Init.vlm", "Warm strings.vlm", "Glass bell.vlm"})
        std::fclose(std::fopen(CFileSystem::Join(top, file).c_str(), "wb"));
    // Enough presets for the list's scroll bar.
    for (int i = 1; i <= 40; ++i)
        std::fclose(std::fopen(CFileSystem::Join(top, "Patch " + std::to_string(i) + ".vlm").c_str(), "wb"));

    CFileWin browser(&app, nullptr, "Load preset");
    browser.folder = top;
    browser.fileName = "Init.vlm";
    CSnapshot shot(&app, &screen, &browser, "dialog-filewin");
    browser.RunModal();
    EXPECT_TRUE(shot.written);

    CPromptWin prompt(&app, "Save preset", "'Init.vlm' already exists. Do you want to replace it?", 3);
    CSnapshot promptShot(&app, &screen, &prompt, "dialog-prompt");
    prompt.RunModal();
    EXPECT_TRUE(promptShot.written);

    CTextWin text(&app, "New folder", "Drums");
    CSnapshot textShot(&app, &screen, &text, "dialog-textwin");
    text.RunModal();
    EXPECT_TRUE(textShot.written);
    EXPECT_EQ(text.result, kResultCancel);

    CColorWin colour(&app, "Colour", 0x3080C0);
    CSnapshot colourShot(&app, &screen, &colour, "dialog-colorwin");
    colour.RunModal();
    EXPECT_TRUE(colourShot.written);
    EXPECT_EQ(std::system(("rm -rf '" + top + "'").c_str()), 0);
}

class CColorWinTest : public ::testing::Test, public WindowTestKit
{
};

TEST_F(CColorWinTest, ChannelsAllAndPreview)
{
    CColorWin win(&app, "Colour", 0x3080C0);
    EXPECT_EQ(screen.ScreenRect(win.hwnd).Width(), 296);
    EXPECT_EQ(screen.ScreenRect(win.hwnd).Height(), 256);
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
    screen.Press(r.left + px, r.top + py, kMouseLeft);
    screen.Release(r.left + px, r.top + py, kMouseLeft);
    screen.Press(r.left + px, r.top + py, kMouseLeft);
    screen.Release(r.left + px, r.top + py, kMouseLeft);
    win.RunModal();
    EXPECT_EQ(win.result, kResultOk);
    EXPECT_EQ(screen.Context(win.hwnd)->GetPixel(px, py), 0x00E4FFu);
}

} // namespace
