#include "gui/widgets/CFader.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/platform/InputCodes.h"

#include <algorithm>

namespace
{

// Breadth of the groove and of the value marker, pixels.
constexpr int32_t kGroove = 4;
constexpr int32_t kMarker = 3;
// The filled part of the groove: its colour moved this far towards the marker's.
constexpr double kFilled = 0.4;

}  // namespace

CFader::CFader(CWin* window, bool vertical) : CScrollbar(window, vertical)
{
    hasThumb = 0;
}

void CFader::Paint(CGraphic& g, Rect r)
{
    PlaceThumb();
    const CSkinItem* track = nullptr;
    const CSkinItem* thumb = nullptr;
    if (window != nullptr && window->app != nullptr)
    {
        track = window->app->theme->Find(vertical ? "scrollbarvert" : "scrollbarhorz");
        thumb = window->app->theme->Find(vertical ? "scrollbarvertthumb" : "scrollbarhorzthumb");
    }
    const uint32_t groove = track != nullptr ? track->itemfillcol : 0x404040;
    const uint32_t marker = thumb != nullptr ? thumb->itemtextcol : kWhite;
    const int32_t length = Length();
    const int32_t breadth = vertical ? r.Width() : r.Height();
    const int32_t g0 = (breadth - kGroove) / 2;
    // The marker's position along the fader, the inverse of ValueAt.
    int32_t at = 0;
    if (maximum > minimum && length > 1)
        at = static_cast<int32_t>((static_cast<int64_t>(value) - minimum) * (length - 1) * 2 /
                                      (static_cast<int64_t>(maximum) - minimum) +
                                  1) /
             2;
    const auto across = [&](int32_t a, int32_t b, int32_t from, int32_t to)
    {
        Rect s = Span(r, a, b);
        if (vertical)
        {
            s.left = r.left + from;
            s.right = r.left + to;
        }
        else
        {
            s.top = r.top + from;
            s.bottom = r.top + to;
        }
        return s;
    };
    g.FillRect(groove, across(0, length, g0, g0 + kGroove));
    g.FillRect(Mix(groove, marker, kFilled), across(0, at + 1, g0, g0 + kGroove));
    const int32_t m0 = std::max(0, std::min(at - kMarker / 2, length - kMarker));
    g.FillRect(marker, across(m0, m0 + kMarker, 0, breadth));
}

bool CFader::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (!(flags & kModCtrl))
        return CCtrl::Wheel(x, y, flags, delta, reserved);
    const int32_t sign = delta > 0 ? 1 : delta < 0 ? -1 : 0;
    const int32_t amount = sign * ((flags & kModShift) ? kWheelCoarseStep : kWheelFineStep);
    ChangeValue(static_cast<int32_t>(
        std::max<int64_t>(minimum, std::min<int64_t>(maximum, static_cast<int64_t>(value) + amount))));
    return true;
}
