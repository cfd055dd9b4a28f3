#pragma once

#include "editor/CParamControl.h"

#include <cstdint>
#include <string>
#include <vector>

// A switch over an integer field: a box whose light, for a 0..1 range, is
// lit while the field is non-zero. Any release (but a right click with a
// menu) steps it to the next value, from the maximum back to the minimum, as
// one edit for the host.
class CParamSwitch : public CParamControl
{
public:
    CParamSwitch(CWin* window, CSynthResources* resources, const char* label, int32_t& field, int32_t lo, int32_t hi);

protected:
    void PaintBody(CGraphic& g) override;
    void Release(int32_t x, int32_t y, int32_t flags) override;
};

// A list over an integer field: an empty box captioned with the name of the
// current value, always. A left click steps it to the next value, from the
// maximum back to the minimum, as one edit for the host.
class CParamList : public CParamControl
{
public:
    // items names the values 0, 1, ... in order.
    CParamList(CWin* window, CSynthResources* resources, const char* label, int32_t& field, int32_t lo, int32_t hi,
               std::vector<std::string> items);

    // Repaints, so that the press shows.
    void MouseDown(int32_t x, int32_t y, int32_t flags) override;
    // The name of the value; empty when it has none.
    std::string ValueText() const override;
    std::string DisplayText() const override;

    const std::vector<std::string> items;

protected:
    void PaintBody(CGraphic& g) override;
    void Release(int32_t x, int32_t y, int32_t flags) override;
};
