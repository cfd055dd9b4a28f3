#include "gui/widgets/CScrollbar.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/Colour.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/ArrowGlyph.h"

#include <algorithm>
#include <cstdint>

namespace
{

// A thumb never gets shorter than this, so that it can still be grabbed.
constexpr int32_t kMinThumb = 8;
// The thumb's outline: the thumb item's fill moved this far towards its text
// colour, because the default theme gives track and thumb the same fill.
constexpr double kThumbEdge = 0.35;

const CSkinItem* Item(CWin* window, const char* key)
{
    return window != nullptr && window->app != nullptr ? window->app->theme->Find(key) : nullptr;
}

// a * b / c rounded to nearest, for a, b >= 0 and c > 0, without overflow.
int32_t MulDivRound(int64_t a, int64_t b, int64_t c)
{
    return static_cast<int32_t>((a * b * 2 + c) / (c * 2));
}

}  // namespace

CScrollbar::CScrollbar(CWin* window, bool vertical) : CCtrl(window), vertical(vertical ? 1 : 0)
{
    width = kScrollbarSide;
    height = kScrollbarSide;
}

CScrollbar::~CScrollbar()
{
    StopRepeat();
}

void CScrollbar::StopRepeat()
{
    if (window != nullptr && window->app != nullptr)
        window->app->StopTimer(this);
}

int32_t CScrollbar::GetValue()
{
    return value;
}

bool CScrollbar::SetValue(int32_t v)
{
    // A reversed range holds only its minimum.
    const int32_t clamped = std::max(minimum, std::min(v, maximum));
    if (clamped == value)
        return false;
    value = clamped;
    return true;
}

void CScrollbar::ChangeValue(int32_t v)
{
    if (!SetValue(v))
        return;
    Invalidate();
    if (OnChange != nullptr)
        OnChange->Call(this);
}

void CScrollbar::SetRange(int32_t newMinimum, int32_t newMaximum, int32_t newPage)
{
    minimum = newMinimum;
    maximum = newMaximum;
    page = std::max(0, newPage);
    const int32_t old = value;
    value = std::max(minimum, std::min(old, maximum));
}

void CScrollbar::PlaceThumb()
{
    if (!hasThumb)
    {
        arrowLength = 0;
        thumbPos = 0;
        thumbLength = 0;
        return;
    }
    const int32_t length = std::max(0, Length());
    arrowLength = std::min(kScrollbarSide, length / 2);
    const int32_t track = length - 2 * arrowLength;
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    int32_t thumb = track;
    if (range > 0)
        thumb = page > 0 ? static_cast<int32_t>(track * static_cast<int64_t>(page) / (range + page)) : kScrollbarSide;
    thumbLength = std::max(std::min(kMinThumb, track), std::min(thumb, track));
    thumbPos = arrowLength;
    if (range > 0)
        thumbPos += MulDivRound(track - thumbLength, static_cast<int64_t>(value) - minimum, range);
}

int32_t CScrollbar::Along(int32_t px, int32_t py) const
{
    if (!vertical)
        return px;
    return inverted ? height - 1 - py : py;
}

int32_t CScrollbar::ZoneAt(int32_t p) const
{
    const int32_t length = Length();
    if (p < arrowLength)
        return kZoneDecArrow;
    if (p >= length - arrowLength)
        return kZoneIncArrow;
    if (p < thumbPos)
        return kZonePageDec;
    if (p < thumbPos + thumbLength)
        return kZoneThumb;
    return kZonePageInc;
}

int32_t CScrollbar::ValueAt(int32_t p) const
{
    const int32_t last = Length() - 1;
    if (last <= 0 || maximum <= minimum)
        return minimum;
    p = std::max(0, std::min(p, last));
    return minimum + MulDivRound(p, static_cast<int64_t>(maximum) - minimum, last);
}

Rect CScrollbar::Span(Rect r, int32_t a, int32_t b) const
{
    if (!vertical)
        return Rect{r.left + a, r.top, r.left + b, r.bottom};
    if (inverted)
        return Rect{r.left, r.bottom - b, r.right, r.bottom - a};
    return Rect{r.left, r.top + a, r.right, r.top + b};
}

void CScrollbar::DrawTrack(CGraphic& g, Rect r)
{
    DrawItem(g, r, Item(window, vertical ? "scrollbarvert" : "scrollbarhorz"), 0);
}

void CScrollbar::DrawThumb(CGraphic& g, Rect r)
{
    const CSkinItem* item = Item(window, vertical ? "scrollbarvertthumb" : "scrollbarhorzthumb");
    DrawItem(g, r, item, 0);
    if (item != nullptr)
        g.FrameRect(Mix(item->itemfillcol, item->itemtextcol, kThumbEdge), r);
}

