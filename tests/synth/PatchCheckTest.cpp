#include "synth/PatchCheck.h"

#include "PatchTestSupport.h"
#include "io/ByteOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

namespace
{

std::vector<uint8_t> Chunk(bool isPreset)
{
    CSynth synth;
    return PatchTest::SaveChunk(synth, isPreset);
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

// Each damage with the reason the user is shown.
TEST(PatchCheck, DamagedStructureIsRefused)
{
    const std::vector<uint8_t> good = Chunk(true);
    const auto damaged = [](std::vector<uint8_t> bytes, size_t at, uint32_t word)
    {
        StoreU32LE(&bytes[at], word);
        return bytes;
    };
    // The reader follows "env" by its count, not its size field: a count far
    // beyond the data.
    const uint8_t envTag[] = {3, 0, 0, 0, 'e', 'n', 'v'};
    const size_t env =
        static_cast<size_t>(std::search(good.begin(), good.end(), std::begin(envTag), std::end(envTag)) - good.begin());
    ASSERT_LT(env, good.size());
    std::vector<uint8_t> notFirst = good;
    notFirst[4] = 'q';
    // The bank's last section is "prog" with the current index.
    const std::vector<uint8_t> bank = Chunk(false);
    const struct
    {
        std::vector<uint8_t> bytes;
        bool isPreset;
        const char* reason;
    } cases[] = {
        {{}, true, "the file holds no program"},
        {std::vector<uint8_t>(good.begin(), good.end() - 1), true, "the program data ends inside a section"},
        {damaged(good, env + 11, 1000000), true, "the program data ends inside a section"},
        {damaged(good, 0, 10), true, "the program data holds a damaged section"},
        {damaged(good, 10, 100000), true, "the program data holds a damaged program name"},
        {notFirst, true, "the program data does not start with a program"},
        {damaged(bank, bank.size() - 4, 64), false, "the program data selects a program that does not exist"},
    };
    for (const auto& c : cases)
    {
        std::string reason;
        EXPECT_FALSE(Check(c.bytes, c.isPreset, &reason)) << c.reason;
        EXPECT_EQ(reason, c.reason);
    }
}

}  // namespace
