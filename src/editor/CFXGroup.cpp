#include "editor/CFXGroup.h"

#include "editor/CHeader.h"
#include "editor/CParamKnob.h"
#include "editor/CSynthWin.h"
#include "io/HeapString.h"
#include "synth/CSynth.h"
#include "synth/CSynthResources.h"

#include <cstdio>

namespace
{

constexpr int32_t kRowGap = 8;
const char* const kShortNames[] = {"CHR", "PHS", "DLY", "REV", "WSH", "EQ"};
const char* const kFullNames[] = {"CHORUS", "PHASER", "DELAY", "REVERB", "WAVESHAPE", "EQ"};
constexpr int32_t kChorus = 0;
constexpr int32_t kPhaser = 1;
constexpr int32_t kDelay = 2;
constexpr int32_t kReverb = 3;
constexpr int32_t kWaveshaper = 4;
// Units of the stored settings.
constexpr int32_t kMsPerSizeUnit = 100; // reverb size: tenths of a second
constexpr int32_t kHzPerFrequencyUnit = 20;
constexpr int32_t kUnityGain = 100;     // EQ gains in percent

int32_t EffectIndex(int32_t i)
{
    return i >= 0 && i < CFXGroup::kEffectCount ? i : 0;
}

} // namespace

CFXGroup::CFXGroup(CSynthWin* window, CSynth* synth) : CSynthPanel(window, synth)
{
    CSynthResources& view = *resources;
    const int32_t index = EffectIndex(view.fxIndex);
    CHeader* header = AddHeader({"FX", kShortNames[index] + std::to_string(index + 1)}, &view.fxMode);
    header->OnAdvance = new _COnChange<CFXGroup>(this, &CFXGroup::Advance);
    header->OnMenu = new _COnMouse<CFXGroup>(this, &CFXGroup::Menu);
    if (view.fxMode == 1)
        BuildEffect(index);
    else
        BuildLevels();
}

CParamValueKnob* CFXGroup::Float(const char* label, float* field, int32_t lo, int32_t hi, int32_t def)
{
    CParamValueKnob* knob = FloatKnob(label, field, lo, hi, def);
    delete knob->OnGetText;
    knob->OnGetText = new _COnGetText<CFXGroup>(this, &CFXGroup::KnobText);
    Place(knob);
    return knob;
}

CParamValueKnob* CFXGroup::Int(const char* label, int32_t* field, int32_t lo, int32_t hi, int32_t def)
{
    CParamValueKnob* knob = IntKnob(label, field, lo, hi, def, kKnobPlain);
    delete knob->OnGetText;
    knob->OnGetText = new _COnGetText<CFXGroup>(this, &CFXGroup::KnobText);
    Place(knob);
    return knob;
}

void CFXGroup::BuildLevels()
{
    SynthProgram& p = *program;
    Float("CHORUS", &p.fxChorus, 0, 100, 0);
    Float("PHASER", &p.fxPhaser, 0, 100, 0);
    Float("DELAY", &p.fxDelay, 0, 100, 0);
    Float("REVERB", &p.fxReverb, 0, 100, 0);
    NewRow(kRowGap);
    Float("WAVESHAPE", &p.fxWaveshape, 0, 100, 0);
    Float("EQ", &p.fxEq, 0, 100, 0);
}

