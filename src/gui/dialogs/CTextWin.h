#pragma once

#include "gui/dialogs/CDialog.h"

class CEdit;

// A text-input box: a centred dialog with a title bar, an edit field that
// holds the focus when it runs, and the buttons "OK" and "Cancel"
// (48 x 24). After RunModal with result OK, Text is the entered text.
class CTextWin : public CDialog
{
public:
    CTextWin(CApp* app, const char* title, const char* text, CWin* owner = nullptr);

    // Gives the field the focus, then runs modally.
    void RunModal() override;
    // The field's text.
    const char* Text() const;

    CEdit* field;  // one of the children
};
