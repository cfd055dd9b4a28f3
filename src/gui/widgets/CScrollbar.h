#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>

// Zones of a scroll bar press.
constexpr int32_t kZoneBarNone = 0;
constexpr int32_t kZoneDecArrow = 1;
constexpr int32_t kZonePageDec = 2;
constexpr int32_t kZoneThumb = 3;
constexpr int32_t kZonePageInc = 4;
constexpr int32_t kZoneIncArrow = 5;

// Auto-repeat of the arrows and page areas: a tick every 20 ms, the step
// starting at 2 (arrows) or 8 (pages) and growing by 0.5 per tick up to 8 or 24.
constexpr int32_t kRepeatPeriodMs = 20;
constexpr double kArrowStep = 2.0;
constexpr int32_t kArrowMaxStep = 8;
constexpr double kPageStep = 8.0;
constexpr int32_t kPageMaxStep = 24;
constexpr double kStepGrowth = 0.5;

// Side of the arrow buttons and the breadth of a bar, pixels.
constexpr int32_t kScrollbarSide = 16;

// A horizontal or vertical scroll bar: arrow buttons at both ends and a
// thumb on the track between them. The value runs from minimum to maximum;
// a bar that scrolls content of extent E through a window of P pixels has
// minimum 0, maximum E - P and page P, the page only sizing the thumb. A
// vertical bar counts from the top, or from the bottom when inverted (its
// decrement arrow is then the lower one). Every value change made by the
// user repaints the bar and calls OnChange. A bar whose maximum does not
// exceed its minimum ignores presses.
class CScrollbar : public CCtrl
{
public:
    CScrollbar(CWin* window, bool vertical);
    // Stops the repeat timer.
    ~CScrollbar() override;

    void Paint(CGraphic& g, Rect r) override;
    // Left press: the zone's action (see the zone constants), then OnMouseDown.
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    // Drags the thumb (or, without one, the value) while the left button is held.
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    // Ends the press; a press released before its first repeat tick still steps once.
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    // A repeat tick of an arrow or page press.
    void Timer() override;

    virtual int32_t GetValue();
    // The track item ("scrollbarvert" or "scrollbarhorz") over r.
    virtual void DrawTrack(CGraphic& g, Rect r);
    // The thumb item ("scrollbarvertthumb" or "scrollbarhorzthumb") over r.
    virtual void DrawThumb(CGraphic& g, Rect r);

    // Stores v clamped to [minimum, maximum]; true when the value changed.
    // Neither repaints nor reports.
    bool SetValue(int32_t v);
    // As SetValue, then repaints and calls OnChange when the value changed.
    void ChangeValue(int32_t v);
    // Sets the range and page (page >= 0) and clamps the value into the range.
    void SetRange(int32_t newMinimum, int32_t newMaximum, int32_t newPage);
    // Computes arrowLength, thumbPos and thumbLength from the size, range and value.
    void PlaceThumb();
    // The zone of position p along the bar (kZone...).
    int32_t ZoneAt(int32_t p) const;

    int32_t value = 0;
    int32_t minimum = 0;
    int32_t maximum = 0;
    double step = 0.0;  // the current auto-repeat step
    int32_t maxStep = 0;
    int32_t pressX = 0;
    int32_t pressY = 0;
    uint8_t dragging = 0;
    int32_t zone = kZoneBarNone;
    uint8_t vertical;
    int32_t arrowLength = 0;  // pixels; positions below count along the bar
    int32_t thumbPos = 0;
    int32_t thumbLength = 0;  // 0: no thumb, the value follows the cursor (faders)
    uint8_t inverted = 0;
    int32_t page = 0;  // the visible part of the scrolled extent
    uint8_t hasThumb = 1;
    int32_t grab = 0;    // cursor offset into the thumb while it is dragged
    uint8_t ticked = 0;  // the repeat timer fired during the current press

protected:
    // Position of local (x, y) along the bar: x, y, or height - 1 - y when inverted.
    int32_t Along(int32_t x, int32_t y) const;
    // The bar's length along its axis.
    int32_t Length() const { return vertical ? height : width; }
    // The value at position p for a bar without a thumb: the first pixel is
    // the minimum, the last the maximum, rounded to nearest.
    int32_t ValueAt(int32_t p) const;
    // The span from a to b (positions along the bar) as a local rectangle.
    Rect Span(Rect r, int32_t a, int32_t b) const;

private:
    // Takes the timer off the application's list.
    void StopRepeat();
    // One move of the repeat: down for zones 1 and 2, up for 4 and 5.
    void RepeatStep();
};

// Places bar along the right edge of a view w x h pixels that scrolls content
// extent pixels tall, shown only when the content is taller than the view;
// its value is then the offset scrolled off the top, its page the view's height.
void FitVerticalBar(CScrollbar& bar, int32_t w, int32_t h, int64_t extent);
