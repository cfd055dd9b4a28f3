#include "editor/CParamKnob.h"

#include "editor/CKnobImage.h"
#include "gui/core/CApp.h"
#include "host/CAutomationHost.h"
#include "gui/core/CWin.h"
#include "gui/core/InputCodes.h"
#include "gui/draw/CGraphic.h"
#include "gui/draw/CSkinItem.h"
#include "gui/draw/Colour.h"
#include "io/HeapString.h"
#include "editor/CSynthResources.h"

#include <cmath>
#include <cstdio>

namespace
{

// Where the filmstrip frame sits inside the control.
constexpr int32_t kFrameLeft = 8;
constexpr int32_t kFrameTop = 4;
// The box of switches and cycling lists, and a switch's light inside it.
constexpr int32_t kBoxWidth = 24;
constexpr int32_t kBoxHeight = 28;
constexpr int32_t kBoxRaise = 4;
constexpr int32_t kLightLeft = 8;
constexpr int32_t kLightTop = 3;
constexpr int32_t kLightWidth = 8;
constexpr int32_t kLightHeight = 3;
// Radio lists: one row per value.
constexpr int32_t kRadioRowHeight = 21;
constexpr int32_t kRadioMarkerLeft = 8;
constexpr int32_t kRadioMarkerTop = 8;
constexpr int32_t kRadioMarkerSide = 4;
constexpr int32_t kRadioTextLeft = 24;
// Knob captions when the theme has no button item: light grey.
constexpr uint32_t kDefaultTextColour = 0xC0C0C0;
constexpr float kLimit = 1e9f;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

bool LeftOnly(int32_t flags)
{
    return (flags & (kMouseLeft | kMouseRight | kMouseMiddle)) == kMouseLeft;
}

} // namespace

int32_t TruncateToInt(float v)
{
    if (std::isnan(v))
        return 0;
    if (v > kLimit)
        return static_cast<int32_t>(kLimit);
    if (v < -kLimit)
        return -static_cast<int32_t>(kLimit);
    return static_cast<int32_t>(v);
}

int32_t RoundToInt(float v)
{
    return TruncateToInt(v < 0.0f ? v - 0.5f : v + 0.5f);
}

CParamKnobBase::CParamKnobBase(CWin* window, CKnobImage* image) : CCtrl(window), image(image)
{
    width = kKnobSide;
    height = kKnobSide;
    const CSkinItem* item = nullptr;
    if (window != nullptr && window->app != nullptr && window->app->theme != nullptr)
        item = window->app->theme->Find("button");
    textColour = item != nullptr ? item->itemtextcol : kDefaultTextColour;
}

CParamKnobBase::~CParamKnobBase()
{
    delete OnPrePaint;
    delete OnGetText;
}

bool CParamKnobBase::IsPressed() const
{
    return window != nullptr && window->pressedCtrl == this;
}

int32_t CParamKnobBase::Frame()
{
    const int32_t count = image != nullptr ? image->FrameCount() : 0;
    if (count <= 0 || maximum <= minimum)
        return 0;
    // In float: a damaged value may lie anywhere in the integer range.
    const float position = static_cast<float>(count - 1) * (static_cast<float>(value) - static_cast<float>(minimum)) /
                            (static_cast<float>(maximum) - static_cast<float>(minimum));
    // A value outside the range (a damaged program) shows the nearest end.
    return Clamp(TruncateToInt(position), 0, count - 1);
}

void CParamKnobBase::DrawKnob(CGraphic& g)
{
    if (image != nullptr)
        image->DrawFrame(g, kFrameLeft, kFrameTop, Frame());
}

void CParamKnobBase::PaintBody(CGraphic& g)
{
    DrawKnob(g);
}

void CParamKnobBase::Paint(CGraphic& g, Rect r)
{
    if (OnPrePaint != nullptr)
        OnPrePaint->Call(this, g, r);
    g.FillRect(Rgb(static_cast<uint32_t>(backRed) & 0xFF, static_cast<uint32_t>(backGreen) & 0xFF,
                   static_cast<uint32_t>(backBlue) & 0xFF),
               r);
    PaintBody(g);
    if (OnGetText == nullptr)
        return;
    char* caption = nullptr;
    OnGetText->Call(this, caption, value);
    if (caption != nullptr && caption[0] != 0)
        g.Text(textColour, caption, r, kAlignBottom);
    FreeString(caption);
}

