#pragma once

#include "gui/core/CGroup.h"

// The editor's backdrop: a dark group filling the window that holds all of
// the editor's controls.
class CBkPanel : public CGroup
{
public:
    static constexpr uint32_t kColour = 0x202020;

    explicit CBkPanel(CWin* window) : CGroup(window)
    {
        background = kColour;
        anchor = kAnchorStretchX | kAnchorStretchY;
    }
};
