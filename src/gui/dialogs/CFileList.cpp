#include "gui/dialogs/CFileList.h"

#include "gui/core/CApp.h"
#include "gui/core/CWin.h"
#include "gui/draw/DrawItem.h"
#include "gui/platform/CFileSystem.h"
#include "gui/platform/InputCodes.h"
#include "gui/widgets/CScrollbar.h"

#include <algorithm>

namespace
{

// Text inset of a row; folders show a small box before their name.
constexpr int32_t kTextInset = 18;
constexpr int32_t kMarkInset = 4;
constexpr int32_t kMarkSide = 9;
constexpr uint32_t kUnfocusedFrame = 0x808080;

int CompareNames(const std::string& a, const std::string& b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
    {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z')
            ca = static_cast<unsigned char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z')
            cb = static_cast<unsigned char>(cb - 'A' + 'a');
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

}  // namespace

CFileItem::CFileItem(CWin* window, const std::string& name, bool folder) : CCtrl(window), folder(folder ? 1 : 0)
{
    SetText(name.c_str());
}

CFileList::CFileList(CWin* window) : CGroup(window), bar(new CScrollbar(window, true))
{
    tabStop = 1;
    AddChild(bar);
    bar->OnChange = new _COnChange<CFileList>(this, &CFileList::Scrolled);
    bar->visible = 0;
}

CFileList::~CFileList()
{
    DeleteItems();
}

void CFileList::DeleteItems()
{
    while (items.Count() > 0)
        delete static_cast<CFileItem*>(items.RemoveAt(0));
}

void CFileList::SetEntries(const std::vector<FileEntry>& entries)
{
    std::vector<const FileEntry*> sorted;
    sorted.reserve(entries.size());
    for (const FileEntry& e : entries)
        sorted.push_back(&e);
    std::sort(sorted.begin(), sorted.end(),
              [](const FileEntry* a, const FileEntry* b)
              {
                  if (a->folder != b->folder)
                      return a->folder;
                  return CompareNames(a->name, b->name) < 0;
              });
    DeleteItems();
    for (const FileEntry* e : sorted)
        items.Add(new CFileItem(window, e->name, e->folder));
    selected = -1;
    bar->SetValue(0);
    Layout();
    Invalidate();
}

int32_t CFileList::Find(const std::string& name) const
{
    for (int32_t i = 0; i < items.Count(); ++i)
        if (name == Item(i)->text)
            return i;
    return -1;
}

int32_t CFileList::RowsShown() const
{
    return std::max(height / kRowHeight, 1);
}

void CFileList::Layout()
{
    FitVerticalBar(*bar, width, height, static_cast<int64_t>(items.Count()) * kRowHeight);
}

void CFileList::Scrolled(CCtrl*)
{
    Invalidate();
}

void CFileList::Select(int32_t row)
{
    row = items.Count() == 0 ? -1 : std::clamp(row, -1, items.Count() - 1);
    if (row >= 0)
    {
        if (row * kRowHeight < bar->value)
            bar->SetValue(row * kRowHeight);
        else if ((row + 1) * kRowHeight > bar->value + height)
            bar->SetValue((row + 1) * kRowHeight - height);
    }
    Invalidate();
    if (row == selected)
        return;
    selected = row;
    if (OnChange != nullptr)
        OnChange->Call(this);
}

void CFileList::Paint(CGraphic& g, Rect r)
{
    const CAppGui* theme = window->app->theme;
    const CSkinItem* box = theme->Find("listbox");
    const CSkinItem* sel = theme->Find("listboxsel");
    DrawItem(g, r, box, 0);
    const uint32_t textColour = box != nullptr ? box->itemtextcol : kWhite;
    const bool focused = window->focusCtrl == this;
    const int32_t scroll = bar->value;
    const int32_t right = r.right - 1 - (bar->visible ? kScrollbarSide : 0);
    // Only the rows in view are drawn: a folder may hold thousands.
    const int32_t first = scroll / kRowHeight;
    const int32_t last = std::min(items.Count() - 1, (scroll + r.Height()) / kRowHeight);
    for (int32_t i = first; i <= last; ++i)
    {
        const int32_t top = i * kRowHeight - scroll;
        const Rect row{r.left + 1, top, right, top + kRowHeight};
        const CFileItem* item = Item(i);
        if (i == selected)
        {
            DrawItem(g, row, sel, 0);
            // The theme fills a selected row like the others: a frame shows it, dimmed without the focus.
            g.FrameRect(focused ? textColour : kUnfocusedFrame, row);
        }
        if (item->folder)
            g.FrameRect(textColour, Rect{row.left + kMarkInset, top + (kRowHeight - kMarkSide) / 2,
                                         row.left + kMarkInset + kMarkSide, top + (kRowHeight + kMarkSide) / 2});
        g.Text(sel != nullptr && i == selected ? sel->itemtextcol : textColour, item->text,
               Rect{row.left + kTextInset, top, row.right, top + kRowHeight}, kAlignLeft);
    }
    if (box != nullptr && box->itemframe)
        DrawItem(g, r, box, kItemFrameOnly);
    PaintChild(g, bar, bar->x + g.originX, bar->y + g.originY);
}

void CFileList::MouseDown(int32_t px, int32_t py, int32_t flags)
{
    window->SetFocusCtrl(this);
    if (flags & (kMouseLeft | kMouseRight))
    {
        const int32_t row = (py + bar->value) / kRowHeight;
        if (py >= 0 && row < items.Count())
            Select(row);
    }
    CCtrl::MouseDown(px, py, flags);
}

bool CFileList::KeyDown(int32_t key, int32_t mods)
{
    if (CCtrl::KeyDown(key, mods))
        return true;
    const int32_t page = RowsShown();
    switch (key)
    {
    case kKeyUp:
        Select(selected < 0 ? items.Count() - 1 : std::max(selected - 1, 0));
        return true;
    case kKeyDown:
        Select(selected + 1);
        return true;
    case kKeyHome:
        Select(0);
        return true;
    case kKeyEnd:
        Select(items.Count() - 1);
        return true;
    case kKeyPageUp:
        Select(std::max(selected - page, 0));
        return true;
    case kKeyPageDown:
        Select(selected + page);
        return true;
    default:
        return false;
    }
}

bool CFileList::Wheel(int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t reserved)
{
    if (CCtrl::Wheel(px, py, flags, delta, reserved))
        return true;
    bar->ChangeValue(static_cast<int32_t>(std::max<int64_t>(INT32_MIN, static_cast<int64_t>(bar->value) - delta)));
    return true;
}
