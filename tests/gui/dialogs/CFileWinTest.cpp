#include "gui/dialogs/CFileWin.h"

#include "core/WindowTestKit.h"
#include "gui/core/CClientGroup.h"
#include "gui/dialogs/CFileList.h"
#include "gui/dialogs/CFileTree.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/platform/CFileSystem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CEdit.h"
#include "gui/widgets/CScrollbar.h"
#include "io/CIniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

// Runs scripted steps from inside the modal loops: on every idle tick the
// first step is tried, and taken off when it returns true.
class CStepper : public CCtrl
{
public:
    explicit CStepper(CApp* app) : CCtrl(nullptr), app(app) { app->StartTimer(this, 10, true); }
    ~CStepper() override { app->StopTimer(this); }
    void Timer() override
    {
        if (!steps.empty() && steps.front()())
            steps.erase(steps.begin());
    }

    CApp* app;
    std::vector<std::function<bool()>> steps;
};

class CFileWinTest : public ::testing::Test, public WindowTestKit
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CFileSystem::CreateFolder(root));
        ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(root, "sub")));
        ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(root, "Zeta")));
        for (const char* file : {"a.vlm", "b.txt", "sub/inner.vlm"})
            top.Write(std::string("files/") + file, "");
    }
    // The newest shown message box, or null.
    CPromptWin* TopPrompt()
    {
        const int32_t n = app.shownWindows.Count();
        return n > 0 ? dynamic_cast<CPromptWin*>(static_cast<CWin*>(app.shownWindows.Get(n - 1))) : nullptr;
    }
    // A step that notes the message of the box shown and answers it with key.
    std::function<bool()> Answer(std::string* message, int32_t key)
    {
        return [this, message, key]()
        {
            CPromptWin* p = TopPrompt();
            if (p == nullptr)
                return false;
            *message = std::string(p->Name()) + "|" + p->clientGroup->Child(0)->text;
            screen.Key(key);
            return true;
        };
    }
    // Opens win on root with the settings at iniPath and closes it with Escape.
    void OpenAndCancel(CFileWin& win, const std::string& iniPath)
    {
        win.folder = root;
        win.iniPath = iniPath;
        screen.Key(kKeyEscape);
        win.RunModal();
    }

    TempDir top;
    const std::string root = top.File("files");
    const std::string ini = top.File("settings.ini");
};

TEST_F(CFileWinTest, ThePlacementIsWrittenOnCloseAndReadBackWithinTheScreen)
{
    // Without settings at (200, 200), 480 x 480, the tree 160 wide.
    CFileWin win(&app, nullptr, "Open");
    OpenAndCancel(win, ini);
    EXPECT_EQ(win.result, kResultCancel);
    EXPECT_EQ(screen.ScreenRect(win.hwnd), (Rect{200, 200, 680, 680}));
    std::vector<int> written;
    for (const char* key : {"left", "top", "width", "height", "tree"})
        written.push_back(CIniFile(ini.c_str()).ReadInt("filewin", key, -12345));
    EXPECT_EQ(written, (std::vector<int>{200, 200, 480, 480, 160}));

    // Moved and with a wider tree, the next browser opens where this one was left.
    CIniFile(ini.c_str()).WriteInt("filewin", "left", 40);
    CIniFile(ini.c_str()).WriteInt("filewin", "tree", 100);
    CFileWin again(&app, nullptr, "Open");
    OpenAndCancel(again, ini);
    EXPECT_EQ(screen.ScreenRect(again.hwnd), (Rect{40, 200, 520, 680}));
    EXPECT_EQ(again.list->x, 104);

    // Garbage: width at the browser's minimum, height at the screen's; back at (200, 200) as far as it fits.
    top.Write("settings.ini", "[filewin]\nleft=-3000\ntop=12abc\nwidth=-5\nheight=99999999999\ntree=100000\n");
    CFileWin garbage(&app, nullptr, "Open");
    OpenAndCancel(garbage, ini);
    EXPECT_EQ(screen.ScreenRect(garbage.hwnd), (Rect{200, 0, 440, 768}));
    EXPECT_LE(garbage.tree->width, garbage.clientGroup->width - 44);
    EXPECT_GE(garbage.list->width, 40);
    // No settings path: centred on the screen.
    CFileWin plain(&app, nullptr, "Open");
    OpenAndCancel(plain, "");
    EXPECT_EQ(screen.ScreenRect(plain.hwnd), (Rect{272, 144, 752, 624}));
}

