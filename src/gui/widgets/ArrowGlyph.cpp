#include "gui/widgets/ArrowGlyph.h"

#include <algorithm>

void DrawArrow(CGraphic& g, Rect box, ArrowDirection direction, uint32_t colour)
{
    box = Normalised(box);
    const int32_t side = std::min(box.Width(), box.Height());
    // An odd base keeps the tip on one pixel.
    const int32_t base = std::max(3, (side / 2 - 1) | 1);
    const int32_t depth = (base + 1) / 2;
    const int32_t cx = box.left + (box.Width() - 1) / 2;
    const int32_t cy = box.top + (box.Height() - 1) / 2;
    for (int32_t i = 0; i < depth; ++i)
    {
        // Row i of the triangle: the tip is row depth - 1, one pixel long.
        const int32_t half = depth - 1 - i;
        switch (direction)
        {
        case ArrowDirection::Down:
        {
            const int32_t y = cy - depth / 2 + i;
            g.FillRect(colour, Rect{cx - half, y, cx + half + 1, y + 1});
            break;
        }
        case ArrowDirection::Up:
        {
            const int32_t y = cy + depth / 2 - i;
            g.FillRect(colour, Rect{cx - half, y, cx + half + 1, y + 1});
            break;
        }
        case ArrowDirection::Right:
        {
            const int32_t x = cx - depth / 2 + i;
            g.FillRect(colour, Rect{x, cy - half, x + 1, cy + half + 1});
            break;
        }
        case ArrowDirection::Left:
        {
            const int32_t x = cx + depth / 2 - i;
            g.FillRect(colour, Rect{x, cy - half, x + 1, cy + half + 1});
            break;
        }
        }
    }
}
