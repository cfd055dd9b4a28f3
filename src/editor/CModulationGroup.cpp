#include "editor/CModulationGroup.h"

#include "editor/CHeader.h"
#include "editor/CParamKnob.h"
#include "editor/CSynthWin.h"
#include "synth/CSynth.h"
#include "synth/CSynthResources.h"

namespace
{

constexpr int32_t kRowGap = 8;
constexpr int32_t kLfoCount = 3;
constexpr int32_t kControllerPages = 3;
const char* const kControllerEntries[] = {"M.WHL", "KBD", "P.BEND"};
const char* const kControllerItems[] = {"MOD WHEEL", "KEY TRACKING", "PITCH BEND"};

} // namespace

CModulationGroup::CModulationGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    CSynthResources& view = *resources;
    const std::string controller =
        std::string(kControllerEntries[view.modControllerPage % kControllerPages]) +
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
    struct Depth
    {
        const char* label;
        float* field;
    };
    const Depth depths[3][4] = {
        {{"VIBRATO", &p.lfo1Vibrato}, {"TREMOLO", &p.lfo1Tremolo}, {"NOISE", &p.lfo1Noise}, {"MIX", &p.lfo1Mix}},
        {{"VOLUME", &p.lfo2Volume}, {"PAN", &p.lfo2Pan}, {"CUTOFF", &p.lfo2Cutoff}, {"Q", &p.lfo2Q}},
        {{"PHASE", &p.lfo3Phase}, {"PM", &p.lfo3Pm}, {"MOD1", &p.lfo3Mod1}, {"MOD2", &p.lfo3Mod2}},
    };
    for (const Depth& d : depths[k])
        Place(FloatKnob(d.label, d.field, 0, 100, 0));
    NewRow(kRowGap);
    SynthLfo& lfo = p.lfo[k];
    CParamValueKnob* wave = IntKnob("WAVE", &lfo.wave, 0, 4, 0, kKnobCyclingList, LfoWaveNames());
    wave->OnRightClick = new _COnMouse<CModulationGroup>(this, &CModulationGroup::LfoWaveMenu);
    Place(wave);
    if (lfo.sync == 0)
    {
        // Unset, the rate starts where a new program starts.
        Place(FloatKnob("RATE", &lfo.rate, 0, 100, 57));
    }
    else
    {
        CParamValueKnob* beats = IntKnob("RATE", &lfo.syncBeats, 1, 32, 1, kKnobBeatCount);
        beats->secondaryField = &lfo.syncDiv;
        beats->sensitivity = kBeatCountSensitivity;
        beats->OnRightClick = new _COnMouse<CSynthPanel>(this, &CSynthPanel::DivisionMenu);
        Place(beats);
    }
    // The rate knob changes its kind with the sync switch.
    CParamValueKnob* sync = static_cast<CParamValueKnob*>(Place(IntKnob("SYNC", &lfo.sync, 0, 1, 0, kKnobSwitch)));
    sync->rebuildOnChange = true;
    Place(IntKnob("RESTART", &lfo.restart, 0, 1, 0, kKnobSwitch));
}

void CModulationGroup::BuildEnvPage()
{
    SynthProgram& p = *program;
    Place(FloatKnob("PHASE", &p.e3Phase, 0, 100, 0));
    Place(FloatKnob("PM", &p.e3Pm, 0, 100, 0));
    Place(FloatKnob("MOD1", &p.e3Mod1, 0, 100, 0));
    Place(FloatKnob("MOD2", &p.e3Mod2, 0, 100, 0));
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
    static const char* const kCaptions[11] = {"VOLUME", "PAN", "CUTOFF", "Q",      "PHASE", "PM",
                                              "MOD1",   "MOD2", "DETUNE", "NOISE", "MIX"};
    const size_t first = page == 0 ? 0 : 8;
    const size_t last = page == 0 ? 8 : 11;
    for (size_t i = first; i < last; ++i)
    {
        if (i == 4)
            NewRow(kRowGap);
        Place(FloatKnob(kCaptions[i], fields[i], 0, 100, 0));
    }
}

void CModulationGroup::BuildControllerPage(int32_t page)
{
    SynthProgram& p = *program;
    switch (page)
    {
    case 0:
        Place(FloatKnob("LFO1DEPTH", &p.mwLfo1Depth, 0, 100, 0));
        Place(FloatKnob("CUTOFF", &p.mwCutoff, 0, 100, 0));
        Place(FloatKnob("PM", &p.mwPm, 0, 100, 0));
        break;
    case 1:
        Place(FloatKnob("CUTOFF", &p.keyCutoff, -100, 100, 0));
        Place(FloatKnob("PM", &p.keyPm, -100, 100, 0));
        break;
    default:
        Place(IntKnob("DOWN", &p.bendDown, 0, 12, 2, kKnobPlain));
        Place(IntKnob("UP", &p.bendUp, 0, 12, 2, kKnobPlain));
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
    auto* knob = static_cast<CParamValueKnob*>(sender);
    const int32_t chosen = Choose(sender, x, y, LfoWaveNames(), *knob->intField);
    if (chosen >= 0)
        *knob->intField = chosen;
}
