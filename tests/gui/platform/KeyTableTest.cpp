#include "gui/core/InputCodes.h"
#include "gui/platform/KeyTable.h"

#include <gtest/gtest.h>

namespace
{

TEST(KeyTable, MapsTheSpecialKeysToTheirNegativeCodes)
{
    EXPECT_EQ(SpecialKeyCode(0x24), kKeyHome);
    EXPECT_EQ(SpecialKeyCode(0x25), -2);
    EXPECT_EQ(SpecialKeyCode(0x26), -3);
    EXPECT_EQ(SpecialKeyCode(0x27), -4);
    EXPECT_EQ(SpecialKeyCode(0x28), -5);
    EXPECT_EQ(SpecialKeyCode(0x23), -6);
    EXPECT_EQ(SpecialKeyCode(0x2E), -7);
    EXPECT_EQ(SpecialKeyCode(0x08), -8);
    EXPECT_EQ(SpecialKeyCode(0x0D), -9);
    EXPECT_EQ(SpecialKeyCode(0x09), -10);
    EXPECT_EQ(SpecialKeyCode(0x1B), -11);
    EXPECT_EQ(SpecialKeyCode(0x21), -12);
    EXPECT_EQ(SpecialKeyCode(0x22), -13);
    EXPECT_EQ(SpecialKeyCode(0x2D), -14);
    EXPECT_EQ(SpecialKeyCode(0x6A), -27);
    EXPECT_EQ(SpecialKeyCode(0x5D), -28);
}

TEST(KeyTable, NumbersTheFunctionKeysFromMinus15)
{
    EXPECT_EQ(SpecialKeyCode(0x70), -15);
    EXPECT_EQ(SpecialKeyCode(0x75), -20);
    EXPECT_EQ(SpecialKeyCode(0x7B), -26);
    EXPECT_EQ(SpecialKeyCode(0x7C), kKeyNone); // F13 has no code
}

TEST(KeyTable, KeysWithoutACodeGiveZero)
{
    EXPECT_EQ(SpecialKeyCode(0x14), kKeyNone); // Caps Lock
    EXPECT_EQ(SpecialKeyCode(0x10), kKeyNone); // Shift
    EXPECT_EQ(SpecialKeyCode('A'), kKeyNone);  // printable: left to the layout
}

} // namespace
