#pragma once

#include "gui/core/CGroup.h"

// The client area of a window: holds the window's content and passes
// ForwardUp and ForwardTextUp to its window.
class CClientGroup : public CGroup
{
public:
    explicit CClientGroup(CWin* window);

    void ForwardUp(CCtrl* sender, int32_t value) override;
    void ForwardTextUp(const char* text, int32_t value) override;
};