// The settings' defaults, where none is given, are those of a new program.
void CFXGroup::BuildEffect(int32_t index)
{
    SynthProgram& p = *program;
    float* const levels[] = {&p.fxChorus, &p.fxPhaser, &p.fxDelay, &p.fxReverb, &p.fxWaveshape, &p.fxEq};
    Float(kFullNames[index], levels[index], 0, 100, 0);
    switch (index)
    {
    case kChorus:
        Int("DELAY", &p.chorusDelay, 1, 150, 20);
        Float("DEPTH", &p.chorusDepth, 0, 100, 10);
        Int("RATE", &p.chorusRate, 1, 100, 16);
        NewRow(kRowGap);
        Int("PHASE", &p.chorusPhase, 0, 180, 90);
        Float("FEEDBACK", &p.chorusFeedback, -100, 100, 0);
        break;
    case kPhaser:
        Float("RATE", &p.phaserRate, 1, 100, 10);
        Float("FEEDBACk", &p.phaserFeedback, -100, 100, 50);
        Int("STAGES", &p.phaserStages, 1, 16, 4);
        NewRow(kRowGap);
        Int("LOW", &p.phaserLow, 1, 1000, 200);
        Int("HIGH", &p.phaserHigh, 1, 1000, 500);
        break;
    case kDelay:
    {
        Float("FEEDBACK", &p.delayFeedback, 0, 100, 50);
        CParamValueKnob* time = IntKnob("TIME", &p.delayBeats, 1, 32, 1, kKnobBeatCount);
        time->secondaryField = &p.delayDiv;
        time->sensitivity = kBeatCountSensitivity;
        time->OnRightClick = new _COnMouse<CSynthPanel>(this, &CSynthPanel::DivisionMenu);
        Place(time);
        Float("L/R", &p.delayLR, 0, 100, 100);
        break;
    }
    case kReverb:
        Int("SIZE", &p.reverbSize, 10, 100, 40);
        break;
    case kWaveshaper:
        Float("FOLDBACK", &p.foldback, 0, 100, 50);
        break;
    default:
        Int("FREQ LOW", &p.eqFreqLow, 1, 100, 40);
        Int("FREQ HIGH", &p.eqFreqHigh, 40, 500, 100);
        Int("GAIN", &p.eqGain, 0, 200, 100);
        NewRow(kRowGap);
        Int("LOW", &p.eqLow, 0, 200, 100);
        Int("MID", &p.eqMid, 0, 200, 100);
        Int("HIGH", &p.eqHigh, 0, 200, 100);
        break;
    }
}

void CFXGroup::KnobText(CCtrl* sender, char*& text, int32_t)
{
    auto* knob = static_cast<CParamValueKnob*>(sender);
    if (!knob->IsPressed())
    {
        text = NewString(knob->DisplayText().c_str());
        return;
    }
    const SynthProgram& p = *program;
    const int32_t* field = knob->intField;
    // Wide enough for a damaged value anywhere in the integer range.
    const long long v = knob->value;
    char value[32];
    if (field == &p.reverbSize)
        std::snprintf(value, sizeof value, "%lld ms", v * kMsPerSizeUnit);
    else if (field == &p.eqFreqLow || field == &p.eqFreqHigh || field == &p.phaserLow || field == &p.phaserHigh)
        std::snprintf(value, sizeof value, "%lld Hz", v * kHzPerFrequencyUnit);
    else if (field == &p.eqLow || field == &p.eqMid || field == &p.eqHigh || field == &p.eqGain)
        std::snprintf(value, sizeof value, "%lld", v - kUnityGain);
    else if (field == &p.chorusRate)
        std::snprintf(value, sizeof value, "%.1f Hz", static_cast<double>(v) * 0.1);
    else if (knob->floatField == &p.phaserRate)
        std::snprintf(value, sizeof value, "%.2f Hz", static_cast<double>(p.phaserRate));
    else if (field == &p.chorusDelay)
        std::snprintf(value, sizeof value, "%lld ms", v);
    else
    {
        text = NewString(knob->ValueText().c_str());
        return;
    }
    text = NewString(value);
}

void CFXGroup::Advance(CCtrl*)
{
    if (resources->fxMode == 1)
        resources->fxIndex = (EffectIndex(resources->fxIndex) + 1) % kEffectCount;
}

void CFXGroup::Menu(CCtrl* sender, int32_t x, int32_t y, int32_t)
{
    if (resources->fxMode != 1)
        return;
    const std::vector<std::string> items(std::begin(kFullNames), std::end(kFullNames));
    const int32_t chosen = Choose(sender, x, y, items, EffectIndex(resources->fxIndex));
    if (chosen >= 0)
        resources->fxIndex = chosen;
}
