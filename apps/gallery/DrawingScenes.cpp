#include "Scenes.h"

#include "gui/core/CGroup.h"
#include "gui/draw/CGraphic.h"
#include "gui/draw/CGui.h"
#include "gui/draw/CImage.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CSoftContext.h"
#include "image/KnobFilmstrip.h"

#include <string>

namespace
{

void Shapes(CPictureFolder& folder)
{
    CSoftContext dc(60, 30);
    dc.SelectPen(0xFFFFFF, false);
    dc.SelectBrush(0x0000FF);
    dc.Ellipse(Rect{4, 3, 33, 24});
    dc.SelectPen(0x00FF00, true);
    dc.Line(36, 2, 58, 27);
    dc.SelectPen(0x00FF00, false);
    dc.Line(36, 27, 58, 2);
    folder.Write(dc, "shapes", 8);
}

// Every printable character, 48 to a line, and the editor's title line.
void FontSampler(CPictureFolder& folder)
{
    CSoftContext dc(330, 60);
    dc.SelectBrush(0x505050);
    dc.FillRect(Rect{0, 0, 330, 60});
    std::string line;
    int row = 0;
    for (int code = 32; code <= 126; ++code)
    {
        line += static_cast<char>(code);
        if (line.size() == 48 || code == 126)
        {
            dc.Text(4, 2 + row * 13, line.c_str(), 0xFFFFFF, nullptr);
            line.clear();
            ++row;
        }
    }
    dc.Text(4, 2 + row * 13, "WAVE - MODULATION - SYNTHESIZER  Version 1.2", 0x0080FE, nullptr);
    folder.Write(dc, "font-sampler", 3);
}

// Each item of the default theme, three to a row, labelled with its key.
void ThemeItems(CPictureFolder& folder)
{
    CGui gui;
    gui.Init();
    constexpr int32_t kColumns = 3;
    constexpr int32_t kCellWidth = 150;
    constexpr int32_t kCellHeight = 26;
    const int32_t rows = (gui.Count() + kColumns - 1) / kColumns;
    CSoftContext sheet(kColumns * kCellWidth, rows * kCellHeight);
    CGraphic g(&sheet);
    g.FillRect(0x303030, Rect{0, 0, sheet.Width(), sheet.Height()});
    for (int32_t i = 0; i < gui.Count(); ++i)
    {
        const CSkinItem* item = gui.Item(i);
        const int32_t left = (i % kColumns) * kCellWidth + 4;
        const int32_t top = (i / kColumns) * kCellHeight + 3;
        const Rect box{left, top, left + kCellWidth - 8, top + (item->height > 0 ? item->height : 20)};
        DrawItem(g, box, item, 0);
        const uint32_t ink = item->itemtextcol != 0   ? item->itemtextcol
                             : item->itemsymbcol != 0 ? item->itemsymbcol
                                                      : 0x00FFFF;
        g.Text(ink, item->itemid, box, 0);
    }
    folder.Write(sheet, "theme-items", 2);
}

// Six frames of the knob strip, evenly spread, over the window colour.
void KnobFrames(CPictureFolder& folder)
{
    CImageChunk strip;
    strip.stream.Write(kKnobFilmstripPng, kKnobFilmstripPngBytes);
    CImage image(&strip, 0x505050);
    constexpr int32_t kFrames = 6;
    CSoftContext dc(kFrames * kKnobFrameSize, kKnobFrameSize);
    CGraphic g(&dc);
    for (int32_t i = 0; i < kFrames; ++i)
    {
        const int32_t frame = i * (kKnobFrameCount - 1) / (kFrames - 1);
        image.Draw(g, i * kKnobFrameSize, 0, 0, frame * kKnobFrameSize, kKnobFrameSize, kKnobFrameSize);
    }
    if (image.cache == nullptr)
        folder.Fail("knob-frames", "the knob strip does not decode");
    else
        folder.Write(dc, "knob-frames", 2);
}

// A control that fills its rectangle with one colour.
class CFiller : public CCtrl
{
public:
    explicit CFiller(uint32_t colour) : CCtrl(nullptr), colour(colour) {}
    void Paint(CGraphic& g, Rect r) override { g.FillRect(colour, r); }
    uint32_t colour;
};

// A scrolled group with two overlapping children, painted at an offset.
void GroupPaint(CPictureFolder& folder)
{
    CSoftContext dc(60, 40);
    CGraphic g(&dc);
    CGroup group(nullptr);
    group.width = 50;
    group.height = 30;
    group.background = 0x505050;
    group.scrollX = 2;
    const Rect places[] = {{5, 5, 25, 15}, {15, 10, 35, 20}};
    const uint32_t colours[] = {0x0000FF, 0x00FF00};
    for (int i = 0; i < 2; ++i)
    {
        CFiller* f = new CFiller(colours[i]);
        f->x = places[i].left;
        f->y = places[i].top;
        f->width = places[i].Width();
        f->height = places[i].Height();
        group.AddChild(f);
    }
    CGroup::PaintChild(g, &group, 3, 4);
    folder.Write(dc, "group-paint", 4);
}

}  // namespace

void DrawingScenes(CPictureFolder& folder)
{
    Shapes(folder);
    FontSampler(folder);
    ThemeItems(folder);
    KnobFrames(folder);
    GroupPaint(folder);
}
