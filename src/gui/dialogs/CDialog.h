#pragma once

#include "gui/core/CWin.h"

#include <cstdint>

// Result codes of a dialog; its buttons carry theirs in their id.
constexpr int32_t kResultNone = 0;
constexpr int32_t kResultOk = 1;
constexpr int32_t kResultCancel = 2;
constexpr int32_t kResultYes = 4;
constexpr int32_t kResultNo = 8;

// A modal window with a result code: created, configured, run with
// RunModal, read and destroyed by its caller. A control sent up without an
// OnChange binder (a plain button) that carries a non-zero id ends the
// dialog with that id as result; Enter ends it with OK and Escape with
// Cancel (see DialogKey). An end with OK asks Validate first.
class CDialog : public CWin
{
public:
    CDialog(CApp* app, CWin* owner, uint32_t style, const char* title, int32_t x, int32_t y, int32_t width,
            int32_t height);

    // Resets the result to 0, then runs the window modally; a dialog closed
    // without a result (title bar, Alt+F4) ends with Cancel.
    void RunModal() override;
    // A sender with an id ends the dialog with it.
    void ForwardUp(CCtrl* sender, int32_t value) override;

    // The dialog's window-level key handler: Enter ends it with OK unless
    // noEnter is set, Escape with Cancel; with focusFirst neither while a
    // control holds the focus.
    virtual bool DialogKey(CCtrl* sender, KeyRecord* key, int32_t mods);
    // Asked before an end with OK closes the dialog: true lets it close. A
    // veto that sets result to Cancel closes the dialog with Cancel; any
    // other veto keeps the dialog open for another choice.
    virtual bool Validate();

    // Sets result and closes the dialog (see Validate for OK).
    void End(int32_t code);

    int32_t result = kResultNone;
    uint8_t focusFirst = 0;
    uint8_t noEnter = 0;
};

// A dialog showing a content group made by its owner: the group fills the
// client area, which is sized to it.
class CClientDialog : public CDialog
{
public:
    // content is owned from now on; its window should be this dialog, so
    // it is usually made after the dialog and handed in with SetContent.
    CClientDialog(CApp* app, CWin* owner, uint32_t style, const char* title);

    // Puts content (owned from now on) into the client area and sizes the window to hold it.
    void SetContent(CGroup* content);

    CGroup* content = nullptr;  // one of the children
};
