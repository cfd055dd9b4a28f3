#include "gui/draw/Colour.h"

#include <gtest/gtest.h>

namespace
{

TEST(Colour, MixRoundsAndClampsEachChannelAlone)
{
    // 0x28 + (0xFF - 0x28) * 0.25 = 40 + 53.75 = 93.75, rounded to 94 = 0x5E.
    EXPECT_EQ(Mix(0x282828, 0xFFFFFF, 0.25), 0x5E5E5Eu);
    // Red 255 -> 0 and blue 0 -> 255 meet at 127.5, rounded up to 128.
    EXPECT_EQ(Mix(0x0000FF, 0xFF0000, 0.5), 0x800080u);
    EXPECT_EQ(Mix(0x000000, 0x0A0A0A, 0.25), 0x030303u);  // 2.5 rounds to 3
    EXPECT_EQ(Mix(0x123456, 0xABCDEF, 1.0), 0xABCDEFu);
    // Each channel is clamped.
    EXPECT_EQ(Mix(0x101010, 0xF0F0F0, 2.0), 0xFFFFFFu);
    EXPECT_EQ(Mix(0x101010, 0xF0F0F0, -1.0), 0x000000u);
}

}  // namespace
