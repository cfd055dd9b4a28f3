#pragma once

#include "gui/core/CWin.h"

#include <cstdint>

class CGraphic;
class CMenuItem;
class CSkinItem;

// Geometry of menus and dropdown lists, in pixels. Rows are as high as a
// list box row and a scroll bar is wide, so that menus, lists and trees
// look like one family at the theme's sizes:
// - the list is inset kMenuInset from the popup's edges (its one-pixel
//   frame and one pixel of air) on every side;
// - a row is kMenuRowHeight high, a separator kMenuSeparatorHeight with its
//   line through the middle in a half-tone of the text colour;
// - a menu row starts with a check column of kMenuCheckWidth holding the
//   check mark (a tick), then the caption after kMenuTextGap; a dropdown
//   list has no check column and starts its caption kMenuTextGap in;
// - a row of choices starts with its cells, kMenuChoiceWidth wide each
//   (square with the row), the chosen one framed, then the check column and
//   the caption;
// - menus keep an arrow column of kMenuArrowWidth at the right; a submenu
//   entry shows a right-pointing triangle there;
// - texts and symbols take the list item's text colour ("menu" has no
//   symbol colour).
constexpr int32_t kMenuInset = 2;
constexpr int32_t kMenuRowHeight = 16;
constexpr int32_t kMenuSeparatorHeight = 7;
constexpr int32_t kMenuCheckWidth = 16;
constexpr int32_t kMenuTextGap = 4;
constexpr int32_t kMenuChoiceWidth = 16;
constexpr int32_t kMenuArrowWidth = 16;
constexpr int32_t kMenuMinWidth = 48;
// The wheel puts the mouse pointer this far into the highlighted row.
constexpr int32_t kMenuWheelPointer = 8;

// Draws a highlighted row or entry as item sel over list. Where the theme
// gives the highlight the same solid fill as the list (the default theme
// does for "menu" and "menusel", and for the menu bar), the highlight would
// not show: it is then filled with the list colour a quarter of the way to
// textColour, the colour of the text drawn on it, instead.
void DrawMenuHighlight(CGraphic& g, Rect r, const CSkinItem* sel, const CSkinItem* list, uint32_t textColour);

// The width of text in w's font (measured on w's current drawing context,
// which a resize may have replaced), or an estimate while w has none.
int32_t MenuTextWidth(CWin* w, const char* text);

// A popup window listing the sub-entries of one CMenuItem (its source):
// menus in items "menu" and "menusel". It never takes the focus (style
// 0x10), closes on Escape, and passes keys it does not handle to its owner
// window (a submenu's owner is its parent popup, a menu's the window that
// opened it, so that a menu bar sees Left and Right).
//
// Keys (through its key binder): Up and Down move the highlight over the
// entries that are not separators, without wrapping (Up with no highlight
// takes the last, Down the first); Home the first, End the last (for a row
// of choices its last choice); Left and Right move within a row of choices
// and otherwise Left closes a submenu popup, back to its parent, and Right
// opens a highlighted submenu; Enter opens a submenu or chooses the entry;
// Space toggles the check mark of a plain entry or row of choices. The
// wheel moves the highlight one entry against its sign and puts the
// pointer kMenuWheelPointer pixels into the row (and kMenuChoiceWidth
// further per choice index). The mouse highlights the row under it, opens
// a submenu under it (closing another), and a button released over an
// entry chooses it.
//
// Choosing closes every popup, then reports the entry (CMenuItem::Report).
// A popup is kept within the work area of the screen it opens on; a list
// taller than the work area is cut to it and scrolls with the highlight.
//
// For a menu at a point use Run; for a dropdown list CPopup2::RunBelow.
class CPopup : public CWin
{
public:
    // Lists source's entries (source is not owned and may be deleted while
    // the popup is open: the popup then closes). parentPopup is the popup a
    // submenu opens from, or null.
    CPopup(CApp* app, CWin* owner, CMenuItem* source, CPopup* parentPopup = nullptr);
    // Deletes the submenu popups it opened.
    ~CPopup() override;

