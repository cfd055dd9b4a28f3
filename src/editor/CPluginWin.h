#pragma once

#include "gui/core/CWin.h"

// A toolkit window that a plug-in host embeds: besides being a window it
// takes the host's regular editor idle.
class CPluginWin : public CWin
{
public:
    using CWin::CWin;

    // One editor idle of the host (user-interface thread).
    virtual void Idle() {}
};
