#pragma once

#include "gui/platform/CClipboard.h"

// The Windows clipboard, as ANSI text (CF_TEXT).
class CWin32Clipboard : public CClipboard
{
public:
    bool SetText(SysWindow owner, const char* text) override;
    char* GetText(SysWindow owner) override;
};
