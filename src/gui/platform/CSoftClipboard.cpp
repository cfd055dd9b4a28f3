#include "gui/platform/CSoftClipboard.h"

#include "io/HeapString.h"

bool CSoftClipboard::SetText(SysWindow, const char* text)
{
    content = text != nullptr ? text : "";
    return true;
}

char* CSoftClipboard::GetText(SysWindow)
{
    return NewString(content.c_str());
}

CClipboard* BuildClipboard()
{
    static CSoftClipboard clipboard;
    return &clipboard;
}
