#include "effects/MDelayLine.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MDelayLine, BlockWritesCrossTheWrapLikeSingleOnes)
{
    MDelayLine line;
    line.Setup(5);  // 16 floats: blocks of 5 wrap at uneven points
    std::vector<float> out(40);
    for (int s = 0; s < 40; s += 5)
    {
        for (int i = 0; i < 5; ++i)
            out[s + i] = line.Read();
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
    float out[4];
    line.Tap(3, out, 4);  // across the wrap, up to 3 writes before the latest
    EXPECT_EQ(std::vector<float>(out, out + 4), (std::vector<float>{14.0f, 15.0f, 16.0f, 17.0f}));
    line.Tap(1000, out, 2);  // limited to the oldest samples held
    EXPECT_EQ(std::vector<float>(out, out + 2), (std::vector<float>{6.0f, 7.0f}));
}

// Spans as an owner running whole vectors uses them: n reads, n writes and up
// to three more after them, which must never come back as a read.
TEST(MDelayLine, SpansCrossTheWrapLikeSingleReadsAndWrites)
{
    MDelayLine line;
    line.Setup(5, 8);  // a ring of 16 floats and 8 past it
    const int32_t lengths[] = {5, 3, 1, 4, 2, 5, 5, 4, 3, 5, 1, 2};
    std::vector<float> out;
    float next = 1.0f;
    for (int round = 0; round < 4; ++round)
        for (const int32_t n : lengths)
        {
            const float* read = line.ReadSpan(n);
            out.insert(out.end(), read, read + n);
            float* write = line.WriteSpan();
            for (int32_t i = 0; i < n; ++i)
                write[i] = next++;
            for (int32_t i = n; i < (n + 3) / 4 * 4; ++i)
                write[i] = -1.0f;
            line.Wrote(n);
        }
    ASSERT_EQ(out.size(), 160u);
    for (size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(out[i], i < 5 ? 0.0f : static_cast<float>(i - 4)) << "sample " << i;
}
