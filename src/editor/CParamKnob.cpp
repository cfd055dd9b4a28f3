#include "editor/CParamKnob.h"

#include "editor/CKnobImage.h"
#include "gui/platform/InputCodes.h"

#include <cmath>
#include <cstdio>

namespace
{

// Where the filmstrip frame sits inside the control.
constexpr int32_t kFrameLeft = 8;
constexpr int32_t kFrameTop = 4;
// Drag pixels per half step: plain knobs, and beat counts (16 pixels a beat).
constexpr float kSensitivity = 2.0f;
constexpr float kBeatCountSensitivity = 8.0f;
constexpr float kLimit = 1e9f;

int32_t Clamp(int32_t v, int32_t lo, int32_t hi)
{
    return v < lo ? lo : (v > hi ? hi : v);
}

// The integer part of v, NaN as 0 and limited to +-1e9, so that a damaged
// field never makes an undefined conversion.
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

}  // namespace

CParamKnob::CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label,
                       float* floatField, int32_t* intField, int32_t lo, int32_t hi, int32_t def, float sensitivity)
    : CParamControl(window, resources, label, floatField, intField, lo, hi), defaultValue(def), image(image),
      sensitivity(sensitivity)
{
}

CParamKnob::CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, float& field,
                       int32_t lo, int32_t hi, int32_t def)
    : CParamKnob(window, resources, image, label, &field, nullptr, lo, hi, def, kSensitivity)
{
}

CParamKnob::CParamKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label, int32_t& field,
                       int32_t lo, int32_t hi, int32_t def)
    : CParamKnob(window, resources, image, label, nullptr, &field, lo, hi, def, kSensitivity)
{
}

int32_t CParamKnob::Frame() const
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

void CParamKnob::PaintBody(CGraphic& g)
{
    if (image != nullptr)
        image->DrawFrame(g, kFrameLeft, kFrameTop, Frame());
}

bool CParamKnob::IsHeld() const
{
    return dragging || CParamControl::IsHeld();
}

void CParamKnob::SetValue(int32_t v, bool notify)
{
    const int32_t before = value;
    CParamControl::SetValue(v, notify);
    if (notify && value != before)
        changed = true;
}

void CParamKnob::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    if (flags & kMouseDouble)
    {
        SetValueAsOneEdit(defaultValue);
        return;
    }
    if (flags & kMouseLeft)
    {
        // A damaged field may hold a value outside the range: turning starts
        // from the end the knob shows.
        pressValue = Clamp(value, minimum, maximum);
        pressX = px;
        pressY = py;
        dragging = true;
        Invalidate();
    }
    if (dragging)
        BeginEdit();
}

void CParamKnob::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    if (!dragging || !(flags & kMouseLeft))
        return;
    // Right and up both turn the knob up; half of their sum, in whole pixels.
    const int32_t d = ((px - pressX) + (pressY - py)) / 2;
    const int32_t next = Clamp(TruncateToInt(static_cast<float>(d) / sensitivity) + pressValue, minimum, maximum);
    if (next != value)
        SetValue(next, true);
}

void CParamKnob::Release(int32_t, int32_t, int32_t)
{
    dragging = false;
    Invalidate();
    if (changed)
        WriteBack();
    EndEdit();
}

CBeatCountKnob::CBeatCountKnob(CWin* window, CSynthResources* resources, CKnobImage* image, const char* label,
                               int32_t& beats, int32_t& division, int32_t lo, int32_t hi, int32_t def)
    : CParamKnob(window, resources, image, label, nullptr, &beats, lo, hi, def, kBeatCountSensitivity),
      divisionField(&division)
{
}

std::string CBeatCountKnob::ValueText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", value, *divisionField);
    return text;
}
