#pragma once

#include "gui/core/CGroup.h"
#include "gui/platform/Rect.h"

#include <cstdint>

class CApp;

// A toolkit window as far as its control tree needs one: the controls that
// hold the press and the focus, the application, the hit test from window
// coordinates and the area waiting to be repainted.
class CWin : public CGroup
{
public:
    // app is not owned and must outlive the window.
    explicit CWin(CApp* app);
    ~CWin() override;

    // Marks the whole window for repainting.
    void Invalidate() override;

    // Adds r (window coordinates) to the area waiting to be repainted.
    void InvalidateRect(Rect r);
    // The control under window point (px, py): the first direct child whose
    // rectangle holds the point (the window's scroll offset added), searched
    // down to the deepest hit. Null when nothing is hit.
    CCtrl* HitTest(int32_t px, int32_t py);
    // Clears every pointer of the window and its application that holds c.
    void Forget(CCtrl* c);

    CCtrl* pressedCtrl = nullptr;
    CCtrl* focusCtrl = nullptr;
    CApp* app;
    Rect dirty; // window coordinates; empty when nothing waits
};
