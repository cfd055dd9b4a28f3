#pragma once

#include "gui/core/CCtrl.h"

#include <cstdint>
#include <string>

class CSkinItem;

// Longest text an edit field holds, in characters; typing and pasting stop there.
constexpr int32_t kEditMaxLength = 4096;
// Pixels between the field's left and right edges and its text.
constexpr int32_t kEditInset = 3;

// A one-line text field (item "value"). Editing begins when the field takes
// the window's keyboard focus: the text is noted in savedText and selected
// whole. It ends when the focus goes: unless cancelled, a text that differs
// from savedText is reported through OnChange.
//
// Keys (after the OnKeyDown binder has had its chance): Escape restores
// savedText, sets cancelled and ends editing; Enter ends editing keeping the
// text (with commitOnEnter it also clears cancelled and is consumed,
// otherwise it goes on to the window, e.g. to a dialog's default button);
// Delete and Backspace (Ctrl: the word before the caret); Left and Right
// (Ctrl: by words, which end at blanks), Home and End, each extending the
// selection with Shift; Ctrl+Z back to savedText; Ctrl+C, Ctrl+X, Ctrl+V
// through the platform clipboard. A click places the caret, a drag selects.
//
// The text is one line of single-byte characters: inserted text (typed or
// pasted) is cut at its first line break, tabs become blanks, other control
// characters are dropped, and nothing goes beyond kEditMaxLength. An owner
// may replace text with SetText at any time: caret and selection are kept
// inside whatever text there is when they are next used.
class CEdit : public CCtrl
{
public:
    explicit CEdit(CWin* window);
    ~CEdit() override;

    void Paint(CGraphic& g, Rect r) override;
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    void MouseMove(int32_t x, int32_t y, int32_t flags) override;
    void MouseUp(int32_t x, int32_t y, int32_t flags) override;
    bool KeyDown(int32_t key, int32_t mods) override;
    // Gaining begins editing, losing ends it.
    void Focus(bool gained) override;

    // The field holds its window's keyboard focus (it is being edited).
    bool Editing() const;
    // Ends editing by clearing the window's focus control.
    void EndEditing();
    void SelectAll();
    // The selected characters run from SelectionStart up to SelectionEnd.
    int32_t SelectionStart() const;
    int32_t SelectionEnd() const;
    // Replaces the selection with insert (made one clean line, cut to the
    // room left) and puts the caret after it.
    void ReplaceSelection(const char* insert);
    // The caret position (0..length) nearest local x.
    int32_t CharAt(int32_t x);

    char* savedText;              // owned; the text when editing began
    int32_t caret = 0;            // characters before the caret
    int32_t selectionLength = 0;  // negative: the selection runs left of the caret
    uint8_t cancelled = 0;
    uint8_t commitOnEnter = 0;
    int32_t textScroll = 0;  // pixels of text scrolled out at the left while editing

protected:
    // Whether c may enter the text (after control characters are taken out).
    virtual bool Accepts(char c) const;
    // Editing ended and the text is kept: reports a changed text.
    virtual void Commit();
    // The part of the control (local) that shows the text.
    virtual Rect TextArea() const;
    // Keeps caret and selection inside the text.
    void ClampCaret();
    // The text in area, with the caret and selection when showCaret is set.
    void PaintText(CGraphic& g, Rect area, const CSkinItem* item, bool showCaret);
    // Width of the first n characters of the text in the window's font.
    int32_t PrefixWidth(int32_t n);
    const CSkinItem* Item(const char* key) const;
    // Moves the caret to target, extending the selection when extend is set.
    void MoveCaret(int32_t target, bool extend);

    bool selecting = false;  // a left press in the text is being dragged
    int32_t selectAnchor = 0;

private:
    bool HandleCtrlLetter(int32_t letter);
    // Replaces the characters [start, end) with insert; caret after it.
    void Replace(int32_t start, int32_t end, const std::string& insert);
    int32_t Length() const;
};
