#include "editor/CParamControl.h"

#include "editor/CSynthResources.h"
#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/CGraphic.h"
#include "gui/draw/CSkinItem.h"
#include "gui/platform/InputCodes.h"
#include "host/CAutomationHost.h"
#include "io/HeapString.h"
#include "synth/ParameterTable.h"

#include <cstdio>

namespace
{

// Every control bound to a program field is this square, in pixels.
constexpr int32_t kKnobSide = 64;
// Black, as the panels.
constexpr uint32_t kBackgroundColour = 0x000000;
// Captions when the theme has no button item: light grey.
constexpr uint32_t kDefaultTextColour = 0xC0C0C0;
// Float fields show x 100.
constexpr float kFloatScale = 100.0f;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

}  // namespace

CParamControl::CParamControl(CWin* window, CSynthResources* resources, const char* label, float* floatField,
                             int32_t* intField, int32_t lo, int32_t hi)
    : CCtrl(window), label(label != nullptr ? label : ""), floatField(floatField), intField(intField), minimum(lo),
      maximum(hi), value(FieldValue()), OnGetText(new _COnGetText<CParamControl>(this, &CParamControl::GetText)),
      resources(resources)
{
    width = kKnobSide;
    height = kKnobSide;
    const CSkinItem* item = nullptr;
    if (window != nullptr && window->app != nullptr && window->app->theme != nullptr)
        item = window->app->theme->Find("button");
    textColour = item != nullptr ? item->itemtextcol : kDefaultTextColour;
}

CParamControl::~CParamControl()
{
    EndEdit();
    delete OnRightClick;
    delete OnGetText;
}

int32_t CParamControl::FieldValue() const
{
    if (floatField != nullptr)
        return RoundToKnob(static_cast<double>(*floatField * kFloatScale));
    return *intField;
}

bool CParamControl::IsPressed() const
{
    return window != nullptr && window->pressedCtrl == this;
}

bool CParamControl::IsHeld() const
{
    return editing;
}

void CParamControl::Paint(CGraphic& g, Rect r)
{
    g.FillRect(kBackgroundColour, r);
    PaintBody(g);
    if (OnGetText == nullptr)
        return;
    char* caption = nullptr;
    OnGetText->Call(this, caption, value);
    if (caption != nullptr && caption[0] != 0)
        g.Text(textColour, caption, r, kAlignBottom);
    FreeString(caption);
}

void CParamControl::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    const int32_t buttons = flags & (kMouseLeft | kMouseRight | kMouseMiddle);
    if (buttons == kMouseRight && OnRightClick != nullptr)
    {
        OnRightClick->Call(this, px, py, flags);
        Invalidate();
        return;
    }
    Release(px, py, flags);
}

void CParamControl::SetValue(int32_t v, bool notify)
{
    if (!notify)
    {
        value = v;
        return;
    }
    v = Clamp(v, minimum, maximum);
    if (v == value)
        return;
    value = v;
    WriteBack();
    Invalidate();
    if (rebuildOnChange && resources != nullptr)
        resources->RequestRebuild();
    if (editing)
        automation->Automate(parameterIndex, HostValue());
}

void CParamControl::ReportEditsTo(CAutomationHost* host, int32_t parameter)
{
    automation = host;
    parameterIndex = parameter;
}

void CParamControl::SetRightClick(COnMouse* binder)
{
    delete OnRightClick;
    OnRightClick = binder;
}

float CParamControl::HostValue() const
{
    if (maximum <= minimum)
        return 0.0f;
    const int32_t v = Clamp(value, minimum, maximum);
    return static_cast<float>(v - minimum) / static_cast<float>(maximum - minimum);
}

bool CParamControl::FollowField()
{
    if (IsHeld())
        return false;
    const int32_t stored = FieldValue();
    if (stored == value)
        return false;
    value = stored;
    Invalidate();
    return true;
}

void CParamControl::BeginEdit()
{
    if (editing || automation == nullptr || parameterIndex < 0)
        return;
    editing = true;
    automation->BeginEdit(parameterIndex);
}

void CParamControl::EndEdit()
{
    if (!editing)
        return;
    editing = false;
    automation->EndEdit(parameterIndex);
}

void CParamControl::SetValueAsOneEdit(int32_t v)
{
    BeginEdit();
    SetValue(v, true);
    EndEdit();
}

void CParamControl::WriteBack()
{
    if (floatField != nullptr)
        *floatField = static_cast<float>(value / static_cast<double>(kFloatScale));
    else
        *intField = value;
    if (window != nullptr)
        window->Invalidate();
}

std::string CParamControl::ValueText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%d", floatField != nullptr ? FieldValue() : value);
    return text;
}

std::string CParamControl::DisplayText() const
{
    return IsPressed() ? ValueText() : label;
}

void CParamControl::GetText(CCtrl*, char*& text, int32_t)
{
    text = NewString(DisplayText().c_str());
}
