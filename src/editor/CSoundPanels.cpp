#include "editor/CSoundPanels.h"

#include "editor/CHeader.h"
#include "editor/CParamKnob.h"
#include "editor/CParamSwitch.h"
#include "editor/CSynthWin.h"
#include "synth/CSynth.h"
#include "editor/CSynthResources.h"
#include "synth/ParameterTable.h"

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

// Every knob of the editor has its entry; the editor tests walk every page.
const ParameterInfo* FindParameterAtOffset(size_t offset)
{
    for (const ParameterInfo& info : kParameters)
    {
        if (info.offset == offset)
            return &info;
    }
    return nullptr;
}

const char* const kLearnItem = "Learn MIDI CC";
const char* const kForgetItem = "Forget MIDI CC";

int32_t RatioIndex(float ratio)
{
    for (int32_t i = 0; i < 5; ++i)
        if (ratio == kRatios[i])
            return i;
    return -1;
}

}  // namespace

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
    : CBaseGroup(window, window->resources), editor(window), synth(synth), program(synth->currentProgram)
{
}

CHeader* CSynthPanel::AddHeader(std::vector<std::string> entries, int32_t* selected)
{
    CHeader* header = new CHeader(window, resources, std::move(entries), selected);
    AddChild(header);
    return header;
}

int32_t CSynthPanel::Choose(CCtrl* at, int32_t x, int32_t y, const std::vector<std::string>& items, int32_t marked)
{
    auto* knob = dynamic_cast<CParamControl*>(at);
    const int32_t parameter = knob != nullptr ? knob->parameterIndex : -1;
    if (parameter < 0)
    {
        const int32_t chosen = editor->ChooseFromMenu(at, x, y, items, marked);
        if (chosen >= 0)
            resources->RequestRebuild();
        return chosen;
    }
    std::vector<std::string> all = items;
    if (!all.empty())
        all.push_back("-");
    const int32_t learn = static_cast<int32_t>(all.size());
    all.push_back(kLearnItem);
    all.push_back(kForgetItem);
    const int32_t chosen = editor->ChooseFromMenu(at, x, y, all, marked);
    if (chosen == learn)
        synth->midiLearn.Arm(parameter);
    else if (chosen == learn + 1)
        synth->midiLearn.Forget(parameter);
    else if (chosen >= 0 && chosen < static_cast<int32_t>(items.size()))
    {
        resources->RequestRebuild();
        return chosen;
    }
    return -1;
}

void CSynthPanel::LearnMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    Choose(sender, x, y, {}, -1);
}

void CSynthPanel::DivisionMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    static const int32_t divisions[] = {4, 8, 16, 32};
    auto* knob = static_cast<CBeatCountKnob*>(sender);
    std::vector<std::string> items;
    int32_t marked = -1;
    for (int32_t i = 0; i < 4; ++i)
    {
        items.push_back(std::to_string(divisions[i]));
        if (*knob->divisionField == divisions[i])
            marked = i;
    }
    const int32_t chosen = Choose(sender, x, y, items, marked);
    if (chosen >= 0)
        *knob->divisionField = divisions[chosen];
}

void CSynthPanel::PlaceEnvelopeRow(SynthEnvelope& e)
{
    NewRow(kRowGap);
    Place(Knob(e.attack));
    Place(Knob(e.decay));
    Place(Knob(e.sustain));
    Place(Knob(e.release));
}

CParamControl* CSynthPanel::Knob(float& field)
{
    return KnobAt(&field);
}

CParamControl* CSynthPanel::Knob(int32_t& field)
{
    return KnobAt(&field);
}

