#include "gui/widgets/CLayout.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"

namespace
{

constexpr int32_t kToolbarHeight = 22;

const CSkinItem* Find(const CCtrl& c, const char* key)
{
    if (c.window == nullptr || c.window->app == nullptr || c.window->app->theme == nullptr)
        return nullptr;
    return c.window->app->theme->Find(key);
}

}  // namespace

CLayout::CLayout(CWin* window) : CGroup(window)
{
}

void CLayout::Paint(CGraphic& g, Rect r)
{
    PaintBackground(g, r);
    CGroup::Paint(g, r);
}

void CLayout::PaintBackground(CGraphic& g, Rect r)
{
    if (const CSkinItem* item = Find(*this, "winbkgnd"))
        g.FillRect(item->itemfillcol, r);
}

void CLayout::AddChild(CCtrl* child)
{
    CGroup::AddChild(child);
    last = child;
}

void CLayout::DeleteChildren()
{
    last = nullptr;
    CGroup::DeleteChildren();
}

CCtrl* CLayout::Last() const
{
    // A child deleted on its own leaves the list but not this pointer.
    return children.IndexOf(last) >= 0 ? last : nullptr;
}

CToolbar::CToolbar(CWin* window) : CLayout(window)
{
    height = kToolbarHeight;
}

void CToolbar::PaintBackground(CGraphic& g, Rect r)
{
    DrawItem(g, r, Find(*this, "toolbar"), 0);
}

void CBox::Advance(int32_t, int32_t)
{
}

void CBox::Place(const CCtrl&)
{
}

void CBox::Skip(int32_t)
{
}

void CRow::Advance(int32_t dx, int32_t)
{
    x += dx;
}

void CRow::Place(const CCtrl& c)
{
    if (c.x + c.width > x)
        x = c.x + c.width;
}

void CRow::Skip(int32_t n)
{
    x += n;
}

void CCol::Advance(int32_t, int32_t dy)
{
    y += dy;
}

void CCol::Skip(int32_t n)
{
    y += n;
}
