#pragma once

#include "gui/widgets/CEdit.h"
#include "io/CStringList.h"

#include <cstdint>

// Modes of a dropdown: a list button at the right that opens the entries
// as a popup list, or two step arrows at the right.
constexpr int32_t kDropdownList = 0;
constexpr int32_t kDropdownStepArrows = 2;

// A choice among text entries showing the selected one in item "dropdown".
// The control's text is the selected entry's; an editable dropdown lets its
// text be typed as well (a press left of the buttons edits it).
//
// With a left-hand button handler (OnLeftButton) the leftmost square (as
// wide as the control is high) is a button of its own: a press there
// releases the mouse capture and calls the handler. In step-arrow mode two
// squares at the right select the previous and the next entry on release;
// otherwise a press opens the entries as a popup list below the control.
// Ctrl+wheel moves the selection (up for a positive delta), and so do the
// Up and Down keys while the control has the focus. Every new selection
// is shown and reported through OnChange. Without entries the control
// ignores wheel, keys and arrows and opens no list.
class CDropdown : public CEdit
{
public:
    explicit CDropdown(CWin* window);
    ~CDropdown() override;

    // The number of entries.
    virtual int32_t Count() const;
    virtual void AddEntry(const char* entry);
    // Removes every entry; nothing is selected and the text is emptied.
    virtual void ClearEntries();
    // The text of entry index, or null outside the entries.
    virtual const char* EntryText(int32_t index) const;
    // Selects entry index and shows it (nothing selected for an index
    // outside the entries, the text then kept); reports nothing.
    virtual void SetSelection(int32_t index);
    // Shows the entries as a popup list below the control (CPopup2), the
    // selection highlighted, and returns once it has closed, the chosen
    // entry taken. Nothing is shown without entries.
    virtual void OpenList();

    // Selects entry index as the user's choice: shown, and reported when
    // the selection or the text changes. Ignored outside the entries.
    void Choose(int32_t index);

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    bool Wheel(int32_t x, int32_t y, int32_t flags, int32_t delta, int32_t reserved) override;

    CStringList entries;
    int32_t selection = -1;  // -1: none
    int32_t mode = kDropdownList;
    uint8_t editable = 0;
    COnChange* OnLeftButton = nullptr;  // owned

protected:
    Rect TextArea() const override;

private:
    enum class Zone
    {
        Text,
        LeftButton,
        Previous,  // step arrows
        Next,
        ListButton
    };
    Zone ZoneAt(int32_t x) const;
    // Left edge of the buttons at the right.
    int32_t ButtonsLeft() const;
    // Moves the selection by delta entries, within the entries.
    void Step(int32_t delta);

    Zone pressZone = Zone::Text;
};
