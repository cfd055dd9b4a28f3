#include "effects/ModuleSineTable.h"

#include <array>
#include <cmath>

namespace {

std::array<float, kModuleSineTableSize> BuildTable()
{
    std::array<float, kModuleSineTableSize> table{};
    const double step = 2.0 * M_PI / kModuleSineTableSize;
    for (int32_t i = 0; i < kModuleSineTableSize; ++i)
        table[i] = static_cast<float>(std::sin(step * i));
    return table;
}

}  // namespace

const float* ModuleSineTable()
{
    // A function-local static is filled exactly once, even with several synths
    // being built on different threads.
    static const std::array<float, kModuleSineTableSize> table = BuildTable();
    return table.data();
}
