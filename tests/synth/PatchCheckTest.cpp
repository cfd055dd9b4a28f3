#include "synth/PatchCheck.h"

#include "io/ByteOrder.h"
#include "io/CMemoryStream.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace
{

std::vector<uint8_t> Chunk(bool isPreset)
{
    CSynth synth;
    CMemoryStream stream;
    synth.SaveState(&stream, isPreset);
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
    stream.Seek(0, CStream::FromStart);
    stream.Read(bytes.data(), stream.Size());
    return bytes;
}

bool Check(const std::vector<uint8_t>& bytes, bool isPreset, std::string* reason = nullptr)
{
    std::string why;
    const bool ok = CheckPatchChunk(bytes.data(), bytes.size(), isPreset, why);
    if (reason != nullptr)
        *reason = why;
    return ok;
}

TEST(PatchCheck, WrittenBankAndProgramPassAsTheirOwnKindOnly)
{
    const std::vector<uint8_t> bank = Chunk(false);
    const std::vector<uint8_t> program = Chunk(true);
    EXPECT_TRUE(Check(bank, false));
    EXPECT_TRUE(Check(program, true));
    EXPECT_TRUE(Check(program, false));  // a bank of one program
    std::string reason;
    EXPECT_FALSE(Check(bank, true, &reason));
    EXPECT_EQ(reason, "a program file must hold one program, this one holds 64");
}

TEST(PatchCheck, DamagedStructureIsRefused)
{
    const std::vector<uint8_t> good = Chunk(true);
    std::string reason;

    EXPECT_FALSE(Check({}, true, &reason));
    EXPECT_EQ(reason, "the file holds no program");

    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    EXPECT_FALSE(Check(cut, true, &reason));
    EXPECT_EQ(reason, "the program data ends inside a section");

    // The reader follows "env" by its count, not its size field: a count far
    // beyond the data.
    std::vector<uint8_t> counted = good;
    const uint8_t envTag[] = {3, 0, 0, 0, 'e', 'n', 'v'};
    const auto at = std::search(counted.begin(), counted.end(), std::begin(envTag), std::end(envTag));
    ASSERT_NE(at, counted.end());
    StoreU32LE(&*(at + 11), 1000000);
    EXPECT_FALSE(Check(counted, true, &reason));
    EXPECT_EQ(reason, "the program data ends inside a section");

    std::vector<uint8_t> longTag = good;
    StoreU32LE(&longTag[0], 10);
    EXPECT_FALSE(Check(longTag, true, &reason));
    EXPECT_EQ(reason, "the program data holds a damaged section");

    std::vector<uint8_t> nameTooLong = good;
    StoreU32LE(&nameTooLong[10], 100000);
    EXPECT_FALSE(Check(nameTooLong, true, &reason));
    EXPECT_EQ(reason, "the program data holds a damaged program name");

    std::vector<uint8_t> notFirst = good;
    notFirst[4] = 'q';
    EXPECT_FALSE(Check(notFirst, true, &reason));
    EXPECT_EQ(reason, "the program data does not start with a program");

    // The bank's last section is "prog" with the current index.
    std::vector<uint8_t> badIndex = Chunk(false);
    StoreU32LE(&badIndex[badIndex.size() - 4], 64);
    EXPECT_FALSE(Check(badIndex, false, &reason));
    EXPECT_EQ(reason, "the program data selects a program that does not exist");
}

}  // namespace
