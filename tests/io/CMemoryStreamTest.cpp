#include "io/ByteOrder.h"
#include "io/CMemoryStream.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CMemoryStream, ReadsWhatWasWrittenAndStopsAtTheEnd)
{
    CMemoryStream stream;
    stream.Write("velmora", 7);
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

TEST(CMemoryStream, RefusesNegativeSizesAndPositionsAndOverflow)
{
    CMemoryStream stream;
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(stream.Write(buffer, -1), 0);
    EXPECT_EQ(stream.length, 0);
    stream.Write(buffer, 4);
    stream.Seek(-10, CStream::FromStart);
    EXPECT_EQ(stream.Read(buffer, 2), 0);
    EXPECT_EQ(stream.Write(buffer, 2), 0);
    stream.Seek(INT32_MAX, CStream::FromStart);
    EXPECT_EQ(stream.Write(buffer, 1), 0);
    EXPECT_EQ(stream.Size(), 4);
    // A gap left by seeking past the end reads as zeros.
    stream.Seek(6, CStream::FromStart);
    EXPECT_EQ(stream.Write(buffer, 1), 1);
    EXPECT_EQ(std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size()),
              (std::vector<uint8_t>{1, 2, 3, 4, 0, 0, 1}));
}

TEST(CMemoryStream, SeeksFromEachOriginAndPatchesALengthInPlace)
{
    CMemoryStream stream;
    stream.SetSize(100);
    EXPECT_EQ(stream.Seek(-4, CStream::FromEnd), 96);
    EXPECT_EQ(stream.Seek(-6, CStream::FromCurrent), 90);
    EXPECT_EQ(stream.Seek(30, CStream::FromStart), 30);
    // The field at 10 gets the bytes after it up to the position: 30 - 14.
    stream.PatchLength(10);
    EXPECT_EQ(stream.Tell(), 30);
    EXPECT_EQ(LoadU32LE(stream.Data() + 10), 16u);
}

TEST(ByteOrder, WordsAreLittleEndianWhateverTheHost)
{
    CMemoryStream stream;
    EXPECT_TRUE(WriteU32(stream, 0x11223344u));
    EXPECT_TRUE(WriteF32(stream, 1.0f));
    EXPECT_TRUE(WriteI32(stream, -2));
    const std::vector<uint8_t> expected = {0x44, 0x33, 0x22, 0x11, 0x00, 0x00, 0x80, 0x3F, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::vector<uint8_t>(stream.Data(), stream.Data() + stream.Size()), expected);

    stream.Seek(0, CStream::FromStart);
    uint32_t u = 0;
    float f = 0;
    int32_t i = 0;
    EXPECT_TRUE(ReadU32(stream, u) && ReadF32(stream, f) && ReadI32(stream, i));
    EXPECT_EQ(u, 0x11223344u);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(i, -2);
    // With only two bytes left a read fails and keeps the value.
    stream.Write(expected.data(), 2);
    stream.Seek(-2, CStream::FromEnd);
    EXPECT_FALSE(ReadU32(stream, u));
    EXPECT_EQ(u, 0x11223344u);
}
