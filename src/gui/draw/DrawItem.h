#pragma once

#include "gui/draw/CGraphic.h"
#include "gui/draw/CSkinItem.h"

// DrawItem flags.
constexpr int32_t kItemNoFrame = 2;
constexpr int32_t kItemFrameOnly = 4;

// Draws item over r (local to g): its fill unless flags has kItemFrameOnly,
// then its frame unless flags has kItemNoFrame. A null item draws nothing.
void DrawItem(CGraphic& g, Rect r, const CSkinItem* item, int32_t flags);
