#include "editor/CParamSwitch.h"

#include "editor/EditorColours.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/InputCodes.h"

#include <utility>

namespace
{

// The box of switches and lists, centred a little above the caption, and a
// switch's light inside it.
constexpr int32_t kBoxWidth = 24;
constexpr int32_t kBoxHeight = 28;
constexpr int32_t kBoxRaise = 4;
constexpr int32_t kLightLeft = 8;
constexpr int32_t kLightTop = 3;
constexpr int32_t kLightWidth = 8;
constexpr int32_t kLightHeight = 3;

// Draws the box of a control of the given size; returns it.
Rect PaintBox(CGraphic& g, int32_t width, int32_t height)
{
    const int32_t left = (width - kBoxWidth) / 2;
    const int32_t top = (height - kBoxHeight) / 2 - kBoxRaise;
    const Rect box{left, top, left + kBoxWidth, top + kBoxHeight};
    g.FillRect(kBoxColour, box);
    g.FrameRect(kGreyColour, box);
    return box;
}

int32_t Next(int32_t v, int32_t lo, int32_t hi)
{
    return v >= hi ? lo : v + 1;
}

}  // namespace

CParamSwitch::CParamSwitch(CWin* window, CSynthResources* resources, const char* label, int32_t& field, int32_t lo,
                           int32_t hi)
    : CParamControl(window, resources, label, nullptr, &field, lo, hi)
{
}

void CParamSwitch::PaintBody(CGraphic& g)
{
    const Rect box = PaintBox(g, width, height);
    if (minimum != 0 || maximum != 1)
        return;
    const uint32_t light = *intField != 0 ? kAccentColour : kGreyColour;
    g.FillRect(light, Rect{box.left + kLightLeft, box.top + kLightTop, box.left + kLightLeft + kLightWidth,
                           box.top + kLightTop + kLightHeight});
}

void CParamSwitch::Release(int32_t, int32_t, int32_t)
{
    SetValueAsOneEdit(Next(value, minimum, maximum));
    Invalidate();
}

CParamList::CParamList(CWin* window, CSynthResources* resources, const char* label, int32_t& field, int32_t lo,
                       int32_t hi, std::vector<std::string> items)
    : CParamControl(window, resources, label, nullptr, &field, lo, hi), items(std::move(items))
{
}

void CParamList::MouseDown(int32_t, int32_t, int32_t)
{
    Invalidate();
}

std::string CParamList::ValueText() const
{
    if (value < 0 || static_cast<size_t>(value) >= items.size())
        return std::string();
    return items[static_cast<size_t>(value)];
}

std::string CParamList::DisplayText() const
{
    return ValueText();
}

void CParamList::PaintBody(CGraphic& g)
{
    PaintBox(g, width, height);
}

void CParamList::Release(int32_t, int32_t, int32_t flags)
{
    // Middle and chorded clicks do nothing.
    if ((flags & (kMouseLeft | kMouseRight | kMouseMiddle)) == kMouseLeft)
        SetValueAsOneEdit(Next(value, minimum, maximum));
    Invalidate();
}