TEST_F(CFileWinTest, EnterOpensTheSelectedFolderAndChoosesTheSelectedFile)
{
    CFileWin win(&app, nullptr, "Open");
    win.folder = root;
    win.extension = ".vlm";
    for (int32_t key : {kKeyDown, kKeyEnter, kKeyEnd, kKeyEnter})
        screen.Key(key);
    win.RunModal();
    EXPECT_EQ(win.result, kResultOk);
    EXPECT_EQ(win.folder, CFileSystem::Join(root, "sub"));
    EXPECT_EQ(win.Path(), CFileSystem::Join(CFileSystem::Join(root, "sub"), "inner.vlm"));
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CFileWinTest, NewFolderIsMadeAndEnteredAndBackspaceLeadsBack)
{
    CFileWin win(&app, nullptr, "Open");
    win.folder = root;
    screen.Key(kKeyInsert);
    for (char c : std::string("made"))
        screen.Key(c);
    screen.Key(kKeyEnter);
    CStepper stepper(&app);
    std::string madeIn;
    stepper.steps.push_back(
        [&]()
        {
            if (win.folder == root)
                return false;
            madeIn = win.folder;
            // Backspace in the empty name field: up to the parent folder.
            win.SetFocusCtrl(win.nameField);
            screen.Key(kKeyBackspace);
            screen.Key(kKeyEscape);
            return true;
        });
    win.RunModal();
    EXPECT_EQ(win.folder, root);
    EXPECT_EQ(madeIn, CFileSystem::Join(root, "made"));
    EXPECT_EQ(CFileSystem::Attributes(madeIn), kFileExists | kFileFolder);
    EXPECT_EQ(win.result, kResultCancel);
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CFileWinTest, SaveAndFolderBrowsersAskBeforeTheyEnd)
{
    struct Case
    {
        bool folderBrowser;
        const char* fileName;
        int32_t answer;
        const char* asked;
        int32_t result;
    };
    const Case cases[] = {
        // Refused, the browser stays open (closed here by a further Escape).
        {false, "x.txt", kKeyEnter, "Save preset|File extention does not match '.vlm'", kResultCancel},
        {false, "a.vlm", kKeyEnter, "Save preset|'a.vlm' already exists. Do you want to replace it?", kResultOk},
        {false, "a.vlm", kKeyEscape, "Save preset|'a.vlm' already exists. Do you want to replace it?", kResultCancel},
        {true, "unused", kKeyEscape, "Folder not empty|Are you sure?", kResultCancel},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<CFileWin> win;
        if (c.folderBrowser)
            win = std::make_unique<CFolderWin>(&app, nullptr, "Folder");
        else
            win = std::make_unique<CSaveWin>(&app, nullptr, "Save preset");
        win->folder = root;
        win->extension = ".vlm";
        win->options = kFileAskReplace;
        win->confirmNonEmpty = c.folderBrowser;
        win->fileName = c.fileName;
        win->focusOnList = 0;
        std::vector<std::string> rows;
        std::string asked;
        CStepper stepper(&app);
        stepper.steps.push_back(
            [&]()
            {
                for (int32_t i = 0; i < win->list->Count(); ++i)
                    rows.push_back(win->list->Item(i)->text);
                screen.Key(kKeyEnter);
                return true;
            });
        stepper.steps.push_back(Answer(&asked, c.answer));
        stepper.steps.push_back(
            [&]()
            {
                if (TopPrompt() != nullptr)
                    return false;
                screen.Key(kKeyEscape);
                return true;
            });
        win->RunModal();
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(win->result, c.result) << c.asked;
        // Folders first in name order ignoring case, then the files with the extension.
        const std::vector<std::string> shown{"sub", "Zeta", "a.vlm"};
        EXPECT_EQ(rows, std::vector<std::string>(shown.begin(), shown.end() - (c.folderBrowser ? 1 : 0)));
        if (c.result == kResultOk)
        {
            EXPECT_EQ(win->Path(), CFileSystem::Join(root, "a.vlm"));
        }
    }
}

TEST_F(CFileWinTest, OpenWithMustExistCancelsAMissingFileAndAGoneFolderOpensItsParent)
{
    CFileWin win(&app, nullptr, "Open");
    win.folder = CFileSystem::Join(CFileSystem::Join(root, "gone"), "deeper");
    win.mustExist = 1;
    win.fileName = "missing.vlm";
    win.focusOnList = 0;
    screen.Key(kKeyEnter);
    win.RunModal();
    EXPECT_EQ(win.folder, root);
    EXPECT_EQ(win.result, kResultCancel);

    win.nameField->SetText("");
    win.fileName = "a.vlm";
    screen.Key(kKeyEnter);
    win.RunModal();
    EXPECT_EQ(win.result, kResultOk);
}

TEST_F(CFileWinTest, AFolderOfThousandsOfEntriesListsAndScrollsToTheEnd)
{
    const std::string big = CFileSystem::Join(root, "big");
    ASSERT_TRUE(CFileSystem::CreateFolder(big));
    for (int i = 0; i < 2000; ++i)
        top.Write("files/big/p" + std::to_string(10000 + i).substr(1) + ".vlm", "");
    CFileWin win(&app, nullptr, "Open");
    win.folder = big;
    screen.Key(kKeyEnd);
    screen.Key(kKeyEnter);
    win.RunModal();
    EXPECT_EQ(win.list->Count(), 2000);
    EXPECT_EQ(win.fileName, "p1999.vlm");
    EXPECT_EQ(win.list->bar->value, 2000 * CFileList::kRowHeight - win.list->height);
    EXPECT_EQ(win.result, kResultOk);
}

TEST(CFileWinNames, ExtensionsCompareWithOrWithoutTheDot)
{
    EXPECT_EQ(CFileWin::ExtensionOf("a.b.vlm"), ".vlm");
    EXPECT_EQ(CFileWin::ExtensionOf("noext"), "");
    EXPECT_EQ(CFileWin::ExtensionOf("dir.d/noext"), "");
    EXPECT_TRUE(CFileWin::SameExtension(".VLM", "vlm"));
    EXPECT_TRUE(CFileWin::SameExtension("", ""));
    EXPECT_FALSE(CFileWin::SameExtension(".vlm", ".vl"));
    EXPECT_FALSE(CFileWin::SameExtension("", ".vlm"));
}

}  // namespace
