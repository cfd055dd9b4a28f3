#include "gui/widgets/CTree.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/ArrowGlyph.h"
#include "gui/widgets/CScrollbar.h"

#include <algorithm>

namespace
{

const CSkinItem* Item(CWin* window, const char* key)
{
    return window != nullptr && window->app != nullptr ? window->app->theme->Find(key) : nullptr;
}

}  // namespace

CTreeNode::CTreeNode(CWin* window, CTree* tree, CTreeNode* parentNode, const char* label)
    : CCtrl(window), tree(tree), parentNode(parentNode), level(parentNode != nullptr ? parentNode->level + 1 : 0)
{
    SetText(label);
    height = kTreeRowHeight;
    OnMouseDown = new _COnMouse<CTree>(tree, &CTree::NodeDown);
    OnPaint = new _COnPaint<CTree>(tree, &CTree::NodePaint);
}

CTree::CTree(CWin* window) : CGroup(window), bar(new CScrollbar(window, true))
{
    kind = kKindTree;
    CGroup::AddChild(bar);
    bar->OnChange = new _COnChange<CTree>(this, &CTree::Scrolled);
    bar->visible = 0;
}

CTreeNode* CTree::Node(int32_t index) const
{
    return index >= 0 && index < NodeCount() ? static_cast<CTreeNode*>(children.Get(index + 1)) : nullptr;
}

CTreeNode* CTree::AddNode(CTreeNode* parentNode, const char* label)
{
    CTreeNode* node = new CTreeNode(window, this, parentNode, label);
    // Display order is depth first: the node goes after parentNode's last descendant.
    int32_t at = children.Count();
    if (parentNode != nullptr)
    {
        at = children.IndexOf(parentNode) + 1;
        while (at < children.Count() && static_cast<CTreeNode*>(children.Get(at))->level > parentNode->level)
            ++at;
        ++parentNode->childCount;
    }
    children.Insert(at, node);
    node->parent = this;
    Layout();
    Invalidate();
    return node;
}

void CTree::SetExpanded(CTreeNode* node, bool expand)
{
    if (node == nullptr || node->expanded == (expand ? 1 : 0))
        return;
    node->expanded = expand ? 1 : 0;
    Layout();
    Invalidate();
}

int32_t CTree::ShownCount() const
{
    int32_t shown = 0;
    for (int32_t i = 0; i < NodeCount(); ++i)
        if (Node(i)->visible)
            ++shown;
    return shown;
}

void CTree::Layout()
{
    // Parents come before their children, so each parent is settled first.
    int32_t shown = 0;
    for (int32_t i = 0; i < NodeCount(); ++i)
    {
        CTreeNode* node = Node(i);
        const CTreeNode* up = node->parentNode;
        node->visible = up == nullptr || (up->visible && up->expanded) ? 1 : 0;
        if (node->visible)
            ++shown;
    }
    const int64_t extent = static_cast<int64_t>(shown) * kTreeRowHeight;
    FitVerticalBar(*bar, width, height, extent);
    const bool scrolls = bar->visible != 0;
    const int32_t rowWidth = std::max(0, width - (scrolls ? kScrollbarSide : 0));
    int32_t row = 0;
    for (int32_t i = 0; i < NodeCount(); ++i)
    {
        CTreeNode* node = Node(i);
        if (!node->visible)
            continue;
        node->x = 0;
        node->y = static_cast<int32_t>(static_cast<int64_t>(row) * kTreeRowHeight - bar->value);
        node->width = rowWidth;
        node->height = kTreeRowHeight;
        ++row;
    }
}

void CTree::DeleteChildren()
{
    selected = nullptr;
    while (children.Count() > 1)
    {
        CCtrl* node = static_cast<CCtrl*>(children.RemoveAt(1));
        node->parent = nullptr;
        delete node;
    }
    bar->SetValue(0);
    Layout();
    Invalidate();
}

void CTree::Paint(CGraphic& g, Rect r)
{
    DrawItem(g, r, Item(window, "tree"), 0);
    for (int32_t i = 0; i < children.Count(); ++i)
    {
        CCtrl* child = Child(i);
        PaintChild(g, child, child->x - scrollX + g.originX, child->y - scrollY + g.originY);
    }
}

void CTree::NodePaint(CCtrl* sender, CGraphic& g, Rect r)
{
    const CTreeNode* node = static_cast<CTreeNode*>(sender);
    const CSkinItem* item = Item(window, "tree");
    const CSkinItem* sel = Item(window, "treesel");
    const int32_t indent = node->level * kTreeIndent;
    const int32_t textLeft = indent + kTreeExpanderSide;
    uint32_t ink = item != nullptr ? item->itemtextcol : 0xFFFFFF;
    if (node == selected && sel != nullptr)
    {
        DrawItem(g, Rect{textLeft, r.top, r.right, r.bottom}, sel, 0);
        ink = sel->itemtextcol;
    }
    if (node->childCount > 0)
        DrawArrowGlyph(g, Rect{indent, r.top, indent + kTreeExpanderSide, r.top + kTreeRowHeight},
                       node->expanded ? ArrowDirection::Down : ArrowDirection::Right,
                       item != nullptr ? item->itemsymbcol : 0x808080);
    g.Text(ink, node->text, Rect{textLeft + kTreeTextGap, r.top, r.right, r.bottom}, kAlignLeft);
}

void CTree::NodeDown(CCtrl* sender, int32_t px, int32_t, int32_t flags)
{
    CTreeNode* node = static_cast<CTreeNode*>(sender);
    const int32_t indent = node->level * kTreeIndent;
    const bool onExpander = px >= indent && px < indent + kTreeExpanderSide;
    if (node->childCount > 0 && (flags & kMouseLeft) && (onExpander || (flags & kMouseDouble)))
    {
        SetExpanded(node, !node->expanded);
        return;
    }
    if (node == selected)
        return;
    selected = node;
    Invalidate();
    if (OnChange != nullptr)
        OnChange->Call(this);
}

bool CTree::Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved)
{
    if (OnWheel != nullptr)
        return CCtrl::Wheel(x, y, flags, delta, reserved);
    if (bar->maximum <= bar->minimum)
        return false;
    bar->ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, static_cast<int64_t>(bar->value) - delta)));
    return true;
}

void CTree::Scrolled(CCtrl*)
{
    Layout();
    Invalidate();
}
