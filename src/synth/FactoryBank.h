#pragma once

#include <cstdint>

// The factory bank in the patch format: 64 programs and a closing "prog"
// section. Generated at build time from FactoryBank.txt.
extern const uint8_t kFactoryBank[];
extern const int32_t kFactoryBankSize;
