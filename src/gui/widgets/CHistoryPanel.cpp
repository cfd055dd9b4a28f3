#include "gui/widgets/CHistoryPanel.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"

CHistoryPanel::CHistoryPanel(CWin* window) : CGroup(window)
{
}

void CHistoryPanel::Paint(CGraphic& g, Rect r)
{
    if (const CSkinItem* item = window->app->theme->Find("winbkgnd"))
        g.FillRect(item->itemfillcol, r);
    CGroup::Paint(g, r);
}

CTestGroup::CTestGroup(CWin* window) : CGroup(window)
{
}

void CTestGroup::Paint(CGraphic& g, Rect r)
{
    DrawItem(g, r, window->app->theme->Find("tabs"), 0);
    CGroup::Paint(g, r);
}
