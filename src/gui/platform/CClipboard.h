#pragma once

#include "gui/platform/Message.h"

// The system clipboard as the toolkit sees it: plain text only (the text of
// the toolkit's controls is single-byte). Used on the user-interface thread.
class CClipboard
{
public:
    CClipboard() = default;
    virtual ~CClipboard() = default;

    // Replaces the clipboard's content with a copy of text; owner is the
    // window on whose behalf it is done (the system needs one to own the
    // data). False when the system refuses.
    virtual bool SetText(SysWindow owner, const char* text) = 0;
    // A new heap string (io/HeapString.h, the caller frees it) with the
    // clipboard's text: empty when it holds no text or cannot be opened.
    virtual char* GetText(SysWindow owner) = 0;

    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;
};

// The clipboard of the build: the system's on Windows, otherwise one kept
// in the process (shared by every window of it); never null.
CClipboard* BuildClipboard();
