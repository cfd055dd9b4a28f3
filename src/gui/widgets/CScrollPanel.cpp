#include "gui/widgets/CScrollPanel.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/widgets/CScrollbar.h"

#include <algorithm>

namespace
{

// Until a theme is reachable: the default theme's window colour.
constexpr uint32_t kDefaultPanel = 0x505050;

}  // namespace

CScrollPanel::CScrollPanel(CWin* window)
    : CGroup(window), content(new CGroup(window)), bar(new CScrollbar(window, true))
{
    CGroup::AddChild(content);
    CGroup::AddChild(bar);
    bar->OnChange = new _COnChange<CScrollPanel>(this, &CScrollPanel::Scrolled);
    bar->visible = 0;
}

int32_t CScrollPanel::Extent() const
{
    int32_t bottom = 0;
    for (int32_t i = 0; i < content->children.Count(); ++i)
    {
        const CCtrl* c = content->Child(i);
        bottom = std::max(bottom, c->y + c->height);
    }
    return bottom;
}

void CScrollPanel::Arrange()
{
    const int32_t extent = Extent();
    const bool scrolls = extent > height;
    bar->visible = scrolls ? 1 : 0;
    bar->x = width - kScrollbarSide;
    bar->y = 0;
    bar->width = kScrollbarSide;
    bar->height = height;
    content->x = 0;
    content->y = 0;
    content->width = std::max(0, width - (scrolls ? kScrollbarSide : 0));
    content->height = height;
    bar->SetRange(0, std::max(0, extent - height), height);
    content->scrollY = bar->value;
}

void CScrollPanel::Layout()
{
    // The content's width depends on the bar, the bar on the laid-out content.
    Arrange();
    content->Layout();
    Arrange();
}

void CScrollPanel::Paint(CGraphic& g, Rect r)
{
    const CSkinItem* item = window != nullptr && window->app != nullptr ? window->app->theme->Find("panel") : nullptr;
    background = item != nullptr ? item->itemfillcol : kDefaultPanel;
    CGroup::Paint(g, r);
}

bool CScrollPanel::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (OnWheel != nullptr)
        return CCtrl::Wheel(x, y, flags, delta, reserved);
    if (bar->maximum <= bar->minimum)
        return false;
    bar->ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, static_cast<int64_t>(bar->value) - delta)));
    return true;
}

void CScrollPanel::AddChild(CCtrl* child)
{
    content->AddChild(child);
}

void CScrollPanel::DeleteChildren()
{
    content->DeleteChildren();
    bar->SetValue(0);
    Arrange();
}

void CScrollPanel::Scrolled(CCtrl*)
{
    content->scrollY = bar->value;
    Invalidate();
}
