#pragma once

#include "gui/core/Binders.h"
#include "gui/draw/CGui.h"

// The application's theme: tells its owner when the theme was rebuilt
// (themeChanged, after Init) or changed (itemsChanged, from Changed). The
// binders are owned and called with a null sender.
class CAppGui : public CGui
{
public:
    CAppGui() = default;
    ~CAppGui() override;

    void Init() override;
    void Changed() override;

    COnChange* themeChanged = nullptr;
    COnChange* itemsChanged = nullptr;
};
