#include "editor/CSoundPanels.h"

#include "editor/CHeader.h"
#include "editor/CParamKnob.h"
#include "editor/CSynthWin.h"
#include "synth/CSynth.h"
#include "synth/CSynthResources.h"

#include <cstdio>
#include <utility>

namespace
{

constexpr int32_t kWavePm = 3;
constexpr int32_t kWaveSaw2 = 4;
constexpr int32_t kRowGap = 8;

// The oscillator ratios of the ratio menu and their labels.
constexpr float kRatios[] = {4.0f, 2.0f, 1.0f, 0.5f, 0.25f};
const char* const kRatioItems[] = {"+24", "+12", "0", "-12", "-24"};
constexpr int32_t kPmMultipliers[] = {1, 2, 4, 8, 16};

int32_t RatioIndex(float ratio)
{
    for (int32_t i = 0; i < 5; ++i)
        if (ratio == kRatios[i])
            return i;
    return -1;
}

} // namespace

const std::vector<std::string>& OscillatorWaveNames()
{
    static const std::vector<std::string> names = {"SAW", "SQUARE", "PULSE", "PM", "SAW2"};
    return names;
}

const std::vector<std::string>& LfoWaveNames()
{
    static const std::vector<std::string> names = {"SIN", "TRI", "SAW", "SQUARE", "RND"};
    return names;
}

CSynthPanel::CSynthPanel(CSynthWin* window, CSynth* synth)
    : CBaseGroup(window, &synth->Resources()), editor(window), synth(synth), program(synth->currentProgram)
{
}

CHeader* CSynthPanel::AddHeader(std::vector<std::string> entries, int32_t* selected)
{
    CHeader* header = new CHeader(window, resources, std::move(entries), selected);
    AddChild(header);
    return header;
}

int32_t CSynthPanel::Choose(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items,
                            int32_t marked)
{
    const int32_t chosen = editor->ChooseFromMenu(at, x, y, items, marked);
    if (chosen >= 0)
        resources->programsChanged = 1;
    return chosen;
}

void CSynthPanel::DivisionMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    static const int32_t divisions[] = {4, 8, 16, 32};
    auto* knob = static_cast<CParamValueKnob*>(sender);
    if (knob->secondaryField == nullptr)
        return;
    std::vector<std::string> items;
    int32_t marked = -1;
    for (int32_t i = 0; i < 4; ++i)
    {
        items.push_back(std::to_string(divisions[i]));
        if (*knob->secondaryField == divisions[i])
            marked = i;
    }
    const int32_t chosen = Choose(sender, x, y, items, marked);
    if (chosen >= 0)
        *knob->secondaryField = divisions[chosen];
}

void CSynthPanel::PlaceEnvelopeRow(SynthEnvelope& e)
{
    NewRow(kRowGap);
    Place(FloatKnob("A", &e.attack, 0, 100, 0));
    Place(FloatKnob("D", &e.decay, 0, 100, 0));
    Place(FloatKnob("S", &e.sustain, 0, 100, 0));
    Place(FloatKnob("R", &e.release, 0, 100, 0));
}

CWaveGroup::CWaveGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"OSCILLATORS"}, nullptr);
    SynthProgram& p = *program;
    CParamValueKnob* wave = IntKnob("WAVE1", &p.wave1, 0, 4, 0, kKnobCyclingList, OscillatorWaveNames());
    wave->rebuildOnChange = true;
    wave->OnRightClick = new _COnMouse<CWaveGroup>(this, &CWaveGroup::WaveMenu);
    Place(wave);
    AddShapeKnob(p.wave1, &p.mod1);
    Place(IntKnob("COARSE", &p.coarse2, -48, 48, 0, kKnobPlain));
    Place(FloatKnob("PHASE", &p.phase, 0, 100, 0));
    NewRow(kRowGap);
    wave = IntKnob("WAVE2", &p.wave2, 0, 4, 0, kKnobCyclingList, OscillatorWaveNames());
    wave->rebuildOnChange = true;
    wave->OnRightClick = new _COnMouse<CWaveGroup>(this, &CWaveGroup::WaveMenu);
    Place(wave);
    AddShapeKnob(p.wave2, &p.mod2);
    Place(FloatKnob("DETUNE", &p.detune, 0, 100, 0));
    Place(FloatKnob("MIX", &p.mix, 0, 100, 50));
}

