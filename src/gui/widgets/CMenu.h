#pragma once

#include "gui/core/CGroup.h"
#include "gui/widgets/CMenuItem.h"

#include <cstdint>

// Looks of a CMenu.
constexpr int32_t kMenuBar = 0;   // "menubar", the current entry in "menubarsel"
constexpr int32_t kMenuTabs = 1;  // "menutabs", tabs in "menutab", the current one "menutabsel"

// A menu bar or tab strip: a row of top-level entries (the sub-entries of
// root), each as wide as its caption plus 8 pixels on either side (at least
// the width of "menubarsel"), captions centred. A bar's captions take the
// "menu" item's text colour (the bar items have none); the current entry
// is highlighted while the bar holds the focus or its popup is open. A tab
// strip shows the current entry as the selected tab.
//
// A press on a submenu entry gives the bar the focus and opens the entry's
// popup (CPopup) below it, kept within the work area; a press on the open
// entry leaves it closed; while a popup is open, moving over another
// submenu entry opens that one in its place. A press on a plain entry makes
// it current and reports it (root's OnChange serves every entry without
// one of its own). Choosing from a popup takes the focus from the bar.
//
// Keys while it holds the focus: Escape gives the focus up; Enter or Down
// opens the current entry's popup (Enter reports a plain entry); Left and
// Right make the previous or next entry current, wrapping, and reopen the
// popup in its place when one was open. A bar made for a window becomes the
// window's menuBar when it has none.
class CMenu : public CGroup
{
public:
    CMenu(CWin* window, int32_t look);
    // Closes its popups (with its entries) and tells a running popup loop it is gone.
    ~CMenu() override;

    // Appends a top-level entry and returns it for filling.
    CMenuItem* Add(const char* caption, int32_t id = 0);
    // Entry index's rectangle in local coordinates.
    Rect EntryRect(int32_t index);
    // The entry at local x, or -1.
    int32_t EntryAt(int32_t px);
    // Makes entry index current and opens its popup; runs the popups until
    // they are closed, unless a popup of this bar is open already: that
    // one is then closed and the running loop opens the new one.
    void Open(int32_t index);

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t px, int32_t py, int32_t flags) override;
    void MouseMove(int32_t px, int32_t py, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    void Focus(bool gained) override;

    CMenuItem root{""};
    int32_t look;
    int32_t current = -1;    // the current entry
    int32_t openIndex = -1;  // the entry whose popup is open, or -1

private:
    int32_t EntryWidth(int32_t index);
    bool HasFocus() const;
    int32_t pending = -1;  // the entry the running loop opens next
    bool running = false;
    bool* deadFlag = nullptr;
};