void CParamKnobBase::SetValue(int32_t v, bool notify)
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
    changed = true;
    if (OnChange != nullptr)
        OnChange->Call(this);
    Invalidate();
}

float CParamKnobBase::GetNormalized()
{
    return maximum != 0 ? static_cast<float>(value) / static_cast<float>(maximum) : 0.0f;
}

void CParamKnobBase::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    if (!(flags & kMouseLeft))
        return;
    // A damaged field may hold a value outside the range: turning starts
    // from the end the knob shows.
    pressValue = Clamp(value, minimum, maximum);
    pressX = px;
    pressY = py;
    lastX = px;
    lastY = py;
    dragging = true;
    Invalidate();
}

void CParamKnobBase::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    if (!dragging || !(flags & kMouseLeft))
        return;
    lastX = px;
    lastY = py;
    // Right and up both turn the knob up; half of their sum, in whole pixels.
    const int32_t d = ((px - pressX) + (pressY - py)) / 2;
    const int32_t next = Clamp(TruncateToInt(static_cast<float>(d) / sensitivity) * step + pressValue, minimum,
                               maximum);
    if (next != value)
        SetValue(next, true);
}

void CParamKnobBase::MouseUp(int32_t, int32_t, int32_t)
{
    dragging = false;
    Invalidate();
    if (changed && OnChange != nullptr)
        OnChange->Call(this);
}

CParamValueKnob::CParamValueKnob(CWin* window, CKnobImage* image, CSynthResources* resources, const char* label,
                                 float* floatField, int32_t* intField)
    : CParamKnobBase(window, image), label(label != nullptr ? label : ""), floatField(floatField),
      intField(intField), resources(resources)
{
    OnChange = new _COnChange<CParamValueKnob>(this, &CParamValueKnob::WriteBack);
    OnGetText = new _COnGetText<CParamValueKnob>(this, &CParamValueKnob::GetText);
}

CParamValueKnob::~CParamValueKnob()
{
    EndEdit();
    delete OnRightClick;
}

void CParamValueKnob::SetRange(int32_t lo, int32_t hi)
{
    minimum = lo;
    maximum = hi;
    rangeMinimum = lo;
    rangeMaximum = hi;
}

void CParamValueKnob::ReportEditsTo(CAutomationHost* host, int32_t parameter)
{
    automation = host;
    parameterIndex = parameter;
}

void CParamValueKnob::SetRightClick(COnMouse* binder)
{
    delete OnRightClick;
    OnRightClick = binder;
}

float CParamValueKnob::HostValue() const
{
    if (rangeMaximum <= rangeMinimum)
        return 0.0f;
    const int32_t v = Clamp(value, rangeMinimum, rangeMaximum);
    return static_cast<float>(v - rangeMinimum) / static_cast<float>(rangeMaximum - rangeMinimum);
}

void CParamValueKnob::SetValue(int32_t v, bool notify)
{
    const int32_t before = value;
    CParamKnobBase::SetValue(v, notify);
    if (!notify || value == before)
        return;
    if (rebuildOnChange && resources != nullptr)
        resources->RequestRebuild();
    if (editing)
        automation->Automate(parameterIndex, HostValue());
}

bool CParamValueKnob::FollowField()
{
    if (editing || dragging)
        return false;
    const int32_t stored = floatField != nullptr ? RoundToInt(*floatField * 100.0f)
                           : intField != nullptr ? *intField
                                                 : value;
    if (stored == value)
        return false;
    value = stored;
    Invalidate();
    return true;
}

void CParamValueKnob::BeginEdit()
{
    if (editing || automation == nullptr || parameterIndex < 0)
        return;
    editing = true;
    automation->BeginEdit(parameterIndex);
}

void CParamValueKnob::EndEdit()
{
    if (!editing)
        return;
    editing = false;
    automation->EndEdit(parameterIndex);
}

void CParamValueKnob::SetValueAsOneEdit(int32_t v)
{
    BeginEdit();
    SetValue(v, true);
    EndEdit();
}

void CParamValueKnob::WriteBack(CCtrl*)
{
    if (floatField != nullptr)
        *floatField = static_cast<float>(value / 100.0);
    else if (intField != nullptr)
        *intField = value;
    if (window != nullptr)
        window->Invalidate();
}

