#include "gui/platform/CDrawContext.h"
#include "gui/platform/CSoftContext.h"

// Builds without a system drawing API draw through the software backend.
CDrawContext* NewBitmapContext(int32_t width, int32_t height)
{
    if (width < 1 || height < 1)
        return nullptr;
    return new CSoftContext(width, height);
}
