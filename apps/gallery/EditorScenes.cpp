#include "Scenes.h"

#include "editor/CSynthResources.h"
#include "editor/CSynthWin.h"
#include "gui/core/CApp.h"
#include "gui/platform/CSoftScreen.h"
#include "gui/platform/InputCodes.h"
#include "synth/CSynth.h"

#include <string>

namespace
{

// A new instance's editor on the in-memory screen.
class CEditorStage
{
public:
    CEditorStage() : app(&screen), win(&app, &synth, &view) { win.Show(true); }

    void Pump()
    {
        Message m;
        while (screen.Peek(m))
            screen.Dispatch(m);
    }
    // Rebuilds what the view state asks for, as the host's idle does.
    void Idle()
    {
        synth.programsChanged = 1;
        win.Idle();
        Pump();
    }
    void Shoot(CPictureFolder& folder, const std::string& name)
    {
        win.PaintWindow(Rect{0, 0, win.width, win.height});
        folder.Write(*screen.Context(win.hwnd), name);
    }

    CSoftScreen screen;
    CApp app;
    CSynth synth;
    CSynthResources view{synth};
    CSynthWin win;
};

}  // namespace

void EditorScenes(CPictureFolder& folder)
{
    CEditorStage stage;
    stage.Pump();
    stage.Shoot(folder, "editor-default");
    for (int32_t program : {20, 34})
    {
        stage.synth.SetProgram(program);
        stage.Idle();
        stage.Shoot(folder, "editor-program-" + std::to_string(program));
    }
    // The delay with its beat count, a synced LFO and the delay's TIME knob
    // held down, showing its value.
    stage.view.fxMode = 1;
    stage.view.fxIndex = 2;
    stage.view.modLfo = 1;
    stage.synth.currentProgram->lfo[1].sync = 1;
    stage.Idle();
    stage.screen.Press(552 + 4 + 64 + 32, 180 + 24 + 32, kMouseLeft);
    stage.Pump();
    stage.Shoot(folder, "editor-pages");
    stage.screen.Release(552 + 4 + 64 + 32, 180 + 24 + 32, kMouseLeft);
    stage.Pump();
    stage.view.pagesShown = CSynthResources::kPageView;
    for (auto [page, name] : {std::pair<int32_t, const char*>{CSynthResources::kPresetsPage, "editor-browser"},
                              {CSynthResources::kAboutPage, "editor-about"}})
    {
        stage.view.pageIndex = page;
        stage.Idle();
        stage.Shoot(folder, name);
    }
}