CParamControl* CSynthPanel::KnobAt(const void* field)
{
    const size_t offset = static_cast<size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(program));
    const ParameterInfo* info = FindParameterAtOffset(offset);
    char* base = reinterpret_cast<char*>(program);
    auto* integer = reinterpret_cast<int32_t*>(base + offset);
    CKnobImage* image = &resources->knobImage;
    CParamControl* knob = nullptr;
    switch (info->kind)
    {
    case ParameterKind::Float:
        knob = new CParamKnob(window, resources, image, info->label, *reinterpret_cast<float*>(base + offset),
                              info->minimum, info->maximum, info->defaultValue);
        break;
    case ParameterKind::Integer:
        knob = new CParamKnob(window, resources, image, info->label, *integer, info->minimum, info->maximum,
                              info->defaultValue);
        break;
    case ParameterKind::Switch:
        knob = new CParamSwitch(window, resources, info->label, *integer, info->minimum, info->maximum);
        break;
    case ParameterKind::List:
        knob =
            new CParamList(window, resources, info->label, *integer, info->minimum, info->maximum,
                           std::vector<std::string>(info->choices, info->choices + info->maximum - info->minimum + 1));
        break;
    case ParameterKind::Beats:
        knob = new CBeatCountKnob(window, resources, image, info->label, *integer,
                                  *reinterpret_cast<int32_t*>(base + info->divisionOffset), info->minimum,
                                  info->maximum, info->defaultValue);
        break;
    }
    knob->SetRightClick(new _COnMouse<CSynthPanel>(this, info->kind == ParameterKind::Beats ? &CSynthPanel::DivisionMenu
                                                                                            : &CSynthPanel::LearnMenu));
    knob->ReportEditsTo(synth->automation, info->id);
    editor->knobList.Add(knob);
    return knob;
}

CWaveGroup::CWaveGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"OSCILLATORS"}, nullptr);
    SynthProgram& p = *program;
    CParamControl* wave = Knob(p.wave1);
    wave->rebuildOnChange = true;
    wave->SetRightClick(new _COnMouse<CWaveGroup>(this, &CWaveGroup::WaveMenu));
    Place(wave);
    AddShapeKnob(p.wave1, p.mod1);
    Place(Knob(p.coarse2));
    Place(Knob(p.phase));
    NewRow(kRowGap);
    wave = Knob(p.wave2);
    wave->rebuildOnChange = true;
    wave->SetRightClick(new _COnMouse<CWaveGroup>(this, &CWaveGroup::WaveMenu));
    Place(wave);
    AddShapeKnob(p.wave2, p.mod2);
    Place(Knob(p.detune));
    Place(Knob(p.mix));
}

void CWaveGroup::AddShapeKnob(int32_t wave, float& mod)
{
    const float ratio = &mod == &program->mod1 ? program->ratio1 : program->ratio2;
    const bool ratioWave = wave == kWavePm || wave == kWaveSaw2;
    std::string label = "MOD";
    const int32_t index = RatioIndex(ratio);
    if (ratioWave && index >= 0 && ratio != 1.0f)
        label += kRatioItems[index];
    CParamControl* knob = Knob(mod);
    knob->label = label;
    if (ratioWave)
        knob->SetRightClick(new _COnMouse<CWaveGroup>(this, &CWaveGroup::RatioMenu));
    Place(knob);
}

void CWaveGroup::WaveMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    auto* knob = static_cast<CParamControl*>(sender);
    const int32_t chosen = Choose(sender, x, y, OscillatorWaveNames(), *knob->intField);
    if (chosen >= 0)
        *knob->intField = chosen;
}

void CWaveGroup::RatioMenu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    auto* knob = static_cast<CParamControl*>(sender);
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
    CParamControl* pm = Knob(p.pmAmount);
    pm->label = label;
    pm->SetRightClick(new _COnMouse<CXModGroup>(this, &CXModGroup::MultiplierMenu));
    Place(pm);
    Place(Knob(p.pmShape));
    Place(Knob(p.feedback));
    Place(Knob(p.feedbackShape));
    NewRow(kRowGap);
    Place(Knob(p.noise));
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
    Place(Knob(p.cutoff));
    Place(Knob(p.q));
    Place(Knob(p.blend));
    Place(Knob(p.filterEnv));
    PlaceEnvelopeRow(p.env[1]);
}

CMasterGroup::CMasterGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    AddHeader({"MASTER"}, nullptr);
    SynthProgram& p = *program;
    Place(Knob(p.mono));
    Place(Knob(p.legato));
    Place(Knob(p.coarse));
    Place(Knob(p.volume));
    PlaceEnvelopeRow(p.env[0]);
}
