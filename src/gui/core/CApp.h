#pragma once

#include "gui/draw/CAppGui.h"
#include "io/CList.h"
#include "io/CObject.h"

#include <cstdint>

class CCtrl;

// The application object as far as the control tree needs one: the
// controls under the mouse, the origin of a drag, the drag under way and the
// theme, which it builds at construction and owns.
class CApp : public CObject
{
public:
    CApp();
    ~CApp() override;

    CCtrl* hoverCtrl = nullptr; // control under the mouse
    CCtrl* overCtrl = nullptr;  // hover-tracking control under the mouse
    int32_t pressX = 0;         // window coordinates of the last button press
    int32_t pressY = 0;
    CList* dropItems = nullptr; // non-null while a drag or drop is under way
    CAppGui* theme;             // owned
};
