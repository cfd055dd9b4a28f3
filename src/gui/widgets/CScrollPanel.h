#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

class CScrollbar;

// A scrolled area: children added to the panel go into its content group,
// which scrolls vertically under a scroll bar at the right edge. The bar is
// shown only while the content (down to its lowest child's bottom edge) is
// taller than the panel, and reports to the panel through OnChange. The
// background is the "panel" item's fill colour. The wheel scrolls by its raw
// delta (120 pixels per notch, positive upwards) without Ctrl.
class CScrollPanel : public CGroup
{
public:
    explicit CScrollPanel(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
    // Lays out the content, then fits the bar to its extent.
    void Layout() override;
    // Into the content group.
    void AddChild(CCtrl* child) override;
    // Empties the content group and scrolls back to the top.
    void DeleteChildren() override;

    // The lowest bottom edge of the content's children (0 when empty).
    int32_t Extent() const;

    CGroup* content;  // owned (first child)
    CScrollbar* bar;  // owned (second child)

private:
    // Places content and bar for the current extent and size.
    void Arrange();
    void Scrolled(CCtrl* sender);
};