void CWaveGroup::AddShapeKnob(int32_t wave, float* mod)
{
    const float ratio = mod == &program->mod1 ? program->ratio1 : program->ratio2;
    const bool ratioWave = wave == kWavePm || wave == kWaveSaw2;
    std::string label = "MOD";
    const int32_t index = RatioIndex(ratio);
    if (ratioWave && index >= 0 && ratio != 1.0f)
        label += kRatioItems[index];
    CParamValueKnob* knob = FloatKnob(label.c_str(), mod, 0, 100, 0);
    if (ratioWave)
        knob->OnRightClick = new _COnMouse<CWaveGroup>(this, &CWaveGroup::RatioMenu);
    Place(knob);
}

void CWaveGroup::WaveMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    auto* knob = static_cast<CParamValueKnob*>(sender);
    const int32_t chosen = Choose(sender, x, y, OscillatorWaveNames(), *knob->intField);
    if (chosen >= 0)
        *knob->intField = chosen;
}

void CWaveGroup::RatioMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    auto* knob = static_cast<CParamValueKnob*>(sender);
    float& ratio = knob->floatField == &program->mod1 ? program->ratio1 : program->ratio2;
    const std::vector<std::string> items(std::begin(kRatioItems), std::end(kRatioItems));
    const int32_t chosen = Choose(sender, x, y, items, RatioIndex(ratio));
    if (chosen >= 0)
        ratio = kRatios[chosen];
}

CXModGroup::CXModGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"X-MOD"}, nullptr);
    SynthProgram& p = *program;
    char label[16] = "PM";
    if (p.pmRatio > 1)
        std::snprintf(label, sizeof label, "PM%d", static_cast<int>(p.pmRatio));
    CParamValueKnob* pm = FloatKnob(label, &p.pmAmount, 0, 100, 0);
    pm->OnRightClick = new _COnMouse<CXModGroup>(this, &CXModGroup::MultiplierMenu);
    Place(pm);
    Place(FloatKnob("MOD", &p.pmShape, 0, 100, 0));
    Place(FloatKnob("FB", &p.feedback, 0, 100, 0));
    Place(FloatKnob("MOD", &p.feedbackShape, 0, 100, 0));
    NewRow(kRowGap);
    Place(FloatKnob("NOISE", &p.noise, 0, 100, 0));
}

void CXModGroup::MultiplierMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    std::vector<std::string> items;
    int32_t marked = -1;
    for (int32_t i = 0; i < 5; ++i)
    {
        items.push_back(std::to_string(kPmMultipliers[i]));
        if (program->pmRatio == kPmMultipliers[i])
            marked = i;
    }
    const int32_t chosen = Choose(sender, x, y, items, marked);
    if (chosen >= 0)
        program->pmRatio = kPmMultipliers[chosen];
}

CFilterGroup::CFilterGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"FILTER"}, nullptr);
    SynthProgram& p = *program;
    Place(FloatKnob("CUTOFF", &p.cutoff, 0, 100, 100));
    Place(FloatKnob("Q", &p.q, 0, 100, 0));
    Place(FloatKnob("BLEND", &p.blend, 0, 100, 0));
    Place(FloatKnob("ENV", &p.filterEnv, 0, 100, 100));
    PlaceEnvelopeRow(p.env[1]);
}

CMasterGroup::CMasterGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"MASTER"}, nullptr);
    SynthProgram& p = *program;
    Place(IntKnob("MONO", &p.mono, 0, 1, 0, kKnobSwitch));
    Place(IntKnob("LEGATO", &p.legato, 0, 1, 0, kKnobSwitch));
    Place(IntKnob("COARSE", &p.coarse, -48, 48, 0, kKnobPlain));
    Place(FloatKnob("VOLUME", &p.volume, 0, 100, 50));
    PlaceEnvelopeRow(p.env[0]);
}
