#pragma once

#include "gui/core/CCtrl.h"
#include "io/CList.h"
#include "io/CStringList.h"

#include <cstdint>

class CPopup;

// Kinds of entry (entryKind).
constexpr int32_t kEntryPlain = 0;      // a command; may carry a check mark
constexpr int32_t kEntrySeparator = 1;  // a line between groups; never highlighted
constexpr int32_t kEntrySubmenu = 2;    // opens a popup of its own entries
constexpr int32_t kEntryChoices = 3;    // a row of choice cells, one of which is chosen

// One entry of a menu, a menu bar or a dropdown list. It is data, painted
// and handled by the list that shows it (CPopup, CMenu); its caption is the
// control's text, its command code the control's id.
//
// Entries form a tree: an entry owns its sub-entries (the entries of the
// popup it opens, or the top-level entries of a menu). Deleting an entry
// takes it out of its parent's list and closes any popup that shows its
// sub-entries, so a menu may change while it is open.
//
// When an entry is chosen its OnChange binder is called with the entry; an
// entry without one reports through the nearest ancestor that has one, so a
// menu needs a single binder on its root and tells the entries by id.
class CMenuItem : public CCtrl
{
public:
    explicit CMenuItem(const char* caption, int32_t id = 0, int32_t entryKind = kEntryPlain);
    ~CMenuItem() override;

    // Appends entry (owned from now on) and returns it.
    CMenuItem* Add(CMenuItem* entry);
    // Appends a new entry; the parent becomes a submenu when it was plain.
    CMenuItem* Add(const char* caption, int32_t id = 0, int32_t entryKind = kEntryPlain);
    CMenuItem* AddSeparator();
    // Appends a choice cell (kind kEntryChoices) showing label.
    void AddChoice(const char* label);
    // Deletes every sub-entry.
    void DeleteEntries();

    int32_t Count() const { return entries.Count(); }
    // The sub-entry at index, or null outside 0..Count()-1.
    CMenuItem* Entry(int32_t index) const { return static_cast<CMenuItem*>(entries.Get(index)); }
    int32_t ChoiceCount() const { return choices.Count(); }
    // Separators are never highlighted or chosen.
    bool Selectable() const { return entryKind != kEntrySeparator; }
    // Tells the popups listing the sub-entries that the list or a row changed.
    void EntriesChanged();
    // Calls the OnChange of this entry or of its nearest ancestor that has one, with this entry.
    void Report();

    int32_t entryKind;
    uint8_t checked = 0;  // a check mark is drawn; Space in a popup toggles it
    int32_t choice = -1;  // kEntryChoices: the cell chosen last (marked), -1 none
    CStringList choices;  // kEntryChoices: the cells' labels
    CList entries;        // of owned CMenuItem
    CMenuItem* parentEntry = nullptr;
    CList shownIn;  // the open CPopups listing the sub-entries (not owned)
};
