#include "gui/platform/CSoftContext.h"

#include "gui/platform/CSoftFont.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{

// Pixels are stored as a little-endian DIB word 0x00RRGGBB.
void StorePixel(uint8_t* at, uint32_t colour)
{
    at[0] = static_cast<uint8_t>(colour >> 16);
    at[1] = static_cast<uint8_t>(colour >> 8);
    at[2] = static_cast<uint8_t>(colour);
    at[3] = 0;
}

uint32_t LoadPixel(const uint8_t* at)
{
    return static_cast<uint32_t>(at[2]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[0]) << 16;
}

}  // namespace

CSoftContext::CSoftContext(int32_t width, int32_t height)
    : width(width > 0 && height > 0 ? width : 0), height(width > 0 && height > 0 ? height : 0), stride(this->width * 4),
      bits(nullptr)
{
    if (this->width > 0)
    {
        bits = new uint8_t[static_cast<size_t>(stride) * static_cast<size_t>(this->height)];
        std::memset(bits, 0, static_cast<size_t>(stride) * static_cast<size_t>(this->height));
    }
}

CSoftContext::~CSoftContext()
{
    delete[] bits;
}

void CSoftContext::SelectPen(uint32_t colour, bool dotted)
{
    pen = colour;
    penDotted = dotted;
    ++objectsCreated;
}

void CSoftContext::SelectBrush(uint32_t colour)
{
    brush = colour;
    ++objectsCreated;
}

Rect CSoftContext::Region() const
{
    Rect region{0, 0, width, height};
    for (const Rect& r : regions)
        region = Intersection(region, r);
    return region;
}

void CSoftContext::Plot(const Rect& region, int32_t x, int32_t y, uint32_t colour)
{
    if (region.Contains(x, y))
        StorePixel(bits + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4, colour);
}

void CSoftContext::FillRect(const Rect& r)
{
    const Rect area = Intersection(Normalised(r), Region());
    if (area.IsEmpty())
        return;
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        uint8_t* row = bits + static_cast<size_t>(y) * stride;
        for (int32_t x = area.left; x < area.right; ++x)
            StorePixel(row + static_cast<size_t>(x) * 4, brush);
    }
}

void CSoftContext::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    // Bresenham along the major axis; the end point itself is not drawn so
    // that joined lines do not set their shared corner twice.
    const int32_t dx = std::abs(x2 - x1);
    const int32_t dy = std::abs(y2 - y1);
    const int32_t sx = x1 < x2 ? 1 : -1;
    const int32_t sy = y1 < y2 ? 1 : -1;
    const int32_t steps = std::max(dx, dy);
    int32_t x = x1;
    int32_t y = y1;
    int32_t error = (dx > dy ? dx : -dy) / 2;
    const Rect region = Region();
    const Rect bounds{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1};
    if (Intersection(bounds, region).IsEmpty())
        return;
    for (int32_t i = 0; i < steps; ++i)
    {
        if (!penDotted || i % 2 == 0)
            Plot(region, x, y, pen);
        const int32_t e = error;
        if (e > -dx)
        {
            error -= dy;
            x += sx;
        }
        if (e < dy)
        {
            error += dx;
            y += sy;
        }
    }
}

void CSoftContext::Ellipse(const Rect& rect)
{
    // A pixel belongs to the ellipse when its centre lies inside it. Worked in
    // doubled coordinates so the test is exact and mirror-symmetric:
    // ((2x+1-L)/W)^2 + ((2y+1-T)/H)^2 <= 1 with L = left+right, W = width.
    const Rect r = Normalised(rect);
    const int64_t w = r.Width();
    const int64_t h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    const int64_t sumX = static_cast<int64_t>(r.left) + r.right;
    const int64_t sumY = static_cast<int64_t>(r.top) + r.bottom;
    const Rect region = Region();
    auto inside = [&](int64_t x, int64_t y)
    {
        const int64_t u = 2 * x + 1 - sumX;
        const int64_t v = 2 * y + 1 - sumY;
        return u * u * h * h + v * v * w * w <= w * w * h * h;
    };
    for (int32_t y = r.top; y < r.bottom; ++y)
    {
        for (int32_t x = r.left; x < r.right; ++x)
        {
            if (!inside(x, y))
                continue;
            const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            Plot(region, x, y, edge ? pen : brush);
        }
    }
}

void CSoftContext::Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip)
{
    if (bits == nullptr)
        return;
    const Rect area = clip != nullptr ? Intersection(*clip, Region()) : Region();
    int32_t penX = x;
    for (const char* p = text; *p != '\0'; ++p)
    {
        const char* glyph = CSoftFont::Glyph(*p);
        int32_t row = 0;
        int32_t column = 0;
        for (const char* g = glyph; *g != '\0'; ++g)
        {
            if (*g == '/')
            {
                ++row;
                column = 0;
                continue;
            }
            const int32_t px = penX + column;
            const int32_t py = y + CSoftFont::kGlyphTop + row;
            if (*g == '#')
                Plot(area, px, py, colour);
            ++column;
        }
        penX += CSoftFont::Advance(*p);
    }
}

int32_t CSoftContext::TextWidth(const char* text)
{
    return CSoftFont::TextWidth(text);
}

int32_t CSoftContext::LineHeight()
{
    return CSoftFont::kLineHeight;
}

uint32_t CSoftContext::GetPixel(int32_t x, int32_t y)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return kNoPixel;
    return LoadPixel(bits + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4);
}

void CSoftContext::Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY)
{
    const Rect to = Normalised(dst);
    Stretch(to, src, Rect{srcX, srcY, srcX + to.Width(), srcY + to.Height()}, to);
}

void CSoftContext::Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip)
{
    const Rect to = Normalised(dst);
    const Rect from = Normalised(srcRect);
    const int64_t dw = to.Width();
    const int64_t dh = to.Height();
    if (dw <= 0 || dh <= 0 || from.IsEmpty())
        return;
    const Rect area = Intersection(Intersection(to, Normalised(clip)), Region());
    if (area.IsEmpty())
        return;
    // Every source pixel is read before any is written, so a blit within one
    // surface is safe when the areas overlap.
    const int32_t columns = area.Width();
    std::vector<uint32_t> mapped(static_cast<size_t>(columns) * area.Height());
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        const int32_t sy = from.top + static_cast<int32_t>((y - to.top) * static_cast<int64_t>(from.Height()) / dh);
        for (int32_t x = area.left; x < area.right; ++x)
        {
            const int32_t sx =
                from.left + static_cast<int32_t>((x - to.left) * static_cast<int64_t>(from.Width()) / dw);
            mapped[static_cast<size_t>(y - area.top) * columns + (x - area.left)] = src.GetPixel(sx, sy);
        }
    }
    for (int32_t y = area.top; y < area.bottom; ++y)
    {
        uint8_t* row = bits + static_cast<size_t>(y) * stride;
        for (int32_t x = area.left; x < area.right; ++x)
        {
            const uint32_t colour = mapped[static_cast<size_t>(y - area.top) * columns + (x - area.left)];
            if (colour != kNoPixel)
                StorePixel(row + static_cast<size_t>(x) * 4, colour);
        }
    }
}

void CSoftContext::PushClipRegion(const Rect& r)
{
    regions.push_back(Normalised(r));
}

void CSoftContext::PopClipRegion()
{
    if (!regions.empty())
        regions.pop_back();
}
