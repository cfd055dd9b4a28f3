#include "gui/widgets/CDecimalValue.h"

#include <algorithm>

CDecimalValue::CDecimalValue(CWin* window, int32_t decimals) : CValue(window), decimals(std::clamp(decimals, 0, 9))
{
    SetValue(value);
}

int32_t CDecimalValue::Decimals() const
{
    return decimals;
}

bool CDecimalValue::Accepts(char c) const
{
    return c == '.' || c == ',' || CValue::Accepts(c);
}
