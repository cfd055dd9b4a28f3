#include "editor/CProgBrowser.h"

#include "editor/CSynthResources.h"
#include "editor/EditorColours.h"
#include "gui/draw/CGraphic.h"
#include "gui/platform/InputCodes.h"
#include "io/HeapString.h"
#include "synth/CSynth.h"

namespace
{

constexpr int32_t kNameInset = 8;
constexpr int32_t kArrowSize = 5;  // half the height of an arrow symbol

// A filled triangle pointing left (dir -1) or right (dir 1), centred in square s.
void Arrow(CGraphic& g, Rect s, int32_t dir)
{
    const int32_t cx = (s.left + s.right) / 2;
    const int32_t cy = (s.top + s.bottom) / 2;
    for (int32_t i = 0; i < kArrowSize; ++i)
    {
        // Column i from the tip has a half-height of i.
        const int32_t x = dir < 0 ? cx - kArrowSize / 2 + i : cx + kArrowSize / 2 - i;
        g.FillRect(kGreyColour, Rect{x, cy - i, x + 1, cy + i + 1});
    }
}

// Switches between the sound editor and the Presets page (About goes to Presets).
void TogglePresets(CSynthResources& view)
{
    if (view.pagesShown == CSynthResources::kSoundEditor)
    {
        view.pagesShown = CSynthResources::kPageView;
        view.pageIndex = CSynthResources::kPresetsPage;
    }
    else if (view.pageIndex == CSynthResources::kPresetsPage)
    {
        view.pagesShown = CSynthResources::kSoundEditor;
    }
    else
    {
        view.pageIndex = CSynthResources::kPresetsPage;
    }
    view.RequestRebuild();
}

}  // namespace

CProgBrowser::CProgBrowser(CWin* window, CSynth* synth, CSynthResources* view) : CCtrl(window), synth(synth), view(view)
{
    width = kWidth;
    height = kHeight;
}

CProgBrowser::~CProgBrowser()
{
    delete OnMenu;
}

void CProgBrowser::Paint(CGraphic& g, Rect)
{
    const int32_t columnWidth = width / kColumns;
    const int32_t current = synth->GetProgram();
    for (int32_t i = 0; i < CSynth::kProgramCount; ++i)
    {
        const int32_t left = (i / kRows) * columnWidth;
        const int32_t top = (i % kRows) * kRowHeight;
        char* name = synth->GetProgramName(i);
        g.Text(i == current ? kAccentColour : kGreyColour, name,
               Rect{left + kNameInset, top, left + columnWidth, top + kRowHeight}, kAlignLeft);
        FreeString(name);
    }
}

int32_t CProgBrowser::ProgramAt(int32_t px, int32_t py) const
{
    const int32_t columnWidth = width / kColumns;
    return (px / columnWidth) * kRows + py / kRowHeight;
}

void CProgBrowser::MouseDown(int32_t, int32_t, int32_t flags)
{
    if ((flags & kMouseLeft) && (flags & kMouseDouble))
    {
        view->pagesShown = CSynthResources::kSoundEditor;
        view->RequestRebuild();
    }
}

void CProgBrowser::MouseUp(int32_t px, int32_t py, int32_t flags)
{
    const int32_t buttons = flags & (kMouseLeft | kMouseRight | kMouseMiddle);
    if (buttons == kMouseLeft)
        synth->SetProgram(ProgramAt(px, py));
    else if (buttons == kMouseRight && OnMenu != nullptr)
        OnMenu->Call(this, px, py, flags);
}

CProgHeader::CProgHeader(CWin* window, CSynth* synth, CSynthResources* view) : CCtrl(window), synth(synth), view(view)
{
    width = kWidth;
    height = kHeight;
}

void CProgHeader::Paint(CGraphic& g, Rect)
{
    const int32_t w = width;
    const int32_t h = height;
    Arrow(g, Rect{w - 2 * h, 0, w - h, h}, -1);
    Arrow(g, Rect{w - h, 0, w, h}, 1);
    char* name = synth->GetProgramName(synth->GetProgram());
    g.Text(kGreyColour, name, Rect{kNameInset, 0, w - 2 * h, h}, kAlignLeft);
    FreeString(name);
}

void CProgHeader::MouseUp(int32_t px, int32_t py, int32_t)
{
    const int32_t w = width;
    const int32_t h = height;
    if (px < 0 || px >= w || py < 0 || py >= h)
        return;
    if (px >= w - h)
        synth->SetProgram(synth->GetProgram() + 1);
    else if (px >= w - 2 * h)
        synth->SetProgram(synth->GetProgram() - 1);
    else
        TogglePresets(*view);
}
