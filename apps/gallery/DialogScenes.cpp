#include "Scenes.h"

#include "gui/core/CApp.h"
#include "gui/dialogs/CColorWin.h"
#include "gui/dialogs/CFileWin.h"
#include "gui/dialogs/CPromptWin.h"
#include "gui/dialogs/CTextWin.h"
#include "gui/platform/CFileSystem.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/platform/InputCodes.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace
{

// Writes the picture of a running dialog at its first idle tick, then ends it with Escape.
class CSnapshot : public CCtrl
{
public:
    CSnapshot(CApp* app, CSoftScreen* screen, CWin* win, CPictureFolder* folder, const char* name)
        : CCtrl(nullptr), app(app), screen(screen), win(win), folder(folder), name(name)
    {
        app->StartTimer(this, 10, false);
    }
    ~CSnapshot() override { app->StopTimer(this); }
    void Timer() override
    {
        taken = true;
        folder->Write(*screen->Context(win->hwnd), name);
        screen->Key(kKeyEscape);
    }

    CApp* app;
    CSoftScreen* screen;
    CWin* win;
    CPictureFolder* folder;
    const char* name;
    bool taken = false;
};

// Runs the dialog until its snapshot is taken.
void Shoot(CApp& app, CSoftScreen& screen, CWin& dialog, CPictureFolder& folder, const char* name)
{
    CSnapshot shot(&app, &screen, &dialog, &folder, name);
    dialog.RunModal();
    if (!shot.taken)
        folder.Fail(name, "the dialog ended before its picture was taken");
}

// A folder of presets for the browser, enough for the list's scroll bar.
bool MakePresets(const std::string& top)
{
    std::error_code error;
    std::filesystem::remove_all(top, error);
    for (const char* sub : {"Basses", "Leads", "Pads"})
        if (!std::filesystem::create_directories(CFileSystem::Join(top, sub), error))
            return false;
    for (const char* file : {"Init.vlm", "Warm strings.vlm", "Glass bell.vlm"})
        std::ofstream(CFileSystem::Join(top, file));
    for (int i = 1; i <= 40; ++i)
        std::ofstream(CFileSystem::Join(top, "Patch " + std::to_string(i) + ".vlm"));
    return true;
}

}  // namespace

void DialogScenes(CPictureFolder& folder)
{
    CSoftScreen screen;
    CApp app(&screen);
    const std::string presets = CFileSystem::Join(folder.folder, "dialog-presets");
    if (MakePresets(presets))
    {
        CFileWin browser(&app, nullptr, "Load preset");
        browser.folder = presets;
        browser.fileName = "Init.vlm";
        Shoot(app, screen, browser, folder, "dialog-filewin");
    }
    else
    {
        folder.Fail("dialog-filewin", "cannot make the preset folder " + presets);
    }
    std::error_code error;
    std::filesystem::remove_all(presets, error);

    CPromptWin prompt(&app, "Save preset", "'Init.vlm' already exists. Do you want to replace it?", 3);
    Shoot(app, screen, prompt, folder, "dialog-prompt");
    CTextWin text(&app, "New folder", "Drums");
    Shoot(app, screen, text, folder, "dialog-textwin");
    CColorWin colour(&app, "Colour", 0x3080C0);
    Shoot(app, screen, colour, folder, "dialog-colorwin");
}
