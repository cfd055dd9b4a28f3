#include "effects/MDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MDelayLine, BlockReadsAndWritesCrossTheWrapLikeSingleOnes)
{
    MDelayLine line;
    line.Setup(5);  // 16 floats: blocks of 5 wrap at uneven points
    std::vector<float> out(40);
    for (int s = 0; s < 40; s += 5)
    {
        line.Read(&out[s], 5);
        const float values[5] = {s + 1.0f, s + 2.0f, s + 3.0f, s + 4.0f, s + 5.0f};
        line.Write(values, 5);
    }
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(out[i], i < 5 ? 0.0f : static_cast<float>(i - 4)) << "sample " << i;
}

TEST(MDelayLine, TapLooksBackFromTheLatestWriteAndStaysInside)
{
    MDelayLine line;
    line.Setup(4);  // 15 floats
    for (int i = 1; i <= 20; ++i)
        line.Write(static_cast<float>(i));
    EXPECT_EQ(line.Tap(0), 20.0f);
    EXPECT_EQ(line.Tap(3), 17.0f);
    EXPECT_EQ(line.Tap(14), 6.0f);
    EXPECT_EQ(line.Tap(1000), 6.0f);  // limited to the oldest sample held
    EXPECT_EQ(line.Tap(-3), 20.0f);
}
