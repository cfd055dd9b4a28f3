#include "gui/core/CDragWin.h"

#include "gui/core/CApp.h"
#include "gui/draw/DrawItem.h"

namespace
{

// Room left and right of the name together.
constexpr int32_t kNamePadding = 16;

}  // namespace

CDragWin::CDragWin(CApp* app)
    : CWin(app, nullptr, kWinNoBorder | kWinNoActivate, "drag", 0, 0, kNamePadding, kDragWindowHeight)
{
}

void CDragWin::SetItemName(const char* name)
{
    SetText(name);
    CWindowSystem* system = app->system;
    // The system's context of the window now: a resize may have replaced the one graphic was made on.
    CDrawContext* dc = system->Context(hwnd);
    const int32_t textWidth = dc != nullptr ? dc->TextWidth(text) : 0;
    const Rect r = system->ParentRect(hwnd);
    system->SetRect(hwnd, Rect{r.left, r.top, r.left + textWidth + kNamePadding, r.top + kDragWindowHeight});
    Layout();
    Invalidate();
}

void CDragWin::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = app->theme->Find("treesel");
    DrawItem(g, r, item, kItemNoFrame);
    g.Text(item != nullptr ? item->itemtextcol : 0xFFFFFF, text, r, 0);
}
