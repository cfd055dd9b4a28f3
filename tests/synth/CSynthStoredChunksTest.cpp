// Chunks saved by an earlier build and kept as files: every later build must
// load them to the same fields and save them back to the same bytes.
#include "PatchTestSupport.h"

#include "io/CMemoryStream.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

using namespace PatchTest;

namespace {

Bytes ReadData(const char* name)
{
    std::ifstream in(std::string(VELMORA_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes Save(CSynth& synth, bool isPreset)
{
    CMemoryStream stream;
    synth.SaveState(&stream, isPreset);
    return StreamBytes(stream);
}

void Load(CSynth& synth, const Bytes& bytes, bool isPreset)
{
    CMemoryStream stream;
    Fill(stream, bytes);
    synth.LoadState(&stream, isPreset);
}

}  // namespace

TEST(CSynthStoredChunks, BankChunkLoadsAndSavesBackUnchanged)
{
    const Bytes stored = ReadData("bank.chunk");
    ASSERT_EQ(stored.size(), 74532u);
    auto synth = std::make_unique<CSynth>();
    synth->ClearAllPrograms();
    synth->SetProgram(30);
    Load(*synth, stored, false);

    EXPECT_EQ(synth->GetProgram(), 0);
    EXPECT_STREQ(synth->programs[0].name, "2 OSC Bass");
    EXPECT_STREQ(synth->programs[18].name, "Fast Chorus Keys");
    EXPECT_STREQ(synth->programs[63].name, "XMOD");
    const SynthProgram& bass = synth->programs[0];
    EXPECT_EQ(bass.coarse, 12);
    EXPECT_EQ(bass.mono, 1);
    EXPECT_EQ(bass.coarse2, -24);
    EXPECT_EQ(bass.q, 0.4f);
    EXPECT_EQ(bass.env[1].decay, 0.18f);
    EXPECT_EQ(bass.rndPhase, 0.5f);
    const SynthProgram& lead = synth->programs[34];
    EXPECT_EQ(lead.legato, 1);
    EXPECT_EQ(lead.env[2].decay, 0.56f);
    EXPECT_EQ(lead.mwLfo1Depth, 1.0f);
    for (const SynthProgram& p : synth->programs)
    {
        EXPECT_EQ(p.ratio1, 1.0f) << p.name;
        EXPECT_EQ(p.filterEnv, 1.0f) << p.name;
    }
    EXPECT_EQ(Save(*synth, false), stored);
}

TEST(CSynthStoredChunks, ProgramChunkLoadsAndSavesBackUnchanged)
{
    const Bytes stored = ReadData("program.chunk");
    ASSERT_EQ(stored.size(), 1155u + 8);
    auto synth = std::make_unique<CSynth>();
    synth->SetProgram(41);
    const SynthProgram before40 = synth->programs[40];
    Load(*synth, stored, true);

    // It holds the factory's "FM Lazer".
    const auto factory = std::make_unique<CSynth>();
    EXPECT_EQ(DifferentFields(synth->programs[41], factory->programs[20]), std::vector<std::string>());
    EXPECT_TRUE(DifferentFields(synth->programs[40], before40).empty());
    EXPECT_EQ(Save(*synth, true), stored);
}
