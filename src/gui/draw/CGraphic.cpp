#include "gui/draw/CGraphic.h"

#include "gui/draw/CBitmap.h"
#include "gui/draw/Colour.h"

#include <cmath>
#include <cstdlib>

namespace
{

// Effectively unbounded: a window's context has no size of its own.
constexpr int32_t kUnbounded = 1 << 29;

}  // namespace

CGraphic::CGraphic(CDrawContext* dc) : dc(dc)
{
    width = dc->Width();
    height = dc->Height();
    if (width > 0)
    {
        bitsPerPixel = 32;
        bits = dc->Bits();
        stride = dc->Stride();
        clip = Rect{0, 0, width, height};
    }
    else
    {
        clip = Rect{-kUnbounded, -kUnbounded, kUnbounded, kUnbounded};
    }
}

void CGraphic::UseBrush(uint32_t colour)
{
    if (brushColour == colour)
        return;
    dc->SelectBrush(colour);
    brushColour = colour;
}

void CGraphic::FillDevice(uint32_t colour, const Rect& r)
{
    const Rect area = Intersection(Normalised(r), clip);
    if (area.IsEmpty())
        return;
    UseBrush(colour);
    dc->FillRect(area);
}

void CGraphic::FillRect(uint32_t colour, Rect r)
{
    FillDevice(colour, ToDevice(Normalised(r)));
}

void CGraphic::FillCutRect(uint32_t colour, Rect r)
{
    const Rect d = ToDevice(Normalised(r));
    if (d.IsEmpty())
        return;
    FillDevice(colour, Rect{d.left + 1, d.top, d.right - 1, d.bottom});
    FillDevice(colour, Rect{d.left, d.top + 1, d.left + 1, d.bottom - 1});
    FillDevice(colour, Rect{d.right - 1, d.top + 1, d.right, d.bottom - 1});
}

void CGraphic::FrameRect(uint32_t colour, Rect r)
{
    const Rect d = ToDevice(Normalised(r));
    if (d.IsEmpty())
        return;
    FillDevice(colour, Rect{d.left, d.top, d.right, d.top + 1});
    FillDevice(colour, Rect{d.left, d.bottom - 1, d.right, d.bottom});
    FillDevice(colour, Rect{d.left, d.top + 1, d.left + 1, d.bottom - 1});
    FillDevice(colour, Rect{d.right - 1, d.top + 1, d.right, d.bottom - 1});
}

void CGraphic::FrameCutRect(uint32_t colour, Rect r)
{
    const Rect d = ToDevice(Normalised(r));
    if (d.IsEmpty())
        return;
    FillDevice(colour, Rect{d.left + 1, d.top, d.right - 1, d.top + 1});
    FillDevice(colour, Rect{d.left + 1, d.bottom - 1, d.right - 1, d.bottom});
    FillDevice(colour, Rect{d.left, d.top + 1, d.left + 1, d.bottom - 1});
    FillDevice(colour, Rect{d.right - 1, d.top + 1, d.right, d.bottom - 1});
}

void CGraphic::SetPen(uint32_t colour)
{
    UsePen(colour, dottedPen != 0);
}

void CGraphic::UsePen(uint32_t colour, bool dotted)
{
    if (penColour == colour && selectedPenDotted == dotted)
        return;
    dc->SelectPen(colour, dotted);
    penColour = colour;
    selectedPenDotted = dotted;
}

void CGraphic::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (clip.IsEmpty())
        return;
    dc->PushClipRegion(clip);
    dc->Line(x1 + originX, y1 + originY, x2 + originX, y2 + originY);
    dc->PopClipRegion();
}

void CGraphic::Ellipse(uint32_t colour, Rect r)
{
    const Rect d = ToDevice(Normalised(r));
    if (Intersection(d, clip).IsEmpty())
        return;
    UsePen(colour, false);
    UseBrush(colour);
    dc->PushClipRegion(clip);
    dc->Ellipse(d);
    dc->PopClipRegion();
}

void CGraphic::Text(uint32_t colour, const char* text, Rect r, uint32_t align)
{
    const Rect d = ToDevice(Normalised(r));
    const int32_t textWidth = dc->TextWidth(text);
    const int32_t lineHeight = dc->LineHeight();
    int32_t x = d.left + (d.Width() - textWidth) / 2;
    if (align & kAlignLeft)
        x = d.left;
    else if (align & kAlignRight)
        x = d.right - textWidth;
    int32_t y = d.top + (d.Height() - lineHeight) / 2;
    if (align & kAlignTop)
        y = d.top;
    else if (align & kAlignBottom)
        y = d.bottom - lineHeight;
    const Rect area = (align & kAlignNoClip) ? clip : Intersection(clip, d);
    if (area.IsEmpty())
        return;
    dc->Text(x, y, text, colour, &area);
}

int32_t CGraphic::TextWidth(const char* text)
{
    return dc->TextWidth(text);
}

void CGraphic::Gradient(Rect r, uint32_t colour1, uint32_t colour2, int32_t direction)
{
    const Rect n = Normalised(r);
    const bool vertical = direction == kGradientVertical;
    const int32_t steps = vertical ? n.Height() : n.Width();
    for (int32_t i = 0; i < steps; ++i)
    {
        const double t = steps > 1 ? static_cast<double>(i) / (steps - 1) : 0.0;
        const uint32_t colour = Mix(colour1, colour2, t);
        if (vertical)
            FillRect(colour, Rect{n.left, n.top + i, n.right, n.top + i + 1});
        else
            FillRect(colour, Rect{n.left + i, n.top, n.left + i + 1, n.bottom});
    }
}

void CGraphic::Gloss(Rect r, uint32_t colour, float effect, int32_t inset)
{
    const Rect n = Normalised(r);
    if (n.IsEmpty())
        return;
    FillRect(colour, n);
    const uint32_t light = Mix(colour, kWhite, std::fabs(effect));
    const uint32_t mid = Mix(colour, light, 0.25);
    const int32_t middle = (n.top + n.bottom) / 2;
    if (effect > 0.0f)
        Gradient(Rect{n.left + inset, n.top + inset, n.right - inset, middle + 1}, light, mid, kGradientVertical);
    else
        Gradient(Rect{n.left + inset, middle, n.right - inset, n.bottom - inset}, mid, light, kGradientVertical);
}

uint32_t CGraphic::GetPixel(int32_t x, int32_t y)
{
    return dc->GetPixel(x + originX, y + originY);
}

void CGraphic::StretchImage(CBitmap* image, Rect r)
{
    if (image == nullptr || image->graphic == nullptr)
        return;
    const Rect d = ToDevice(Normalised(r));
    if (d.IsEmpty() || Intersection(d, clip).IsEmpty())
        return;
    dc->Stretch(d, *image->graphic->dc, Rect{0, 0, image->width, image->height}, clip);
}

void CGraphic::Blit(CGraphic& source, Rect r, int32_t srcX, int32_t srcY)
{
    const Rect d = ToDevice(Normalised(r));
    const Rect area = Intersection(d, clip);
    if (area.IsEmpty())
        return;
    dc->Blit(area, *source.dc, srcX + area.left - d.left, srcY + area.top - d.top);
}

void CGraphic::PushClipRegion(Rect r)
{
    Rect d = ToDevice(Normalised(r));
    if (limitWidth > 0)
        d.right = d.right < limitWidth ? d.right : limitWidth;
    if (limitHeight > 0)
        d.bottom = d.bottom < limitHeight ? d.bottom : limitHeight;
    dc->PushClipRegion(d);
}

void CGraphic::PopClipRegion()
{
    dc->PopClipRegion();
}
