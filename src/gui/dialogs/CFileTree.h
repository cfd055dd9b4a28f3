#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class CScrollbar;

// The drives and folders of the file browser: the roots of the file
// system, and under the root that holds the current folder, the chain of
// folders down to it, each shown with its subfolders (name order, ASCII
// case ignored). 18-pixel rows of the "tree" item, the current folder as
// "treesel", expanders in the tree's symbol colour. A press or Up and Down
// choose a row (OnChange; the owner reads Chosen); the wheel scrolls by its
// raw delta. A vertical scroll bar shows while the rows are taller than
// the tree.
class CFileTree : public CGroup
{
public:
    static constexpr int32_t kRowHeight = 18;
    static constexpr int32_t kIndent = 12;

    struct Node
    {
        std::string path;
        std::string name;
        int32_t depth;
        bool open;  // its subfolders are shown below it
    };

    explicit CFileTree(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
    // Fits the bar to the rows and the tree's size.
    void Layout() override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;

    // Rebuilds the rows for folder (listing every folder on its chain) and selects it.
    void ShowFolder(const std::string& folder);
    // The path of the row chosen last.
    const std::string& Chosen() const { return chosen; }

    std::vector<Node> nodes;
    int32_t selected = -1;
    CScrollbar* bar;  // owned child; its value is the pixels scrolled off the top

private:
    void Choose(int32_t row);
    void Scrolled(CCtrl* sender);

    std::string chosen;
};
