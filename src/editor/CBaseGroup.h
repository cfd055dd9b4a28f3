#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

class CSynthResources;

// The base of the editor's panels: a black group of 264 x 164 under a
// 20-pixel header that places its knobs left to right in rows.
class CBaseGroup : public CGroup
{
public:
    static constexpr int32_t kWidth = 264;
    static constexpr int32_t kHeight = 164;
    static constexpr int32_t kHeaderHeight = 20;

    // resources is not owned; it gives the knob image and the rebuild flag.
    CBaseGroup(CWin* window, CSynthResources* resources);

    // Adds c at the placement cursor and moves the cursor right past it.
    CCtrl* Place(CCtrl* c);
    // Starts a new row of knobs gap pixels below the current one.
    void NewRow(int32_t gap);

    CSynthResources* resources;

protected:
    int32_t cursorX;
    int32_t cursorY;
    int32_t rowHeight = 0;
};
