#pragma once

#include "gui/platform/CDrawContext.h"

#include <vector>
#include <windows.h>

// The win32 backend: drawing through the system's graphics device
// interface, in "Arial" at 8 points. Compiled only into Windows builds.
class CWin32Context : public CDrawContext
{
public:
    // A context on a device context the caller keeps (a window's, a printer's).
    explicit CWin32Context(HDC dc);
    // A new top-down 32-bit device-independent section of width x height
    // with its own memory device context; null when the system refuses.
    static CWin32Context* NewBitmap(int32_t width, int32_t height);
    ~CWin32Context() override;

    void SelectPen(uint32_t colour, bool dotted) override;
    void SelectBrush(uint32_t colour) override;
    void FillRect(const Rect& r) override;
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
    void Ellipse(const Rect& r) override;
    void Text(int32_t x, int32_t y, const char* text, uint32_t colour, const Rect* clip) override;
    int32_t TextWidth(const char* text) override;
    int32_t LineHeight() override;
    uint32_t GetPixel(int32_t x, int32_t y) override;
    void Blit(const Rect& dst, CDrawContext& src, int32_t srcX, int32_t srcY) override;
    void Stretch(const Rect& dst, CDrawContext& src, const Rect& srcRect, const Rect& clip) override;
    void PushClipRegion(const Rect& r) override;
    void PopClipRegion() override;
    int32_t Width() const override { return width; }
    int32_t Height() const override { return height; }
    // Finishes pending system drawing first, so the rows are current.
    uint8_t* Bits() override;
    int32_t Stride() const override { return width * 4; }

    HDC Handle() const { return dc; }

private:
    // Applies the intersection of the pushed regions (or none) to the device context.
    void ApplyRegions();

    HDC dc;
    bool ownsDc = false;
    HBITMAP bitmap = nullptr;
    HGDIOBJ replacedBitmap = nullptr;
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    HPEN pen = nullptr;
    HGDIOBJ replacedPen = nullptr;
    HBRUSH brush = nullptr;
    HGDIOBJ replacedBrush = nullptr;
    HFONT font = nullptr;
    HGDIOBJ replacedFont = nullptr;
    std::vector<Rect> regions;
};
