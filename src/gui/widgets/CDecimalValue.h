#pragma once

#include "gui/widgets/CValue.h"

#include <cstdint>

// A number with decimals in an edit field (item "value"): value, minimum,
// maximum, step and the drag are in units of the last shown decimal (with
// decimals 2, a value of 1234 shows as "12.34"). Typed text may use '.' or
// ',' as the decimal point; further digits are rounded away. Otherwise as CValue.
class CDecimalValue : public CValue
{
public:
    // decimals is kept within 0..9.
    CDecimalValue(CWin* window, int32_t decimals);

    int32_t Decimals() const override;

    int32_t decimals;

protected:
    bool Accepts(char c) const override;
};
