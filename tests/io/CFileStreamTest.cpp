#include "io/CFileStream.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

// A missing file, an unknown mode or no path: nothing opens, nothing is read or written.
TEST(CFileStream, WhatCannotBeOpenedReadsNothing)
{
    TempDir dir;
    CFileStream stream(dir.File("absent.bin").c_str(), CFileStream::ReadOnly);
    EXPECT_FALSE(stream.IsOpen());
    char buffer[4];
    EXPECT_EQ(stream.Read(buffer, 4), 0);
    EXPECT_EQ(stream.Write(buffer, 4), 0);
    EXPECT_FALSE(CFileStream(dir.File("x").c_str(), 2).IsOpen());
    EXPECT_FALSE(CFileStream(nullptr, CFileStream::ReadOnly).IsOpen());
}

TEST(CFileStream, WritesThenReadsBackWithTheFileLength)
{
    TempDir dir;
    const std::string path = dir.File("data.bin");
    {
        CFileStream out(path.c_str(), CFileStream::Create);
        ASSERT_TRUE(out.IsOpen());
        EXPECT_EQ(out.Write("abc\r\n\0z", 7), 7);
        EXPECT_EQ(out.written, 7);
        out.PatchLength(0);
    }
    // The size field overwrote "abc\r"; the bytes after it are kept.
    EXPECT_EQ(TempDir::Read(path), std::string("\x03\0\0\0\n\0z", 7));

    CFileStream in(path.c_str(), CFileStream::ReadOnly);
    ASSERT_TRUE(in.IsOpen());
    EXPECT_EQ(in.length, 7);
    char buffer[16];
    EXPECT_EQ(in.Read(buffer, 16), 7);
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.Read(buffer, 1), 0);
    EXPECT_EQ(in.Seek(-1, CStream::FromEnd), 6);
    EXPECT_EQ(in.Read(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 'z');
}

TEST(CFileStream, EmptyFileReadsNothingAndReadOnlyRefusesWrites)
{
    TempDir dir;
    CFileStream empty(dir.Write("empty.bin", "").c_str(), CFileStream::ReadOnly);
    ASSERT_TRUE(empty.IsOpen());
    EXPECT_TRUE(empty.AtEnd());
    char byte;
    EXPECT_EQ(empty.Read(&byte, 1), 0);

    const std::string path = dir.Write("ro.bin", "1234");
    CFileStream readOnly(path.c_str(), CFileStream::ReadOnly);
    EXPECT_EQ(readOnly.Write("zz", 2), 0);
    EXPECT_EQ(TempDir::Read(path), "1234");
}
