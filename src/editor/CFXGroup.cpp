#include "editor/CFXGroup.h"

#include "editor/CHeader.h"
#include "editor/CParamControl.h"
#include "editor/CSynthWin.h"
#include "io/HeapString.h"
#include "synth/CSynth.h"
#include "editor/CSynthResources.h"
#include "synth/ParameterTable.h"

#include <cstdio>
#include <cstring>
#include <string>

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

int32_t EffectIndex(int32_t i)
{
    return i >= 0 && i < CFXGroup::kEffectCount ? i : 0;
}

}  // namespace

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

template <typename Field>
void CFXGroup::PlaceFx(Field& field)
{
    CParamControl* knob = Knob(field);
    delete knob->OnGetText;
    knob->OnGetText = new _COnGetText<CFXGroup>(this, &CFXGroup::KnobText);
    Place(knob);
}

void CFXGroup::BuildLevels()
{
    SynthProgram& p = *program;
    PlaceFx(p.fxChorus);
    PlaceFx(p.fxPhaser);
    PlaceFx(p.fxDelay);
    PlaceFx(p.fxReverb);
    NewRow(kRowGap);
    PlaceFx(p.fxWaveshape);
    PlaceFx(p.fxEq);
}

// The settings' defaults, where none is given, are those of a new program.
void CFXGroup::BuildEffect(int32_t index)
{
    SynthProgram& p = *program;
    float* const levels[] = {&p.fxChorus, &p.fxPhaser, &p.fxDelay, &p.fxReverb, &p.fxWaveshape, &p.fxEq};
    PlaceFx(*levels[index]);
    switch (index)
    {
    case kChorus:
        PlaceFx(p.chorusDelay);
        PlaceFx(p.chorusDepth);
        PlaceFx(p.chorusRate);
        NewRow(kRowGap);
        PlaceFx(p.chorusPhase);
        PlaceFx(p.chorusFeedback);
        break;
    case kPhaser:
        PlaceFx(p.phaserRate);
        PlaceFx(p.phaserFeedback);
        PlaceFx(p.phaserStages);
        NewRow(kRowGap);
        PlaceFx(p.phaserLow);
        PlaceFx(p.phaserHigh);
        break;
    case kDelay:
        PlaceFx(p.delayFeedback);
        Place(Knob(p.delayBeats));
        PlaceFx(p.delayLR);
        break;
    case kReverb:
        PlaceFx(p.reverbSize);
        break;
    case kWaveshaper:
        PlaceFx(p.foldback);
        break;
    default:
        PlaceFx(p.eqFreqLow);
        PlaceFx(p.eqFreqHigh);
        PlaceFx(p.eqGain);
        NewRow(kRowGap);
        PlaceFx(p.eqLow);
        PlaceFx(p.eqMid);
        PlaceFx(p.eqHigh);
        break;
    }
}

void CFXGroup::KnobText(CCtrl* sender, char*& text, int32_t)
{
    auto* knob = static_cast<CParamControl*>(sender);
    if (!knob->IsPressed())
    {
        text = NewString(knob->DisplayText().c_str());
        return;
    }
    // The effects' settings read in their own units, as the host shows them;
    // percentages stay bare numbers like every other knob's.
    const ParameterInfo& info = *FindParameter(knob->parameterIndex);
    char value[64];
    ValueText(*program, info, value, sizeof value);
    std::string shown = value;
    if (info.unit[0] != 0 && std::strcmp(info.unit, "%") != 0)
        shown += std::string(" ") + info.unit;
    text = NewString(shown.c_str());
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
