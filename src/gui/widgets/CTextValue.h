#pragma once

#include "gui/core/CGroup.h"

#include <cstdint>

class CValue;

// A label with a number field beside it: the group's text is the label,
// drawn in "winbkgnd"'s text colour over the first labelWidth pixels; the
// field (a child CValue, item "value") fills the rest and follows the
// group's width. The field's OnChange is reported as the group's own.
class CTextValue : public CGroup
{
public:
    // field may be null for a plain CValue; the group owns it either way.
    CTextValue(CWin* window, const char* label, int32_t labelWidth, CValue* field = nullptr);

    void Paint(CGraphic& g, Rect r) override;
    void Layout() override;

    int32_t labelWidth;
    CValue* field;  // owned as a child

private:
    void FieldChanged(CCtrl* sender);
};
