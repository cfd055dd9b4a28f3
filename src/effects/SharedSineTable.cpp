#include "effects/SharedSineTable.h"

#include "effects/ModuleSineTable.h"

const float* SharedSineTable()
{
    return ModuleSineTable();
}
