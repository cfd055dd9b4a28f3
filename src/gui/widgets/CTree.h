#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

class CScrollbar;
class CTree;

// Tree geometry, pixels: rows as high as the "treesel" item; each level
// indented by one expander box; the expander (an arrow pointing right when
// collapsed, down when expanded) fills the box at the start of its row; the
// text follows the box after a small gap.
constexpr int32_t kTreeRowHeight = 18;
constexpr int32_t kTreeIndent = 16;
constexpr int32_t kTreeExpanderSide = 16;
constexpr int32_t kTreeTextGap = 2;

// One node of a CTree: a control in the tree's children whose mouse and
// paint binders report to the tree. Its text is the control's text.
class CTreeNode : public CCtrl
{
public:
    // Made by CTree::AddNode.
    CTreeNode(CWin* window, CTree* tree, CTreeNode* parentNode, const char* label);

    CTree* tree;             // not owned
    CTreeNode* parentNode;   // null at the top level
    int32_t level;           // 0 at the top level
    int32_t childCount = 0;  // direct children
    uint8_t expanded = 0;
    int32_t data = 0;  // the owner's, never read by the tree
};

// An indented tree of nodes with a vertical scroll bar (shown only while the
// visible rows do not fit): item "tree", expanders in its symbol colour, the
// selected node as "treesel". A press on an expander, or a double click on a
// node with children, expands or collapses it; a press elsewhere on a node
// selects it (OnChange when the selection changes). The wheel scrolls by its
// raw delta (positive upwards) without Ctrl. Nodes are deleted only with
// the tree or by DeleteChildren, which keeps the bar.
class CTree : public CGroup
{
public:
    explicit CTree(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;
    // Places the rows of the shown nodes and fits the bar to them.
    void Layout() override;
    // Deletes every node, clears the selection and scrolls back to the top.
    void DeleteChildren() override;

    // A new node, last among parentNode's children (null: at the top level).
    CTreeNode* AddNode(CTreeNode* parentNode, const char* label);
    void SetExpanded(CTreeNode* node, bool expand);
    // Nodes in display order (every node, shown or not).
    int32_t NodeCount() const { return children.Count() - 1; }
    CTreeNode* Node(int32_t index) const;
    // Nodes whose ancestors are all expanded.
    int32_t ShownCount() const;

    CScrollbar* bar;  // owned (first child)
    CTreeNode* selected = nullptr;

private:
    friend class CTreeNode;
    void NodeDown(CCtrl* sender, int32_t x, int32_t y, int32_t flags);
    void NodePaint(CCtrl* sender, CGraphic& g, Rect r);
    void Scrolled(CCtrl* sender);
};
