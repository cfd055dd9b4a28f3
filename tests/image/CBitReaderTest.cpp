#include "image/CBitReader.h"

#include <gtest/gtest.h>

TEST(CBitReader, ReadsLeastSignificantBitFirst)
{
    const uint8_t data[] = {0xB5, 0x3C};  // 1011 0101, 0011 1100
    CBitReader in(data, sizeof data);
    EXPECT_EQ(in.Bits(1), 1u);
    EXPECT_EQ(in.Bits(2), 2u);      // bits 1, 2 of 0xB5: 0, 1
    EXPECT_EQ(in.Bits(5), 0x16u);   // the top five bits 10110
    EXPECT_EQ(in.Bits(12), 0x3Cu);  // then the whole next byte and four zero bits
    EXPECT_TRUE(in.Overran());
}

TEST(CBitReader, OverrunIsReportedOnlyPastTheLastBit)
{
    const uint8_t data[9] = {1, 2, 3, 4, 5, 6, 7, 8, 0xFF};
    CBitReader in(data, sizeof data);
    EXPECT_EQ(in.Bits(32), 0x04030201u);
    EXPECT_EQ(in.Bits(32), 0x08070605u);
    EXPECT_EQ(in.Bits(8), 0xFFu);
    EXPECT_FALSE(in.Overran());
    EXPECT_EQ(in.Bits(1), 0u);
    EXPECT_TRUE(in.Overran());
}

TEST(CBitReader, ReadBytesAfterAlignment)
{
    const uint8_t data[] = {0xFF, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k'};
    CBitReader in(data, sizeof data);
    in.Bits(3);
    in.AlignToByte();
    uint8_t out[16] = {};
    EXPECT_EQ(in.ReadBytes(out, 4), 4u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 4), "abcd");
    // Asks for more than there is: gets the rest, never padding.
    EXPECT_EQ(in.ReadBytes(out, 16), 7u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 7), "efghijk");
    EXPECT_FALSE(in.Overran());
    EXPECT_EQ(in.ReadBytes(out, 1), 0u);
}
