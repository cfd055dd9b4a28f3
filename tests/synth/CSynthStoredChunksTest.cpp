// Chunks saved by an earlier build and kept as files: every later build must
// load them to the same fields and save them back to the same bytes.
#include "PatchTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace PatchTest;

namespace
{

Bytes ReadData(const char* name)
{
    std::ifstream in(std::string(VELMORA_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// The stored bank is the factory bank as saved before the Noise Bell (29) was
// revised: every other program loads to the factory's fields.
TEST(CSynthStoredChunks, BankChunkLoadsToTheFactoryProgramsAndSavesBackUnchanged)
{
    constexpr int kRevisedSinceStored = 29;
    const Bytes stored = ReadData("bank.chunk");
    ASSERT_EQ(stored.size(), 74532u);
    const auto factory = std::make_unique<CSynth>();
    auto synth = std::make_unique<CSynth>();
    synth->ClearAllPrograms();
    synth->SetProgram(30);
    LoadChunk(*synth, stored, false);
    EXPECT_EQ(synth->GetProgram(), 0);
    for (int i = 0; i < CSynth::kProgramCount; ++i)
    {
        if (i != kRevisedSinceStored)
        {
            EXPECT_EQ(DifferentFields(synth->programs[i], factory->programs[i]), std::vector<std::string>()) << i;
        }
    }
    EXPECT_STREQ(synth->programs[kRevisedSinceStored].name, factory->programs[kRevisedSinceStored].name);
    EXPECT_EQ(SaveChunk(*synth, false), stored);
}

TEST(CSynthStoredChunks, ProgramChunkLoadsAndSavesBackUnchanged)
{
    const Bytes stored = ReadData("program.chunk");
    ASSERT_EQ(stored.size(), 1155u + 8);
    auto synth = std::make_unique<CSynth>();
    synth->SetProgram(41);
    const SynthProgram before40 = synth->programs[40];
    LoadChunk(*synth, stored, true);

    // It holds the factory's "FM Lazer".
    const auto factory = std::make_unique<CSynth>();
    EXPECT_EQ(DifferentFields(synth->programs[41], factory->programs[20]), std::vector<std::string>());
    EXPECT_TRUE(DifferentFields(synth->programs[40], before40).empty());
    EXPECT_EQ(SaveChunk(*synth, true), stored);
}
