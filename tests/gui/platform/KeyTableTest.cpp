#include "gui/platform/InputCodes.h"
#include "gui/platform/KeyTable.h"

#include <gtest/gtest.h>

namespace
{

TEST(KeyTable, MapsSpecialAndFunctionKeysToTheirCodesAndOthersToZero)
{
    // {virtual key, code}: Home..Down, End, Delete, Backspace, Enter, Tab, Escape, Page Up/Down,
    // Insert, numpad *, menu; F1, F6, F12 from -15; F13, Caps Lock, Shift and printable 'A' have none.
    const int32_t table[][2] = {
        {0x24, kKeyHome}, {0x25, -2},       {0x26, -3},       {0x27, -4},       {0x28, -5},      {0x23, -6},
        {0x2E, -7},       {0x08, -8},       {0x0D, -9},       {0x09, -10},      {0x1B, -11},     {0x21, -12},
        {0x22, -13},      {0x2D, -14},      {0x6A, -27},      {0x5D, -28},      {0x70, -15},     {0x75, -20},
        {0x7B, -26},      {0x7C, kKeyNone}, {0x14, kKeyNone}, {0x10, kKeyNone}, {'A', kKeyNone},
    };
    for (const auto& row : table)
        EXPECT_EQ(SpecialKeyCode(row[0]), row[1]) << "virtual key " << row[0];
}

}  // namespace
