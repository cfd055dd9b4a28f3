#include "gui/platform/CX11System.h"

// On Linux the editor opens on the X server the host runs on; everything
// else keeps the in-memory screen.
CWindowSystem* EditorWindowSystem()
{
    static CX11System system;
    return &system;
}
