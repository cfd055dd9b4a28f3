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
#include "io/HeapString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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
        std::string pattern = ::testing::TempDir() + "velmora-browse-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        top = pattern;
        root = CFileSystem::Join(top, "files");
        ASSERT_TRUE(CFileSystem::CreateFolder(root));
        ini = CFileSystem::Join(top, "settings.ini");
        Touch(CFileSystem::Join(root, "a.vlm"));
        Touch(CFileSystem::Join(root, "b.txt"));
        ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(root, "sub")));
        ASSERT_TRUE(CFileSystem::CreateFolder(CFileSystem::Join(root, "Zeta")));
        Touch(CFileSystem::Join(CFileSystem::Join(root, "sub"), "inner.vlm"));
    }
    void TearDown() override
    {
        const std::string command = "rm -rf '" + top + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    static void Touch(const std::string& path)
    {
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    // A new folder name under root with count empty files named by format
    // (one %d-style conversion for the index).
    std::string FolderOfFiles(const char* name, int count, const char* format)
    {
        const std::string folder = CFileSystem::Join(root, name);
        EXPECT_TRUE(CFileSystem::CreateFolder(folder));
        for (int i = 0; i < count; ++i)
        {
            char file[32];
            std::snprintf(file, sizeof file, format, i);
            Touch(CFileSystem::Join(folder, file));
        }
        return folder;
    }
    void Type(const char* s)
    {
        for (; *s != '\0'; ++s)
            screen.Key(static_cast<unsigned char>(*s));
    }
    static std::vector<std::string> Rows(const CFileWin& win)
    {
        std::vector<std::string> rows;
        for (int32_t i = 0; i < win.list->Count(); ++i)
            rows.push_back(win.list->Item(i)->text);
        return rows;
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
    // A step that types keys.
    std::function<bool()> Press(std::initializer_list<int32_t> keys)
    {
        std::vector<int32_t> k(keys);
        return [this, k]()
        {
            for (int32_t key : k)
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
    // left, top, width, height and tree width as written in the settings.
    std::vector<int> Placement()
    {
        std::vector<int> values;
        for (const char* key : {"left", "top", "width", "height", "tree"})
            values.push_back(CIniFile(ini.c_str()).ReadInt("filewin", key, -12345));
        return values;
    }

    std::string top;
    std::string root;
    std::string ini;
};

TEST_F(CFileWinTest, WithoutSettingsItOpensAt200By480AndWritesItsPlacementOnClose)
{
    CFileWin win(&app, nullptr, "Open");
    OpenAndCancel(win, ini);
    EXPECT_EQ(win.result, kResultCancel);
    EXPECT_EQ(screen.ScreenRect(win.hwnd), (Rect{200, 200, 680, 680}));
    EXPECT_EQ(Placement(), (std::vector<int>{200, 200, 480, 480, 160}));

    // Moved and with a wider tree, the next browser opens where this one was left.
    CIniFile(ini.c_str()).WriteInt("filewin", "left", 40);
    CIniFile(ini.c_str()).WriteInt("filewin", "tree", 100);
    CFileWin again(&app, nullptr, "Open");
    OpenAndCancel(again, ini);
    EXPECT_EQ(screen.ScreenRect(again.hwnd), (Rect{40, 200, 520, 680}));
    EXPECT_EQ(again.tree->width, 100);
    EXPECT_EQ(again.list->x, 104);
}

TEST_F(CFileWinTest, GarbageSettingsGiveASaneOnScreenPlacement)
{
    {
        FILE* f = std::fopen(ini.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("[filewin]\nleft=-3000\ntop=12abc\nwidth=-5\nheight=99999999999\ntree=100000\n", f);
        std::fclose(f);
    }
    CFileWin win(&app, nullptr, "Open");
    OpenAndCancel(win, ini);
    // Width at the browser's minimum, height at the screen's; placed back at (200, 200) as far as it fits.
    EXPECT_EQ(screen.ScreenRect(win.hwnd), (Rect{200, 0, 440, 768}));
    EXPECT_LE(win.tree->width, win.clientGroup->width - 44);
    EXPECT_GE(win.list->width, 40);
    // No settings path: centred on the screen, and nothing written.
    CFileWin plain(&app, nullptr, "Open");
    OpenAndCancel(plain, "");
    EXPECT_EQ(screen.ScreenRect(plain.hwnd), (Rect{272, 144, 752, 624}));
}

TEST_F(CFileWinTest, EnterOpensTheSelectedFolderAndChoosesTheSelectedFile)
{
    CFileWin win(&app, nullptr, "Open");
    win.folder = root;
    win.extension = ".vlm";
    CStepper stepper(&app);
    std::vector<std::string> rows;
    stepper.steps.push_back(
        [&]()
        {
            rows = Rows(win);
            screen.Key(kKeyDown);
            screen.Key(kKeyEnter);
            screen.Key(kKeyEnd);
            screen.Key(kKeyEnter);
            return true;
        });
    win.RunModal();
    // Folders first in name order ignoring case, then the files with the extension.
    EXPECT_EQ(rows, (std::vector<std::string>{"sub", "Zeta", "a.vlm"}));
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
    Type("made");
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
            return true;
        });
    // "New folder" from the menu of a right click below the list's rows (centred browser: list from (439, 167)).
    stepper.steps.push_back(
        [&]()
        {
            if (win.folder != root)
                return false;
            screen.Press(500, 400, kMouseRight);
            screen.Release(500, 400, kMouseRight);
            screen.Key(kKeyDown);
            screen.Key(kKeyEnter);
            Type("menu");
            screen.Key(kKeyEnter);
            return true;
        });
    stepper.steps.push_back(
        [&]()
        {
            if (win.folder != CFileSystem::Join(root, "menu"))
                return false;
            screen.Key(kKeyEscape);
            return true;
        });
    win.RunModal();
    EXPECT_EQ(win.folder, CFileSystem::Join(root, "menu"));
    EXPECT_EQ(madeIn, CFileSystem::Join(root, "made"));
    EXPECT_EQ(CFileSystem::Attributes(madeIn), kFileExists | kFileFolder);
    EXPECT_EQ(win.result, kResultCancel);
    EXPECT_FALSE(screen.Exhausted());
}

TEST_F(CFileWinTest, SaveRefusesAWrongExtensionAndReplacesOnlyAfterOk)
{
    CSaveWin win(&app, nullptr, "Save preset");
    win.folder = root;
    win.extension = ".vlm";
    win.options = kFileAskReplace;
    win.fileName = "x.txt";
    win.focusOnList = 0;
    std::string first;
    std::string second;
    CStepper stepper(&app);
    stepper.steps.push_back(Press({kKeyEnter}));
    stepper.steps.push_back(Answer(&first, kKeyEnter));
    // Refused: the browser stays open. Now an existing name, replaced after OK.
    stepper.steps.push_back(
        [&]()
        {
            if (TopPrompt() != nullptr || !win.visible)
                return false;
            win.nameField->SetText("a.vlm");
            screen.Key(kKeyEnter);
            return true;
        });
    stepper.steps.push_back(Answer(&second, kKeyEnter));
    win.RunModal();
    EXPECT_EQ(first, "Save preset|File extention does not match '.vlm'");
    EXPECT_EQ(second, "Save preset|'a.vlm' already exists. Do you want to replace it?");
    EXPECT_EQ(win.result, kResultOk);
    EXPECT_EQ(win.Path(), CFileSystem::Join(root, "a.vlm"));

    // Declining the replacement cancels the browser.
    std::string third;
    stepper.steps.push_back(Press({kKeyEnter}));
    stepper.steps.push_back(Answer(&third, kKeyEscape));
    win.fileName = "a.vlm";
    win.RunModal();
    EXPECT_EQ(third, "Save preset|'a.vlm' already exists. Do you want to replace it?");
    EXPECT_EQ(win.result, kResultCancel);
    EXPECT_FALSE(screen.Exhausted());
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

TEST_F(CFileWinTest, AFolderBrowserAsksBeforeTakingANonEmptyFolder)
{
    CFolderWin win(&app, nullptr, "Folder");
    win.folder = root;
    win.confirmNonEmpty = 1;
    win.fileName = "unused";
    win.focusOnList = 0;
    std::string asked;
    CStepper stepper(&app);
    std::vector<std::string> rows;
    stepper.steps.push_back(
        [&]()
        {
            rows = Rows(win);
            screen.Key(kKeyEnter);
            return true;
        });
    stepper.steps.push_back(Answer(&asked, kKeyEscape));
    win.RunModal();
    EXPECT_EQ(rows, (std::vector<std::string>{"sub", "Zeta"}));
    EXPECT_EQ(asked, "Folder not empty|Are you sure?");
    EXPECT_EQ(win.result, kResultCancel);
}

TEST_F(CFileWinTest, AFolderOfThousandsOfEntriesListsAndScrollsToTheEnd)
{
    const std::string big = FolderOfFiles("big", 2000, "p%04d.vlm");
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

// The centred 480 x 480 browser: client area from (275, 167); the list 310
// x 430 from (439, 167). 200 rows of 16 pixels: maximum 3200 - 430 = 2770,
// page 430. Dragging and paging the bar itself is the scroll bar's own test.
TEST_F(CFileWinTest, ScrollBarsFollowTheFolderTheInputAndTheSize)
{
    const std::string many = FolderOfFiles("many", 200, "f%03d.vlm");
    CFileWin win(&app, nullptr, "Open");
    win.folder = many;
    CScrollbar* bar = win.list->bar;
    // "visible maximum page value" of the list's bar before each step.
    std::vector<std::string> seen;
    CStepper stepper(&app);
    auto step = [&](std::function<void()> then)
    {
        stepper.steps.push_back(
            [&seen, bar, then]()
            {
                seen.push_back(std::to_string(bar->visible) + " " + std::to_string(bar->maximum) + " " +
                               std::to_string(bar->page) + " " + std::to_string(bar->value));
                then();
                return true;
            });
    };
    step([&]() { screen.Turn(500, 300, -120); });
    // Page Down from the first row selects row 26 (430 / 16 rows): its foot at 432 scrolls by 2.
    step(
        [&]()
        {
            win.SetFocusCtrl(win.list);
            screen.Key(kKeyHome);
            screen.Key(kKeyPageDown);
        });
    step([&]() { screen.Key(kKeyEnd); });
    // 150 pixels shorter: the list is 280 high, maximum 3200 - 280.
    step([&]() { app.system->SetRect(win.hwnd, Rect{272, 144, 752, 474}); });
    // Up to the files folder: five rows fit, no bar.
    step(
        [&]()
        {
            win.nameField->SetText("");
            win.SetFocusCtrl(win.nameField);
            screen.Key(kKeyBackspace);
        });
    step([&]() { screen.Key(kKeyEscape); });
    win.RunModal();
    const std::vector<std::string> expected{"1 2770 430 0",    "1 2770 430 120",  "1 2770 430 2",
                                            "1 2770 430 2770", "1 2920 280 2770", "0 0 280 0"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(win.tree->height, 280);
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
