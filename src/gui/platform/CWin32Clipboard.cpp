#include "gui/platform/CWin32Clipboard.h"

#include "io/HeapString.h"

#include <climits>
#include <cstring>
#include <windows.h>

bool CWin32Clipboard::SetText(SysWindow owner, const char* text)
{
    if (text == nullptr)
        text = "";
    const size_t size = std::strlen(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr)
        return false;
    void* bytes = GlobalLock(memory);
    if (bytes == nullptr)
    {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, text, size);
    GlobalUnlock(memory);
    // Emptying the clipboard makes the opener its owner; without a window
    // the system would refuse the data.
    if (!OpenClipboard(reinterpret_cast<HWND>(owner)))
    {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool taken = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    // Data the system took belongs to it now.
    if (!taken)
        GlobalFree(memory);
    return taken;
}

char* CWin32Clipboard::GetText(SysWindow owner)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(reinterpret_cast<HWND>(owner)))
        return NewString("");
    char* result = nullptr;
    if (HANDLE memory = GetClipboardData(CF_TEXT))
    {
        if (const char* bytes = static_cast<const char*>(GlobalLock(memory)))
        {
            // Another program's data need not be terminated: never read past its block.
            const SIZE_T size = GlobalSize(memory);
            result = NewString(bytes, static_cast<int>(size < INT_MAX ? size : INT_MAX));
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return result != nullptr ? result : NewString("");
}

CClipboard* BuildClipboard()
{
    static CWin32Clipboard clipboard;
    return &clipboard;
}
