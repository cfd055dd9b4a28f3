#include "editor/CModulationGroup.h"

#include "editor/CHeader.h"
#include "editor/CParamControl.h"
#include "editor/CSynthWin.h"
#include "synth/CSynth.h"
#include "editor/CSynthResources.h"

namespace
{

constexpr int32_t kRowGap = 8;
constexpr int32_t kLfoCount = 3;
constexpr int32_t kControllerPages = 3;
const char* const kControllerEntries[] = {"M.WHL", "KBD", "P.BEND"};
const char* const kControllerItems[] = {"MOD WHEEL", "KEY TRACKING", "PITCH BEND"};

}  // namespace

CModulationGroup::CModulationGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    CSynthResources& view = *resources;
    const std::string controller = std::string(kControllerEntries[view.modControllerPage % kControllerPages]) +
                                   std::to_string(view.modControllerPage % kControllerPages + 1);
    CHeader* header = AddHeader({"LFO" + std::to_string(view.modLfo % kLfoCount + 1), "ENV",
                                 "VEL" + std::to_string(view.modVelPage % 2 + 1),
                                 "RND" + std::to_string(view.modRndPage % 2 + 1), controller},
                                &view.modSource);
    header->OnAdvance = new _COnChange<CModulationGroup>(this, &CModulationGroup::Advance);
    header->OnMenu = new _COnMouse<CModulationGroup>(this, &CModulationGroup::Menu);
    switch (view.modSource)
    {
    case kLfo:
        BuildLfoPage(view.modLfo % kLfoCount);
        break;
    case kEnv:
        BuildEnvPage();
        break;
    case kVel:
        BuildVelPage(view.modVelPage % 2);
        break;
    case kRnd:
        BuildRndPage(view.modRndPage % 2);
        break;
    default:
        BuildControllerPage(view.modControllerPage % kControllerPages);
        break;
    }
}

void CModulationGroup::BuildLfoPage(int32_t k)
{
    SynthProgram& p = *program;
    float* const depths[3][4] = {
        {&p.lfo1Vibrato, &p.lfo1Tremolo, &p.lfo1Noise, &p.lfo1Mix},
        {&p.lfo2Volume, &p.lfo2Pan, &p.lfo2Cutoff, &p.lfo2Q},
        {&p.lfo3Phase, &p.lfo3Pm, &p.lfo3Mod1, &p.lfo3Mod2},
    };
    for (float* depth : depths[k])
        Place(Knob(*depth));
    NewRow(kRowGap);
    SynthLfo& lfo = p.lfo[k];
    CParamControl* wave = Knob(lfo.wave);
    wave->SetRightClick(new _COnMouse<CModulationGroup>(this, &CModulationGroup::LfoWaveMenu));
    Place(wave);
    Place(lfo.sync == 0 ? Knob(lfo.rate) : Knob(lfo.syncBeats));
    // The rate knob changes its kind with the sync switch.
    CParamControl* sync = Knob(lfo.sync);
    sync->rebuildOnChange = true;
    Place(sync);
    Place(Knob(lfo.restart));
}

void CModulationGroup::BuildEnvPage()
{
    SynthProgram& p = *program;
    Place(Knob(p.e3Phase));
    Place(Knob(p.e3Pm));
    Place(Knob(p.e3Mod1));
    Place(Knob(p.e3Mod2));
    PlaceEnvelopeRow(p.env[2]);
}

void CModulationGroup::BuildVelPage(int32_t page)
{
    SynthProgram& p = *program;
    BuildTargetPage(page, {&p.velVolume, &p.velPan, &p.velCutoff, &p.velQ, &p.velPhase, &p.velPm, &p.velMod1,
                           &p.velMod2, &p.velDetune, &p.velNoise, &p.velMix});
}

void CModulationGroup::BuildRndPage(int32_t page)
{
    SynthProgram& p = *program;
    BuildTargetPage(page, {&p.rndVolume, &p.rndPan, &p.rndCutoff, &p.rndQ, &p.rndPhase, &p.rndPm, &p.rndMod1,
                           &p.rndMod2, &p.rndDetune, &p.rndNoise, &p.rndMix});
}

void CModulationGroup::BuildTargetPage(int32_t page, const std::array<float*, 11>& fields)
{
    const size_t first = page == 0 ? 0 : 8;
    const size_t last = page == 0 ? 8 : 11;
    for (size_t i = first; i < last; ++i)
    {
        if (i == 4)
            NewRow(kRowGap);
        Place(Knob(*fields[i]));
    }
}

void CModulationGroup::BuildControllerPage(int32_t page)
{
    SynthProgram& p = *program;
    switch (page)
    {
    case 0:
        Place(Knob(p.mwLfo1Depth));
        Place(Knob(p.mwCutoff));
        Place(Knob(p.mwPm));
        break;
    case 1:
        Place(Knob(p.keyCutoff));
        Place(Knob(p.keyPm));
        break;
    default:
        Place(Knob(p.bendDown));
        Place(Knob(p.bendUp));
        break;
    }
}

int32_t* CModulationGroup::SubPage(int32_t& count)
{
    CSynthResources& view = *resources;
    switch (view.modSource)
    {
    case kLfo:
        count = kLfoCount;
        return &view.modLfo;
    case kVel:
        count = 2;
        return &view.modVelPage;
    case kRnd:
        count = 2;
        return &view.modRndPage;
    case kController:
        count = kControllerPages;
        return &view.modControllerPage;
    default:
        count = 0;
        return nullptr;
    }
}

void CModulationGroup::Advance(CCtrl*)
{
    int32_t count = 0;
    if (int32_t* page = SubPage(count))
        *page = (*page + 1) % count;
}

void CModulationGroup::Menu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    int32_t count = 0;
    int32_t* page = SubPage(count);
    if (page == nullptr)
        return;
    std::vector<std::string> items;
    for (int32_t i = 0; i < count; ++i)
    {
        switch (resources->modSource)
        {
        case kLfo:
            items.push_back("LFO" + std::to_string(i + 1));
            break;
        case kVel:
            items.push_back("VEL" + std::to_string(i + 1));
            break;
        case kRnd:
            items.push_back("RND" + std::to_string(i + 1));
            break;
        default:
            items.push_back(kControllerItems[i]);
            break;
        }
    }
    const int32_t chosen = Choose(sender, x, y, items, *page);
    if (chosen >= 0)
        *page = chosen;
}

void CModulationGroup::LfoWaveMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    auto* knob = static_cast<CParamControl*>(sender);
    const int32_t chosen = Choose(sender, x, y, LfoWaveNames(), *knob->intField);
    if (chosen >= 0)
        *knob->intField = chosen;
}
