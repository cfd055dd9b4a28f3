#pragma once

#include "gui/core/CWin.h"

#include <cstdint>

// Height of the drag window, pixels.
constexpr int32_t kDragWindowHeight = 22;
// Where the drag window sits relative to the cursor.
constexpr int32_t kDragOffsetX = 8;
constexpr int32_t kDragOffsetY = 20;

// The window that follows the cursor while something is dragged: borderless,
// never activated, showing the first dragged item's name on the "treesel"
// item. The application creates it when a drag begins (CApp::BeginDrag).
class CDragWin : public CWin
{
public:
    explicit CDragWin(CApp* app);

    // Shows name (copied) and sizes the window to it: the name's width plus
    // 16 pixels by kDragWindowHeight.
    void SetItemName(const char* name);
    void Paint(CGraphic& g, Rect r) override;
};