    // Runs a menu of menu's entries with its top-left corner at screen point
    // (sx, sy) (the pointer's place is the system's CursorPos), after closing
    // any open popup; returns once it has closed and a chosen entry has been
    // reported. True when an entry was chosen. Nothing is shown for a menu
    // without entries. menu stays the caller's. The owner's pressed control
    // is let go (the press that opened the menu ends in the popup).
    static bool Run(CWin* owner, CMenuItem* menu, int32_t sx, int32_t sy);
    // c's rectangle on the screen.
    static Rect ScreenRectOf(CCtrl* c);

    // Sizes the popup to its entries (at least minListWidth wide).
    void Measure();
    // Measures, then places the popup (screen coordinates) within the work
    // area: at a point, flipped left or up where there is no room; below a
    // rectangle, or above it where there is no room below; beside a row of
    // a parent popup, or on its left side where there is no room on the right.
    void PlaceAt(int32_t sx, int32_t sy);
    void PlaceBelow(Rect r);
    void PlaceBeside(Rect row, Rect parent);

    // Highlights entry index (-1 none) at choice cell c, scrolls it into view and repaints.
    void Highlight(int32_t index, int32_t c);
    // Moves the highlight one selectable entry in direction dir (-1 up, 1 down).
    void Step(int32_t dir);
    // The entry under local point (px, py), or -1; c gets the choice cell there.
    int32_t RowAt(int32_t px, int32_t py, int32_t& c);
    // Entry index's row in local coordinates (scrolling applied).
    Rect RowRect(int32_t index);
    // Opens the submenu of entry index unless it is open; byKeys highlights its first entry.
    void OpenChild(int32_t index, bool byKeys);
    // Chooses entry index: closes every popup and reports it.
    void Choose(int32_t index);
    int32_t Count() const;
    CMenuItem* Entry(int32_t index) const;
    CPopup* Root();

    // Called by the source: it is being deleted, or its entries changed.
    void SourceGone();
    void EntriesChanged();

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t px, int32_t py, int32_t flags) override;
    void MouseMove(int32_t px, int32_t py, int32_t flags) override;
    void MouseUp(int32_t px, int32_t py, int32_t flags) override;
    // Whatever the point: the wheel always steers the newest popup.
    bool Wheel(int32_t px, int32_t py, int32_t flags, int32_t delta, int32_t reserved) override;
    // Closes its submenu popup first.
    void Close() override;

    CMenuItem* source;
    CPopup* parentPopup;
    CPopup* child = nullptr;  // owned: the submenu popup opened last
    int32_t highlight = -1;
    int32_t choice = 0;        // cell of a highlighted row of choices
    int32_t rowOffset = 0;     // pixels scrolled
    uint8_t chosen = 0;        // root popup: an entry was chosen
    int32_t chosenIndex = -1;  // root popup: the index chosen among its own entries
    // Look.
    const char* listItem = "menu";
    const char* selItem = "menusel";
    int32_t textIndent = kMenuCheckWidth + kMenuTextGap;
    int32_t arrowColumn = kMenuArrowWidth;
    int32_t minListWidth = kMenuMinWidth;

private:
    bool ListKey(CCtrl* sender, KeyRecord* key, int32_t mods);
    int32_t RowHeight(int32_t index) const;
    int32_t RowTop(int32_t index) const;  // without scrolling
    int32_t ContentHeight() const;
    void PaintRow(CGraphic& g, int32_t index, const CSkinItem* list, const CSkinItem* sel);
    void CloseChild();
    // Sets the system window's rectangle (screen), the height cut to work.
    void SetPlace(int32_t px, int32_t py, Rect work);
    int32_t busy = 0;  // handlers of this popup on the stack
    CList retired;     // closed submenu popups still on the stack
};

// A dropdown list: a popup in items "dropdownmenu" and
// "dropdownmenuselected", without check and arrow columns, at least as wide
// as the control it drops from.
class CPopup2 : public CPopup
{
public:
    CPopup2(CApp* app, CWin* owner, CMenuItem* source);

    // Runs a list of list's entries below control (above it where there is
    // no room), with entry selected highlighted, after closing any open
    // popup; returns once it has closed: the index chosen among list's
    // entries, or -1. A chosen entry is reported as well. Nothing is shown
    // for an empty list.
    static int32_t RunBelow(CCtrl* control, CMenuItem* list, int32_t selected);
};
