#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>
#include <string>
#include <vector>

class CParamValueKnob;
class CSynthResources;

// The base of the editor's panels: a black group of 264 x 164 under a
// 20-pixel header that creates its knobs bound to program fields and places
// them left to right in rows.
class CBaseGroup : public CGroup
{
public:
    static constexpr int32_t kWidth = 264;
    static constexpr int32_t kHeight = 164;
    static constexpr int32_t kHeaderHeight = 20;

    // resources is not owned; it gives the knob image and the rebuild flag.
    CBaseGroup(CWin* window, CSynthResources* resources);

    // A knob on a float field, shown x 100 (truncated) in lo..hi.
    CParamValueKnob* FloatKnob(const char* label, float* field, int32_t lo, int32_t hi, int32_t def);
    // A knob of the given kind on an integer field, shown as it is in lo..hi.
    CParamValueKnob* IntKnob(const char* label, int32_t* field, int32_t lo, int32_t hi, int32_t def,
                             int32_t kind, const std::vector<std::string>& items = {});

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
