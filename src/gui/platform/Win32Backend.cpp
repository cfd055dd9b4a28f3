#include "gui/platform/CDrawContext.h"
#include "gui/platform/CWin32Context.h"
#include "gui/platform/CWin32System.h"

// Windows builds draw through the system.
CDrawContext* NewBitmapContext(int32_t width, int32_t height)
{
    return CWin32Context::NewBitmap(width, height);
}

CWindowSystem* BuildWindowSystem()
{
    static CWin32System system;
    return &system;
}

CWindowSystem* EditorWindowSystem()
{
    return BuildWindowSystem();
}
