#include "gui/widgets/ArrowGlyph.h"

namespace
{

// Rows of the triangle from its base to its tip; row i is 2 * (kRows - i) - 1 long.
constexpr int32_t kRows = 4;

}  // namespace

void DrawArrowGlyph(CGraphic& g, Rect r, ArrowDirection direction, uint32_t colour)
{
    const int32_t cx = r.left + r.Width() / 2;
    const int32_t cy = r.top + r.Height() / 2;
    for (int32_t i = 0; i < kRows; ++i)
    {
        const int32_t half = kRows - 1 - i;
        // The base sits half the glyph's depth behind the centre, the tip ahead of it.
        const int32_t along = i - kRows / 2;
        switch (direction)
        {
        case ArrowDirection::Right:
            g.FillRect(colour, Rect{cx + along, cy - half, cx + along + 1, cy + half + 1});
            break;
        case ArrowDirection::Left:
            g.FillRect(colour, Rect{cx - along, cy - half, cx - along + 1, cy + half + 1});
            break;
        case ArrowDirection::Down:
            g.FillRect(colour, Rect{cx - half, cy + along, cx + half + 1, cy + along + 1});
            break;
        case ArrowDirection::Up:
            g.FillRect(colour, Rect{cx - half, cy - along, cx + half + 1, cy - along + 1});
            break;
        }
    }
}
