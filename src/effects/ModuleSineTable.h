#pragma once

#include <cstdint>

// One cycle of sine in 65536 floats, entry i = sin(2 pi i / 65536) computed in
// double. Shared by every modulated line and sine oscillator of the block
// library; filled by the first caller (a block's constructor), read-only after.
constexpr int32_t kModuleSineTableSize = 65536;

const float* ModuleSineTable();
