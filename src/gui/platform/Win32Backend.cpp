#include "gui/platform/CDrawContext.h"
#include "gui/platform/CWin32Context.h"

// Windows builds draw through the system.
CDrawContext* NewBitmapContext(int32_t width, int32_t height)
{
    return CWin32Context::NewBitmap(width, height);
}
