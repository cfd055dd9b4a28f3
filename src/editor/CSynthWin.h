#pragma once

#include "editor/CPluginWin.h"
#include "io/CList.h"

#include <cstdint>
#include <string>
#include <vector>

class CSynth;
class CSynthResources;

// The synth's editor: a borderless 824 x 376 window that shows either the
// sound editor (six panels of knobs bound to the current program) or a page
// view (program browser or About page with three tabs), always above the
// bottom strip (title, level meter, program header, version). Everything is
// rebuilt from scratch whenever the synth's programsChanged asks for it; the
// view state (CSynthResources) lives outside the window, so it survives
// rebuilds and reopening. User-interface thread only.
class CSynthWin : public CPluginWin
{
public:
    static constexpr int32_t kPanelWidth = 264;
    static constexpr int32_t kPanelHeight = 164;
    static constexpr int32_t kStripHeight = 20;
    static constexpr int32_t kGap = 8;
    static constexpr int32_t kWidth = 3 * kPanelWidth + 4 * kGap;  // 824
    // Two rows of panels, then the strip (20) with 4 above and 8 below it: 376.
    static constexpr int32_t kHeight = 2 * (kPanelHeight + kGap) + 32;
    // Peaks fall by this much per idle.
    static constexpr float kPeakFall = 0.05f;

    // app, synth and resources are not owned and outlive the window.
    CSynthWin(CApp* app, CSynth* synth, CSynthResources* resources);

    // Rebuilds and repaints when programsChanged is raised; otherwise
    // repaints the idle controls (the meter) and lowers the output peaks.
    void Idle() override;
    // Deletes every control and builds the tree for the current view state.
    void Rebuild();

    // The toolkit's popups and dialogs as the editor uses them. While one
    // runs, its loop may deliver a host idle: the rebuild then waits until
    // it has closed, so that the control that opened it stays alive.
    // A popup menu at local (x, y) of at; items "-" are separators. Returns
    // the chosen item's index, -1 when nothing was chosen.
    int32_t ChooseFromMenu(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked);
    // A message box with the buttons of flags (1 OK, 2 Cancel); returns the button's id.
    int32_t Ask(const char* title, const char* message, int32_t flags);
    // The file browser: a file to load (save false) or to save with extension; false when cancelled.
    bool ChooseFile(bool save, const char* extension, std::string& path);
    virtual void OpenWebAddress(const char* url);

    // The bank commands of the browser menu, by item index (see BrowserMenuItems).
    void RunBrowserCommand(int32_t item);
    static const std::vector<std::string>& BrowserMenuItems();

    CList idleList;  // controls repainted on every idle; not owned
    CList knobList;  // knobs bound to program fields, which follow them at every idle; not owned
    CSynth* synth;
    CSynthResources* resources;
    int32_t openDialogs = 0;  // menus and dialogs running now

protected:
    // What ChooseFromMenu, Ask and ChooseFile run: the toolkit's popup,
    // message box and file browser (tests answer in their place).
    virtual int32_t RunMenu(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked);
    virtual int32_t RunAsk(const char* title, const char* message, int32_t flags);
    virtual bool RunFileBrowser(bool save, const char* extension, std::string& path);

private:
    void BuildSoundEditor(CGroup* panel);
    void BuildPageView(CGroup* panel);
    void BuildStrip(CGroup* panel);
    void TabPressed(CCtrl* tab);
    void ToggleAbout(CCtrl* label);
    void BrowserMenu(CCtrl* browser, int32_t x, int32_t y, int32_t flags);
    void LoadFile(bool bank);
    void SaveFile(bool bank);
};
