#pragma once

#include "gui/core/CGroup.h"
#include "io/CList.h"

#include <cstdint>
#include <string>
#include <vector>

class CScrollbar;
struct FileEntry;

// One entry of the file list: its name (text) and whether it is a folder.
// Painted and handled by its list.
class CFileItem : public CCtrl
{
public:
    CFileItem(CWin* window, const std::string& name, bool folder);

    uint8_t folder;
};

// The entries of one folder, folders first, each group in name order
// ignoring the case of ASCII letters: 16-pixel rows of the "listbox"
// item, the selected row "listboxsel". A press selects a row (OnChange)
// and gives the list the focus; its owner's OnMouseDown sees the press
// (with the double-click flag) afterwards. Up, Down, Home, End, Page Up
// and Page Down move the selection; the wheel scrolls by its raw delta.
// A vertical scroll bar shows while the rows are taller than the list.
class CFileList : public CGroup
{
public:
    static constexpr int32_t kRowHeight = 16;

    explicit CFileList(CWin* window);
    ~CFileList() override;

    void Paint(CGraphic& g, Rect r) override;
    // Fits the bar to the rows and the list's size.
    void Layout() override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;

    // Replaces the rows by entries (sorted here); nothing is selected.
    void SetEntries(const std::vector<FileEntry>& entries);
    int32_t Count() const { return items.Count(); }
    CFileItem* Item(int32_t index) const { return static_cast<CFileItem*>(items.Get(index)); }
    // The selected item, or null.
    CFileItem* Selected() const { return Item(selected); }
    // Selects row (clamped; -1 for none), scrolls it into view, repaints and calls OnChange on a change.
    void Select(int32_t row);
    // The row of name, or -1.
    int32_t Find(const std::string& name) const;

    int32_t selected = -1;
    CScrollbar* bar;  // owned child; its value is the pixels scrolled off the top

private:
    void DeleteItems();
    int32_t RowsShown() const;
    void Scrolled(CCtrl* sender);

    CList items;  // of owned CFileItem
};
