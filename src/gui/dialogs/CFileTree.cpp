#include "gui/dialogs/CFileTree.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CFileSystem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CScrollbar.h"

#include <algorithm>

namespace
{

constexpr int32_t kExpanderSide = 9;
constexpr int32_t kTextInset = 14;
constexpr int32_t kLeftInset = 3;

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (CFileSystem::Separator() == '/')
        return a == b;
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

bool IsSeparator(char c)
{
    return c == '/' || c == CFileSystem::Separator();
}

// The names of path's components below root, or false when path does not lie under root.
bool ComponentsBelow(const std::string& root, const std::string& path, std::vector<std::string>& parts)
{
    parts.clear();
    if (path.size() < root.size() || !SameName(path.substr(0, root.size()), root))
        return false;
    if (path.size() > root.size() && !IsSeparator(root.back()) && !IsSeparator(path[root.size()]))
        return false;
    std::string part;
    for (size_t i = root.size(); i <= path.size(); ++i)
    {
        if (i == path.size() || IsSeparator(path[i]))
        {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        }
        else
        {
            part += path[i];
        }
    }
    return true;
}

// The subfolders of folder in name order; none when it cannot be read.
std::vector<std::string> Subfolders(const std::string& folder)
{
    std::vector<FileEntry> entries;
    std::vector<std::string> names;
    if (!CFileSystem::List(folder, entries))
        return names;
    for (const FileEntry& e : entries)
        if (e.folder)
            names.push_back(e.name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b)
              {
                  const size_t n = std::min(a.size(), b.size());
                  for (size_t i = 0; i < n; ++i)
                      if (Lower(a[i]) != Lower(b[i]))
                          return static_cast<unsigned char>(Lower(a[i])) < static_cast<unsigned char>(Lower(b[i]));
                  return a.size() < b.size();
              });
    return names;
}

}  // namespace

CFileTree::CFileTree(CWin* window) : CGroup(window), bar(new CScrollbar(window, true))
{
    tabStop = 1;
    AddChild(bar);
    bar->OnChange = new _COnChange<CFileTree>(this, &CFileTree::Scrolled);
    bar->visible = 0;
}

void CFileTree::ShowFolder(const std::string& folder)
{
    nodes.clear();
    selected = -1;
    chosen = folder;
    const std::vector<std::string> roots = CFileSystem::Roots();
    // The deepest root holding the folder is opened ("/" and the home folder both hold a home subfolder).
    size_t best = roots.size();
    std::vector<std::string> parts;
    std::vector<std::string> bestParts;
    for (size_t i = 0; i < roots.size(); ++i)
        if (ComponentsBelow(roots[i], folder, parts) && (best == roots.size() || roots[i].size() > roots[best].size()))
        {
            best = i;
            bestParts = parts;
        }
    for (size_t i = 0; i < roots.size(); ++i)
    {
        const size_t rootRow = nodes.size();
        nodes.push_back(Node{roots[i], roots[i], 0, false});
        if (i != best)
            continue;
        // Each folder of the chain lists its subfolders; the next one on the chain opens in turn.
        size_t parent = rootRow;
        for (size_t level = 0; level <= bestParts.size(); ++level)
        {
            nodes[parent].open = true;
            const std::string base = nodes[parent].path;
            const int32_t depth = nodes[parent].depth + 1;
            std::vector<Node> below;
            size_t next = below.size();
            bool found = false;
            for (const std::string& name : Subfolders(base))
            {
                if (level < bestParts.size() && !found && SameName(name, bestParts[level]))
                {
                    next = below.size();
                    found = true;
                }
                below.push_back(Node{CFileSystem::Join(base, name), name, depth, false});
            }
            // A folder on the chain that its parent does not list (hidden, or just made) is still shown.
            if (level < bestParts.size() && !found)
            {
                next = below.size();
                below.push_back(Node{CFileSystem::Join(base, bestParts[level]), bestParts[level], depth, false});
            }
            nodes.insert(nodes.begin() + static_cast<std::ptrdiff_t>(parent) + 1, below.begin(), below.end());
            if (level == bestParts.size())
            {
                selected = static_cast<int32_t>(parent);
                break;
            }
            parent = parent + 1 + next;
        }
    }
    Layout();
    if (selected >= 0)
    {
        // Bring the current folder into view.
        const int32_t top = selected * kRowHeight;
        if (top < bar->value || top + kRowHeight > bar->value + height)
            bar->SetValue(top - height / 2);
    }
    Invalidate();
}

