#include "gui/platform/CWin32Context.h"

#include <cstring>

namespace
{

// "Arial" at 8 points for the screen's logical resolution; every other
// attribute zero, as the toolkit's look was designed with.
HFONT NewToolkitFont()
{
    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return CreateFontA(-(8 * pixelsPerInch / 72), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
}

RECT ToRect(const Rect& r)
{
    RECT out;
    out.left = r.left;
    out.top = r.top;
    out.right = r.right;
    out.bottom = r.bottom;
    return out;
}

}  // namespace

CWin32Context::CWin32Context(HDC dc) : dc(dc)
{
    font = NewToolkitFont();
    replacedFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
}

CWin32Context* CWin32Context::NewBitmap(int32_t width, int32_t height)
{
    if (width < 1 || height < 1)
        return nullptr;
    BITMAPINFO info;
    std::memset(&info, 0, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: rows top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr)
        return nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    if (memory == nullptr)
    {
        DeleteObject(bitmap);
        return nullptr;
    }
    CWin32Context* context = new CWin32Context(memory);
    context->ownsDc = true;
    context->bitmap = bitmap;
    context->replacedBitmap = SelectObject(memory, bitmap);
    context->bits = static_cast<uint8_t*>(pixels);
    context->width = width;
    context->height = height;
    return context;
}

CWin32Context::~CWin32Context()
{
    SelectClipRgn(dc, nullptr);
    SelectObject(dc, replacedFont);
    DeleteObject(font);
    // The device context gets back the pen and brush it had before ours.
    if (pen != nullptr)
    {
        SelectObject(dc, replacedPen);
        DeleteObject(pen);
    }
    if (brush != nullptr)
    {
        SelectObject(dc, replacedBrush);
        DeleteObject(brush);
    }
    if (ownsDc)
    {
        SelectObject(dc, replacedBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
}

void CWin32Context::SelectPen(uint32_t colour, bool dotted)
{
    HPEN created;
    if (dotted)
    {
        LOGBRUSH style;
        style.lbStyle = BS_SOLID;
        style.lbColor = colour;
        style.lbHatch = 0;
        created = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &style, 0, nullptr);
    }
    else
    {
        created = CreatePen(PS_SOLID, 1, colour);
    }
    HGDIOBJ previous = SelectObject(dc, created);
    if (pen != nullptr)
        DeleteObject(pen);
    else
        replacedPen = previous;
    pen = created;
}

void CWin32Context::SelectBrush(uint32_t colour)
{
    HBRUSH created = CreateSolidBrush(colour);
    HGDIOBJ previous = SelectObject(dc, created);
    if (brush != nullptr)
        DeleteObject(brush);
    else
        replacedBrush = previous;
    brush = created;
}

void CWin32Context::FillRect(const Rect& r)
{
    const RECT area = ToRect(Normalised(r));
    ::FillRect(dc, &area, brush);
}

void CWin32Context::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void CWin32Context::Ellipse(const Rect& rect)
{
    const Rect r = Normalised(rect);
    ::Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

void CWin32Context::Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip)
{
    SetTextColor(dc, colour);
    RECT area;
    if (clip != nullptr)
        area = ToRect(*clip);
    ExtTextOutA(dc, x, y, clip != nullptr ? ETO_CLIPPED : 0, clip != nullptr ? &area : nullptr, text,
                static_cast<UINT>(std::strlen(text)), nullptr);
}

int32_t CWin32Context::TextWidth(const char* text)
{
    SIZE size;
    if (!GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size))
        return 0;
    return size.cx;
}

int32_t CWin32Context::LineHeight()
{
    TEXTMETRICA metrics;
    if (!GetTextMetricsA(dc, &metrics))
        return 0;
    return metrics.tmHeight;
}

uint32_t CWin32Context::GetPixel(int32_t x, int32_t y)
{
    if (bits != nullptr && (x < 0 || y < 0 || x >= width || y >= height))
        return kNoPixel;
    return ::GetPixel(dc, x, y);
}

void CWin32Context::Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY)
{
    const Rect to = Normalised(dst);
    BitBlt(dc, to.left, to.top, to.Width(), to.Height(), static_cast<CWin32Context&>(src).dc, srcX, srcY, SRCCOPY);
}

void CWin32Context::Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip)
{
    const Rect to = Normalised(dst);
    const Rect from = Normalised(srcRect);
    const Rect limit = Normalised(clip);
    // The clip narrows the region only for this call, so the source mapping stays whole.
    regions.push_back(limit);
    ApplyRegions();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, to.left, to.top, to.Width(), to.Height(), static_cast<CWin32Context&>(src).dc, from.left, from.top,
               from.Width(), from.Height(), SRCCOPY);
    regions.pop_back();
    ApplyRegions();
}

void CWin32Context::ApplyRegions()
{
    if (regions.empty())
    {
        SelectClipRgn(dc, nullptr);
        return;
    }
    Rect area = regions.front();
    for (const Rect& r : regions)
        area = Intersection(area, r);
    if (area.IsEmpty())
        area = Rect{};
    HRGN region = CreateRectRgn(area.left, area.top, area.right, area.bottom);
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

void CWin32Context::PushClipRegion(const Rect& r)
{
    regions.push_back(Normalised(r));
    ApplyRegions();
}

void CWin32Context::PopClipRegion()
{
    if (regions.empty())
        return;
    regions.pop_back();
    ApplyRegions();
}

uint8_t* CWin32Context::Bits()
{
    GdiFlush();
    return bits;
}
