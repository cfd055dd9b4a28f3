#pragma once

#include "gui/platform/Rect.h"

#include <cstdint>

class CCtrl;
class CWin;

// Border zones of a press (kZone...).
constexpr int32_t kZoneNone = 0;
constexpr int32_t kZoneLeft = 2;
constexpr int32_t kZoneTop = 4;
constexpr int32_t kZoneRight = 8;
constexpr int32_t kZoneBottom = 16;
constexpr int32_t kZoneTopLeft = 32;
constexpr int32_t kZoneTopRight = 64;
constexpr int32_t kZoneBottomLeft = 128;
constexpr int32_t kZoneBottomRight = 256;
constexpr int32_t kZoneCaption = 8192;

// The frame of a window: which border zone a point is in, moving or
// resizing the window while a press on the border or caption is held, and
// the cursor shape over the border. Coordinates are the window's client
// coordinates.
class CWindowFrame
{
public:
    // window owns the frame.
    explicit CWindowFrame(CWin& window) : window(window) {}

    // The zone of point (px, py): the resizing border of a resizable window
    // that is not maximised (corners reach along both edges), else the
    // caption of a window with a title bar, else kZoneNone.
    int32_t Zone(int32_t px, int32_t py) const;
    // Starts moving (kZoneCaption) or resizing from the application's last press.
    void Begin(int32_t zone);
    // Moves or resizes the window for the cursor at (px, py), sizes kept at
    // the window's minimum.
    void Track(int32_t px, int32_t py);
    // Ends the action under way, if any; a window embedded in a container
    // then tells the container through its OnChange binder.
    void End();
    // Shows the sizing cursor of zone, else the cursor of hit (the arrow without hit).
    void ShowCursor(int32_t zone, CCtrl* hit) const;

    int32_t action = kZoneNone;  // zone of the action under way

    CWindowFrame(const CWindowFrame&) = delete;
    CWindowFrame& operator=(const CWindowFrame&) = delete;

private:
    CWin& window;
    Rect start;  // window rectangle (parent coordinates) at the press
    int32_t pressScreenX = 0;
    int32_t pressScreenY = 0;
};