void CFileTree::Layout()
{
    FitVerticalBar(*bar, width, height, static_cast<int64_t>(nodes.size()) * kRowHeight);
}

void CFileTree::Scrolled(CCtrl*)
{
    Invalidate();
}

void CFileTree::Paint(CGraphic& g, Rect r)
{
    const CAppGui* theme = window->app->theme;
    const CSkinItem* tree = theme->Find("tree");
    const CSkinItem* sel = theme->Find("treesel");
    DrawItem(g, r, tree, 0);
    const uint32_t textColour = tree != nullptr ? tree->itemtextcol : kWhite;
    const uint32_t symbol = tree != nullptr ? tree->itemsymbcol : 0x808080;
    const int32_t count = static_cast<int32_t>(nodes.size());
    const int32_t scroll = bar->value;
    const int32_t right = r.right - 1 - (bar->visible ? kScrollbarSide : 0);
    const int32_t first = scroll / kRowHeight;
    const int32_t last = std::min(count - 1, (scroll + r.Height()) / kRowHeight);
    for (int32_t i = first; i <= last; ++i)
    {
        const Node& n = nodes[static_cast<size_t>(i)];
        const int32_t top = i * kRowHeight - scroll;
        const int32_t left = kLeftInset + n.depth * kIndent;
        const Rect box{left, top + (kRowHeight - kExpanderSide) / 2, left + kExpanderSide,
                       top + (kRowHeight + kExpanderSide) / 2};
        g.FrameRect(symbol, box);
        const int32_t midY = (box.top + box.bottom) / 2;
        g.FillRect(symbol, Rect{box.left + 2, midY, box.right - 2, midY + 1});
        if (!n.open)
        {
            const int32_t midX = (box.left + box.right) / 2;
            g.FillRect(symbol, Rect{midX, box.top + 2, midX + 1, box.bottom - 2});
        }
        Rect text{left + kTextInset, top, right, top + kRowHeight};
        if (i == selected)
        {
            const Rect mark{text.left - 2, top, std::min(text.left + g.TextWidth(n.name.c_str()) + 4, right),
                            top + kRowHeight};
            DrawItem(g, mark, sel, 0);
        }
        g.Text(i == selected && sel != nullptr ? sel->itemtextcol : textColour, n.name.c_str(), text, kAlignLeft);
    }
    PaintChild(g, bar, bar->x + g.originX, bar->y + g.originY);
}

void CFileTree::Choose(int32_t row)
{
    if (row < 0 || row >= static_cast<int32_t>(nodes.size()))
        return;
    chosen = nodes[static_cast<size_t>(row)].path;
    if (OnChange != nullptr)
        OnChange->Call(this);
}

void CFileTree::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    window->SetFocusCtrl(this);
    if ((flags & kMouseLeft) && py >= 0)
        Choose((py + bar->value) / kRowHeight);
    CCtrl::MouseDown(px, py, flags);
}

bool CFileTree::KeyDown(int32_t key, int32_t mods)
{
    if (CCtrl::KeyDown(key, mods))
        return true;
    if (key == kKeyUp && selected > 0)
    {
        Choose(selected - 1);
        return true;
    }
    if (key == kKeyDown && selected + 1 < static_cast<int32_t>(nodes.size()))
    {
        Choose(selected + 1);
        return true;
    }
    return key == kKeyUp || key == kKeyDown;
}

bool CFileTree::Wheel(int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t reserved)
{
    if (CCtrl::Wheel(px, py, flags, delta, reserved))
        return true;
    bar->ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, static_cast<int64_t>(bar->value) - delta)));
    return true;
}
