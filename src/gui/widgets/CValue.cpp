#include "gui/widgets/CValue.h"

#include "gui/core/CWin.h"
#include "gui/platform/InputCodes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace
{

constexpr int32_t kShiftMultiplier = 10;
// A release this close to the press, with the value unchanged, is a click.
constexpr int32_t kClickSlack = 2;
// Whole parts saturate here while read: far beyond 32 bits, yet x 10^9 still fits 64.
constexpr int64_t kParseLimit = int64_t{1} << 32;

int32_t MultiplierOf(int32_t flags)
{
    return (flags & kModShift) ? kShiftMultiplier : 1;
}

int64_t PowerOfTen(int32_t n)
{
    int64_t p = 1;
    for (int32_t i = 0; i < n; ++i)
        p *= 10;
    return p;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

CValue::CValue(CWin* window) : CEdit(window)
{
    SetValue(0);
}

int32_t CValue::Decimals() const
{
    return 0;
}

std::string CValue::FormatNumber(int32_t v, int32_t decimals)
{
    decimals = std::clamp(decimals, 0, 9);
    const int64_t scale = PowerOfTen(decimals);
    const int64_t magnitude = std::llabs(static_cast<int64_t>(v));
    std::string s = v < 0 ? "-" : "";
    s += std::to_string(magnitude / scale);
    if (decimals > 0)
    {
        std::string fraction = std::to_string(magnitude % scale);
        s += '.';
        s += std::string(static_cast<size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return s;
}

bool CValue::ParseNumber(const char* text, int32_t decimals, int32_t& out)
{
    decimals = std::clamp(decimals, 0, 9);
    const char* p = text != nullptr ? text : "";
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '-' || *p == '+')
        negative = *p++ == '-';
    int64_t units = 0;
    int32_t digits = 0;
    for (; IsDigit(*p); ++p, ++digits)
        units = std::min(units * 10 + (*p - '0'), kParseLimit);
    units *= PowerOfTen(decimals);
    if (*p == '.' || *p == ',')
    {
        ++p;
        int64_t place = PowerOfTen(decimals);
        bool roundUp = false;
        for (int32_t i = 0; IsDigit(*p); ++p, ++i, ++digits)
        {
            if (i < decimals)
                units += (*p - '0') * (place /= 10);
            else if (i == decimals)
                roundUp = *p >= '5';
        }
        if (roundUp)
            ++units;
    }
    while (IsBlank(*p))
        ++p;
    if (digits == 0 || *p != 0)
        return false;
    const int64_t v = negative ? -units : units;
    out = static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    return true;
}

int32_t CValue::Clamp(int64_t v) const
{
    if (maximum <= minimum)
        return minimum;
    return static_cast<int32_t>(std::clamp<int64_t>(v, minimum, maximum));
}

void CValue::SetValue(int32_t v)
{
    value = Clamp(v);
    SetText(FormatNumber(value, Decimals()).c_str());
}

void CValue::SetRange(int32_t low, int32_t high)
{
    minimum = low;
    maximum = high;
    SetValue(value);
}

bool CValue::ChangeValue(int64_t v)
{
    const int32_t old = value;
    SetValue(Clamp(v));
    if (value == old)
        return false;
    Invalidate();
    if (OnChange != nullptr)
        OnChange->Call(this);
    return true;
}

bool CValue::Accepts(char c) const
{
    return IsDigit(c) || c == '-' || c == '+' || IsBlank(c);
}

void CValue::Commit()
{
    int32_t typed = 0;
    if (ParseNumber(text, Decimals(), typed))
        ChangeValue(typed);
    SetValue(value);
}

void CValue::Focus(bool gained)
{
    dragging = 0;
    CEdit::Focus(gained);
    // Whatever was typed, an unfocused field shows its number.
    if (!gained)
        SetValue(value);
}

void CValue::MouseDown(int32_t x, int32_t y, int32_t flags)
{
    if (Editing())
    {
        CEdit::MouseDown(x, y, flags);
        return;
    }
    if ((flags & kMouseLeft) && maximum > minimum)
    {
        dragging = 1;
        pressX = clickX = x;
        pressY = clickY = y;
        startValue = valueAtPress = value;
        multiplier = MultiplierOf(flags);
    }
    CCtrl::MouseDown(x, y, flags);
}

void CValue::MouseMove(int32_t x, int32_t y, int32_t flags)
{
    if (!dragging)
    {
        CEdit::MouseMove(x, y, flags);
        return;
    }
    CCtrl::MouseMove(x, y, flags);
    if (!(flags & kMouseLeft))
        return;
    const int32_t m = MultiplierOf(flags);
    if (m != multiplier)
    {
        // A modifier went down or up: the drag goes on from here at the new rate.
        multiplier = m;
        pressX = x;
        pressY = y;
        startValue = value;
        return;
    }
    const double pixelsPerHalfStep = sensitivity > 0.0 ? sensitivity : 1.0;
    const double travel = static_cast<double>(pressY - y) + static_cast<double>(x - pressX);
    const int64_t steps = static_cast<int64_t>(std::trunc(travel * 0.5 / pixelsPerHalfStep));
    const int64_t target = startValue + steps * step * multiplier;
    if (live)
    {
        ChangeValue(target);
    }
    else if (Clamp(target) != value)
    {
        SetValue(Clamp(target));
        Invalidate();
    }
}

void CValue::MouseUp(int32_t x, int32_t y, int32_t flags)
{
    if (!dragging)
    {
        CEdit::MouseUp(x, y, flags);
        return;
    }
    dragging = 0;
    if (value != valueAtPress)
    {
        if (!live && OnChange != nullptr)
            OnChange->Call(this);
    }
    else if (std::abs(x - clickX) <= kClickSlack && std::abs(y - clickY) <= kClickSlack && window != nullptr)
    {
        window->SetFocusCtrl(this);
    }
    CCtrl::MouseUp(x, y, flags);
}

bool CValue::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (CCtrl::Wheel(x, y, flags, delta, reserved))
        return true;
    // Without Ctrl the wheel belongs to whatever scrolls around the field;
    // while the text is edited, the number is not changed under it.
    if (!(flags & kModCtrl) || Editing())
        return false;
    const int32_t sign = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    ChangeValue(static_cast<int64_t>(value) + sign * MultiplierOf(flags));
    return true;
}
