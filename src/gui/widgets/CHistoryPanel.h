#pragma once

#include "gui/core/CGroup.h"

// Plain holders of other controls that differ only in their look.

// A group filled with the window colour ("winbkgnd"'s fill).
class CHistoryPanel : public CGroup
{
public:
    explicit CHistoryPanel(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
};

// A group drawn as the "tabs" item behind its children.
class CTestGroup : public CGroup
{
public:
    explicit CTestGroup(CWin* window);

    void Paint(CGraphic& g, Rect r) override;
};
