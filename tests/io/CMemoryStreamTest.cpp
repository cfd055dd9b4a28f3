#include "io/ByteOrder.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CMemoryStream, GrowsInStepsOf8192)
{
    CMemoryStream one;
    const uint8_t byte = 7;
    EXPECT_EQ(one.Write(&byte, 1), 1);
    EXPECT_EQ(one.Capacity(), 8192);
    EXPECT_EQ(one.length, 1);

    CMemoryStream big;
    const std::vector<uint8_t> bytes(8193, 0xAB);
    EXPECT_EQ(big.Write(bytes.data(), 8193), 8193);
    EXPECT_EQ(big.Capacity(), 16384);
    EXPECT_EQ(big.Size(), 8193);
    EXPECT_EQ(big.Tell(), 8193);
}

TEST(CMemoryStream, ReadsWhatWasWrittenAndStopsAtTheEnd)
{
    CMemoryStream stream;
    const char text[] = "velmora";
    stream.Write(text, 7);
    stream.Seek(0, CStream::FromStart);
    char back[16] = {};
    EXPECT_EQ(stream.Read(back, 4), 4);
    EXPECT_EQ(std::string(back, 4), "velm");
    EXPECT_EQ(stream.Read(back, 100), 3);
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Read(back, 1), 0);
    // Beyond the end the count is the (negative) distance, never data.
    stream.Seek(10, CStream::FromStart);
    EXPECT_EQ(stream.Read(back, 1), -3);
}

TEST(CMemoryStream, RefusesNegativeSizesAndPositions)
{
    CMemoryStream stream;
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(stream.Write(buffer, -1), 0);
    EXPECT_EQ(stream.Write(buffer, 0), 0);
    EXPECT_EQ(stream.length, 0);
    stream.Write(buffer, 4);
    stream.Seek(-10, CStream::FromStart);
    EXPECT_EQ(stream.Read(buffer, 2), 0);
    EXPECT_EQ(stream.Write(buffer, 2), 0);
    stream.Seek(0, CStream::FromStart);
    EXPECT_EQ(stream.Read(buffer, -2), 0);
}

TEST(CMemoryStream, SeeksFromEachOrigin)
{
    CMemoryStream stream;
    stream.SetSize(100);
    EXPECT_EQ(stream.Seek(-4, CStream::FromEnd), 96);
    EXPECT_EQ(stream.Seek(-6, CStream::FromCurrent), 90);
    EXPECT_EQ(stream.Seek(12, CStream::FromStart), 12);
    EXPECT_EQ(stream.Size(), 100);
    EXPECT_EQ(stream.Tell(), 12);
}

TEST(CMemoryStream, PatchLengthFillsTheSizeFieldAndReturns)
{
    CMemoryStream stream;
    stream.SetSize(30);
    stream.Seek(30, CStream::FromStart);
    stream.PatchLength(10);
    EXPECT_EQ(stream.Tell(), 30);
    EXPECT_EQ(LoadU32LE(stream.Data() + 10), 16u);
    EXPECT_EQ(stream.Data()[10], 16);
    EXPECT_EQ(stream.Data()[13], 0);
}

TEST(CMemoryStream, SetSizeTruncatesAndBringsThePositionBack)
{
    CMemoryStream stream;
    const std::vector<uint8_t> bytes(20000, 1);
    stream.Write(bytes.data(), 20000);
    EXPECT_EQ(stream.Capacity(), 24576);
    stream.SetSize(5);
    EXPECT_EQ(stream.Capacity(), 8192);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Tell(), 5);
    EXPECT_EQ(stream.Data()[4], 1);
    stream.SetSize(0);
    EXPECT_EQ(stream.Capacity(), 0);
    EXPECT_EQ(stream.Data(), nullptr);
    EXPECT_EQ(stream.Tell(), 0);
}

TEST(CMemoryStream, GapAfterSeekingPastTheEndReadsAsZeros)
{
    CMemoryStream stream;
    const uint8_t marker = 0x55;
    stream.Seek(6, CStream::FromStart);
    EXPECT_EQ(stream.Write(&marker, 1), 1);
    EXPECT_EQ(stream.Size(), 7);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(stream.Data()[i], 0) << i;
    EXPECT_EQ(stream.Data()[6], 0x55);
}

TEST(CMemoryStream, RefusesWritesThatWouldOverflowThePosition)
{
    CMemoryStream stream;
    const uint8_t byte = 1;
    stream.Seek(INT32_MAX, CStream::FromStart);
    EXPECT_EQ(stream.Write(&byte, 1), 0);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Seek(INT32_MAX, CStream::FromCurrent), INT32_MAX);
}

TEST(ByteOrder, WordsAreLittleEndianWhateverTheHost)
{
    CMemoryStream stream;
    EXPECT_TRUE(WriteU32(stream, 0x11223344u));
    EXPECT_TRUE(WriteF32(stream, 1.0f));
    EXPECT_TRUE(WriteI32(stream, -2));
    const uint8_t expected[] = {0x44, 0x33, 0x22, 0x11, 0x00, 0x00, 0x80, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF};
    ASSERT_EQ(stream.Size(), 12);
    EXPECT_EQ(std::vector<uint8_t>(stream.Data(), stream.Data() + 12),
              std::vector<uint8_t>(expected, expected + 12));

    stream.Seek(0, CStream::FromStart);
    uint32_t u = 0;
    float f = 0;
    int32_t i = 0;
    EXPECT_TRUE(ReadU32(stream, u));
    EXPECT_TRUE(ReadF32(stream, f));
    EXPECT_TRUE(ReadI32(stream, i));
    EXPECT_EQ(u, 0x11223344u);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(i, -2);
    // At the end, or with only two bytes left, a read fails and keeps the value.
    i = 77;
    EXPECT_FALSE(ReadI32(stream, i));
    EXPECT_EQ(i, 77);
    stream.Write(expected, 2);
    stream.Seek(-2, CStream::FromEnd);
    EXPECT_FALSE(ReadU32(stream, u));
    EXPECT_EQ(u, 0x11223344u);
}