std::string CParamValueKnob::Item(int32_t v) const
{
    if (v < 0 || static_cast<size_t>(v) >= items.size())
        return std::string();
    return items[static_cast<size_t>(v)];
}

std::string CParamValueKnob::ValueText() const
{
    char text[32];
    if (floatField != nullptr)
        std::snprintf(text, sizeof text, "%d", RoundToInt(*floatField * 100.0f));
    else if (intField != nullptr && !items.empty())
        return Item(value);
    else if (intField != nullptr && secondaryField != nullptr)
        std::snprintf(text, sizeof text, "%d/%d", value, *secondaryField);
    else
        std::snprintf(text, sizeof text, "%d", value);
    return text;
}

std::string CParamValueKnob::DisplayText() const
{
    if (kind == kKnobCyclingList)
        return Item(value);
    return IsPressed() ? ValueText() : label;
}

void CParamValueKnob::GetText(CCtrl*, char*& text, int32_t)
{
    text = NewString(DisplayText().c_str());
}

void CParamValueKnob::PaintBody(CGraphic& g)
{
    switch (kind)
    {
    case kKnobSwitch:
    case kKnobCyclingList:
    {
        const int32_t left = (width - kBoxWidth) / 2;
        const int32_t top = (height - kBoxHeight) / 2 - kBoxRaise;
        const Rect box{left, top, left + kBoxWidth, top + kBoxHeight};
        g.FillRect(kBoxColour, box);
        g.FrameRect(kGreyColour, box);
        if (kind == kKnobSwitch && intField != nullptr && minimum == 0 && maximum == 1)
        {
            const uint32_t light = *intField != 0 ? kAccentColour : kGreyColour;
            g.FillRect(light, Rect{left + kLightLeft, top + kLightTop, left + kLightLeft + kLightWidth,
                                   top + kLightTop + kLightHeight});
        }
        break;
    }
    case kKnobRadioList:
        for (int32_t v = minimum, row = 0; v <= maximum && row < height; ++v, row += kRadioRowHeight)
        {
            g.FillRect(v == value ? kAccentColour : kGreyColour,
                       Rect{kRadioMarkerLeft, row + kRadioMarkerTop, kRadioMarkerLeft + kRadioMarkerSide,
                            row + kRadioMarkerTop + kRadioMarkerSide});
            g.Text(textColour, Item(row / kRadioRowHeight).c_str(),
                   Rect{kRadioTextLeft, row, width, row + kRadioRowHeight}, kAlignLeft);
        }
        break;
    default:
        DrawKnob(g);
        break;
    }
}

void CParamValueKnob::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    switch (kind)
    {
    case kKnobPlain:
    case kKnobBeatCount:
        if (flags & kMouseDouble)
        {
            SetValueAsOneEdit(defaultValue);
        }
        else
        {
            CParamKnobBase::MouseDown(px, py, flags);
            if (dragging)
                BeginEdit();
        }
        break;
    case kKnobCyclingList:
        Invalidate();
        break;
    default:
        break;
    }
}

void CParamValueKnob::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    if (kind == kKnobPlain || kind == kKnobBeatCount)
        CParamKnobBase::MouseMove(px, py, flags);
}

void CParamValueKnob::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    const int32_t buttons = flags & (kMouseLeft | kMouseRight | kMouseMiddle);
    // A right click with a menu is only the menu: choosing "Learn MIDI CC"
    // must not also flip a switch.
    if (buttons == kMouseRight && OnRightClick != nullptr)
    {
        OnRightClick->Call(this, px, py, flags);
        Invalidate();
        return;
    }
    switch (kind)
    {
    case kKnobSwitch:
        SetValueAsOneEdit(value >= maximum ? minimum : value + 1);
        Invalidate();
        break;
    case kKnobRadioList:
        SetValueAsOneEdit((py + 1) / kRadioRowHeight);
        Invalidate();
        break;
    case kKnobCyclingList:
        if (LeftOnly(flags))
            SetValueAsOneEdit(value >= maximum ? minimum : value + 1);
        Invalidate();
        break;
    default:
        CParamKnobBase::MouseUp(px, py, flags);
        EndEdit();
        break;
    }
}