void CScrollbar::Paint(CGraphic& g, Rect r)
{
    PlaceThumb();
    DrawTrack(g, r);
    // The up or left arrow and the down or right one, whichever way the bar counts.
    const int32_t a = arrowLength;
    const Rect topLeft = vertical ? Rect{r.left, r.top, r.right, r.top + a} : Rect{r.left, r.top, r.left + a, r.bottom};
    const Rect bottomRight =
        vertical ? Rect{r.left, r.bottom - a, r.right, r.bottom} : Rect{r.right - a, r.top, r.right, r.bottom};
    const CSkinItem* low = Item(window, vertical ? "scrollbarup" : "scrollbarleft");
    const CSkinItem* high = Item(window, vertical ? "scrollbardown" : "scrollbarright");
    if (arrowLength > 0)
    {
        DrawItem(g, topLeft, low, 0);
        DrawItem(g, bottomRight, high, 0);
        DrawArrowGlyph(g, topLeft, vertical ? ArrowDirection::Up : ArrowDirection::Left,
                       low != nullptr ? low->itemsymbcol : 0);
        DrawArrowGlyph(g, bottomRight, vertical ? ArrowDirection::Down : ArrowDirection::Right,
                       high != nullptr ? high->itemsymbcol : 0);
    }
    // Nothing to scroll: no thumb to show.
    if (maximum > minimum && thumbLength > 0)
        DrawThumb(g, Span(r, thumbPos, thumbPos + thumbLength));
}

void CScrollbar::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    if ((flags & kMouseLeft) && maximum > minimum)
    {
        pressX = px;
        pressY = py;
        PlaceThumb();
        const int32_t p = Along(px, py);
        if (!hasThumb)
        {
            zone = kZoneBarNone;
            dragging = 1;
            ChangeValue(ValueAt(p));
        }
        else
        {
            zone = ZoneAt(p);
            if (zone == kZoneThumb)
            {
                dragging = 1;
                grab = p - thumbPos;
            }
            else
            {
                const bool arrow = zone == kZoneDecArrow || zone == kZoneIncArrow;
                step = arrow ? kArrowStep : kPageStep;
                maxStep = arrow ? kArrowMaxStep : kPageMaxStep;
                ticked = 0;
                if (window != nullptr && window->app != nullptr)
                    window->app->StartTimer(this, kRepeatPeriodMs, true);
            }
        }
    }
    CCtrl::MouseDown(px, py, flags);
}

void CScrollbar::MouseMove(int32_t px, int32_t py, int32_t flags)
{
    if (dragging && (flags & kMouseLeft))
    {
        const int32_t p = Along(px, py);
        if (!hasThumb)
        {
            ChangeValue(ValueAt(p));
        }
        else
        {
            PlaceThumb();
            const int32_t span = Length() - 2 * arrowLength - thumbLength;
            if (span > 0)
            {
                const int32_t at = std::max(0, std::min(p - grab - arrowLength, span));
                ChangeValue(minimum + MulDivRound(at, static_cast<int64_t>(maximum) - minimum, span));
            }
        }
    }
    CCtrl::MouseMove(px, py, flags);
}

void CScrollbar::RepeatStep()
{
    const int32_t move = static_cast<int32_t>(step);
    const bool down = zone == kZoneDecArrow || zone == kZonePageDec;
    const int64_t target = static_cast<int64_t>(value) + (down ? -move : move);
    ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, target))));
}

void CScrollbar::Timer()
{
    // The window dropped the press without a release (focus lost): stop.
    if (window == nullptr || window->pressedCtrl != this)
    {
        StopRepeat();
        zone = kZoneBarNone;
        return;
    }
    ticked = 1;
    RepeatStep();
    step = std::min(step + kStepGrowth, static_cast<double>(maxStep));
}

void CScrollbar::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    const bool repeating = zone != kZoneBarNone && zone != kZoneThumb;
    StopRepeat();
    // A click shorter than the first tick would otherwise do nothing.
    if (repeating && !ticked)
        RepeatStep();
    zone = kZoneBarNone;
    dragging = 0;
    CCtrl::MouseUp(px, py, flags);
}

void FitVerticalBar(CScrollbar& bar, int32_t w, int32_t h, int64_t extent)
{
    bar.visible = extent > h ? 1 : 0;
    bar.x = w - kScrollbarSide;
    bar.y = 0;
    bar.width = kScrollbarSide;
    bar.height = h;
    bar.SetRange(0, static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(0, extent - h), INT32_MAX)), h);
}
