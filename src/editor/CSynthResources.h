#pragma once

#include "editor/CKnobImage.h"
#include "gui/draw/CResources.h"

#include <cstdint>
#include <string>

class CSynth;

// The editor's view state, which outlives an editor window: the page and
// panel selections, the file browser's folder and the knob filmstrip. Owned
// by the editor factory; the synth knows nothing of it.
class CSynthResources : public CResources
{
public:
    // Pages of the editor and the page view.
    static constexpr int32_t kSoundEditor = 0;
    static constexpr int32_t kPageView = 1;
    static constexpr int32_t kPresetsPage = 0;
    static constexpr int32_t kAboutPage = 1;

    // synth is not owned and outlives the view state.
    explicit CSynthResources(CSynth& synth) : synth(synth) {}

    // Asks the open editor to rebuild at its next idle (the synth's
    // programsChanged, which program changes and loads raise too).
    void RequestRebuild();

    int32_t pagesShown = kSoundEditor;
    int32_t pageIndex = kPresetsPage;
    // Modulation panel: source entry (0 LFO, 1 ENV, 2 VEL, 3 RND, 4
    // controller), LFO number 0..2, VEL and RND sub-pages 0..1, controller
    // sub-page (0 mod wheel, 1 key tracking, 2 pitch bend).
    int32_t modSource = 0;
    int32_t modLfo = 0;
    int32_t modVelPage = 0;
    int32_t modRndPage = 0;
    int32_t modControllerPage = 0;
    // Effects panel: mode (0 the six levels, 1 one effect) and effect index
    // 0..5 (chorus, phaser, delay, reverb, waveshaper, EQ).
    int32_t fxMode = 0;
    int32_t fxIndex = 0;
    // The folder the file browser showed last for bank and program files.
    std::string fileFolder;
    // Shared by every knob; knobs sit on the black panels.
    CKnobImage knobImage{0};

private:
    CSynth& synth;
};
