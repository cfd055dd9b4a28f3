#include "editor/CBaseGroup.h"

#include "editor/CParamKnob.h"
#include "editor/CSynthResources.h"

namespace
{

// Knobs start this far from the panel's left edge and below its header;
// four 64-pixel knobs then fill the 264-pixel width evenly.
constexpr int32_t kKnobInset = 4;

} // namespace

CBaseGroup::CBaseGroup(CWin* window, CSynthResources* resources)
    : CGroup(window), resources(resources), cursorX(kKnobInset), cursorY(kHeaderHeight + kKnobInset)
{
    width = kWidth;
    height = kHeight;
    background = 0;
}

CParamValueKnob* CBaseGroup::FloatKnob(const char* label, float* field, int32_t lo, int32_t hi, int32_t def)
{
    auto* knob = new CParamValueKnob(window, &resources->knobImage, resources, label, field, nullptr);
    knob->SetRange(lo, hi);
    knob->defaultValue = def;
    knob->SetValue(RoundToInt(*field * 100.0f), false);
    return knob;
}

CParamValueKnob* CBaseGroup::IntKnob(const char* label, int32_t* field, int32_t lo, int32_t hi, int32_t def,
                                     int32_t kind, const std::vector<std::string>& items)
{
    auto* knob = new CParamValueKnob(window, &resources->knobImage, resources, label, nullptr, field);
    knob->SetRange(lo, hi);
    knob->defaultValue = def;
    knob->kind = kind;
    knob->items = items;
    knob->SetValue(*field, false);
    return knob;
}

CCtrl* CBaseGroup::Place(CCtrl* c)
{
    c->x = cursorX;
    c->y = cursorY;
    AddChild(c);
    cursorX += c->width;
    if (c->height > rowHeight)
        rowHeight = c->height;
    return c;
}

void CBaseGroup::NewRow(int32_t gap)
{
    cursorX = kKnobInset;
    cursorY += rowHeight + gap;
    rowHeight = 0;
}
