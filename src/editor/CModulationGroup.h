#pragma once

#include <array>

#include "editor/CSoundPanels.h"

// The modulation panel: a header of five sources (LFO n, ENV, VEL n, RND n
// and the controller page) and the page of the selected one. The header's
// advance steps the selected source's sub-page, its menu lists them.
class CModulationGroup : public CSynthPanel
{
public:
    CModulationGroup(CSynthWin* window, CSynth* synth);

    // Sources of the header, as kept in the view state.
    static constexpr int32_t kLfo = 0;
    static constexpr int32_t kEnv = 1;
    static constexpr int32_t kVel = 2;
    static constexpr int32_t kRnd = 3;
    static constexpr int32_t kController = 4;

private:
    void BuildLfoPage(int32_t k);
    void BuildEnvPage();
    void BuildVelPage(int32_t page);
    void BuildRndPage(int32_t page);
    // The eight targets of page 0 (two rows) or the three of page 1 shared by
    // the velocity and random sources, in that order.
    void BuildTargetPage(int32_t page, const std::array<float*, 11>& fields);
    void BuildControllerPage(int32_t page);
    // The selected source's sub-page field and its number of sub-pages (null, 0 for ENV).
    int32_t* SubPage(int32_t& count);
    void Advance(CCtrl* sender);
    void Menu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void LfoWaveMenu(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
};
