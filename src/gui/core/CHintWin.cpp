#include "gui/core/CHintWin.h"

#include "gui/core/CApp.h"
#include "gui/draw/DrawItem.h"

#include <algorithm>

namespace
{

// Room around the text inside the border, pixels.
constexpr int32_t kPaddingX = 4;
constexpr int32_t kPaddingY = 2;

}  // namespace

CHintWin::CHintWin(CApp* app) : CWin(app, nullptr, kWinNoActivate, "hint", 0, 0, 2 * kBorder, 2 * kBorder)
{
}

void CHintWin::SetHint(const char* hint, int32_t delayMs)
{
    SetText(hint);
    // The system's context of the window now: a resize may have replaced the one graphic was made on.
    CDrawContext* dc = app->system->Context(hwnd);
    if (text[0] != 0 && dc != nullptr)
    {
        const int32_t w = dc->TextWidth(text) + 2 * (kPaddingX + kBorder);
        const int32_t h = dc->LineHeight() + 2 * (kPaddingY + kBorder);
        const Rect r = app->system->ParentRect(hwnd);
        app->system->SetRect(hwnd, Rect{r.left, r.top, r.left + w, r.top + h});
        Layout();
        Invalidate();
    }
    app->StartTimer(this, delayMs, false);
}

void CHintWin::Timer()
{
    if (text[0] == 0)
    {
        Close();
        return;
    }
    int32_t cx = 0;
    int32_t cy = 0;
    app->system->CursorPos(cx, cy);
    // Kept on the screen horizontally: a hint near the right edge moves left.
    const Rect screen = app->system->PrimaryScreen();
    Move(std::max(screen.left, std::min(cx, screen.right - width)), cy + kHintBelowCursor);
    Show(false);
}

void CHintWin::Paint(CGraphic& g, Rect r)
{
    CWin::Paint(g, r);
    const CSkinItem* item = app->theme->Find("winbkgnd");
    g.Text(item != nullptr ? item->itemtextcol : 0xFFFFFF, text, r, 0);
}
