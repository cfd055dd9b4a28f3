#include "gui/core/CWindowButton.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"

#include <string>

namespace
{

constexpr int32_t kSide = 16;
// The symbol's inset from the button's edges.
constexpr int32_t kSymbolInset = 4;

}  // namespace

CWindowButton::CWindowButton(CWin* window, int32_t buttonKind) : CPushCtrl(window), buttonKind(buttonKind)
{
    width = kSide;
    height = kSide;
    tracksHover = 1;
}

void CWindowButton::Paint(CGraphic& g, Rect r)
{
    std::string key = buttonKind == kButtonClose ? "winclose" : buttonKind == kButtonMaximise ? "winmax" : "winmin";
    if (hovered)
        key += "mouseover";
    const CSkinItem* item = window->app->theme->Find(key.c_str());
    DrawItem(g, r, item, 0);
    const uint32_t colour = item != nullptr ? item->itemsymbcol : 0xFFFFFF;
    const int32_t l = kSymbolInset;
    const int32_t t = kSymbolInset;
    const int32_t rr = r.right - kSymbolInset;
    const int32_t b = r.bottom - kSymbolInset;
    g.SetPen(colour);
    if (buttonKind == kButtonClose)
    {
        g.Line(l, t, rr, b);
        g.Line(rr - 1, t, l - 1, b);
    }
    else if (buttonKind == kButtonMaximise)
    {
        g.FrameRect(colour, Rect{l, t, rr, b});
    }
    else
    {
        g.FillRect(colour, Rect{l, b - 2, rr, b});
    }
}

void CWindowButton::Click()
{
    CWin* win = window;
    if (buttonKind == kButtonClose)
    {
        win->Close();
    }
    else if (buttonKind == kButtonMaximise)
    {
        if (win->style & kWinAltMaximise)
            win->AlternativeMaximise();
        else
            win->ToggleMaximise();
    }
    else if (win->style & kWinResizable)
    {
        win->app->system->Hide(win->hwnd);
        win->style |= kWinMinimised;
        win->SetFocusCtrl(nullptr);
    }
}

void CWindowButton::Hover(bool inside, int32_t, int32_t)
{
    hovered = inside ? 1 : 0;
}
