#include "gui/platform/CX11Context.h"

#include <algorithm>

CX11Context::CX11Context(int32_t width, int32_t height) : CSoftContext(width, height)
{
}

void CX11Context::Damage(const Rect& r)
{
    const Rect cut = Intersection(Normalised(r), Rect{0, 0, Width(), Height()});
    if (!cut.IsEmpty())
        damage = Union(damage, cut);
}

Rect CX11Context::TakeDamage()
{
    const Rect r = damage;
    damage = Rect{};
    return r;
}

void CX11Context::FillRect(const Rect& r)
{
    CSoftContext::FillRect(r);
    Damage(r);
}

void CX11Context::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    CSoftContext::Line(x1, y1, x2, y2);
    Damage(Rect{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1, std::max(y1, y2) + 1});
}

void CX11Context::Ellipse(const Rect& r)
{
    CSoftContext::Ellipse(r);
    Damage(r);
}

void CX11Context::Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip)
{
    CSoftContext::Text(x, y, text, colour, clip);
    Rect r{x, y, x + TextWidth(text), y + LineHeight()};
    if (clip != nullptr)
        r = Intersection(r, *clip);
    Damage(r);
}

void CX11Context::Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY)
{
    CSoftContext::Blit(dst, src, srcX, srcY);
    Damage(dst);
}

void CX11Context::Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip)
{
    CSoftContext::Stretch(dst, src, srcRect, clip);
    Damage(Intersection(Normalised(dst), clip));
}

uint8_t* CX11Context::Bits()
{
    Damage(Rect{0, 0, Width(), Height()});
    return CSoftContext::Bits();
}
