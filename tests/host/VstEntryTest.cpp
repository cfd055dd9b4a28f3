// The built plug-in library, loaded through the test host and driven through
// its exported entry like any host would.
#include "host/CVstHost.h"
#include "host/VstAbi.h"
#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr int32_t kBlock = 256;
// Factory programs: "Fast Chorus Keys", whose tails end within kTailSeconds,
// and "E Piano" with its reverb.
constexpr int32_t kShortTails = 18;
constexpr int32_t kReverbProgram = 14;
constexpr double kTailSeconds = 3.0;

// A started instance of the plug-in on a program, rendering block by block.
struct Player
{
    explicit Player(int32_t program = kShortTails)
    {
        EXPECT_TRUE(host.Load(VELMORA_PLUGIN)) << host.Error();
        host.SetSampleRate(44100.0f);
        host.SetBlockSize(kBlock);
        host.Resume();
        host.SetProgram(program);
    }

    void Midi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2)
    {
        EXPECT_TRUE(host.QueueMidi(offset, status, data1, data2));
    }
    void Chord(int32_t offset, uint8_t status = 0x90)
    {
        for (uint8_t key : {48, 55, 60, 64})
            Midi(offset, status, key, status == 0x90 ? 100 : 0);
    }
    // Renders one block; true when it is exact silence.
    bool Block()
    {
        float* outputs[2] = {left.data(), right.data()};
        EXPECT_TRUE(host.Process(outputs, kBlock));
        return FirstSound() == kBlock;
    }
    // Renders seconds of audio; true when its last block is exact silence.
    bool Seconds(double seconds)
    {
        bool silent = false;
        for (int32_t b = 0; b < static_cast<int32_t>(seconds * 44100.0 / kBlock); ++b)
            silent = Block();
        return silent;
    }
    // The first sample of the last block where either channel is not
    // exactly zero; the block size when there is none.
    int32_t FirstSound(int32_t from = 0) const
    {
        for (int32_t i = from; i < kBlock; ++i)
        {
            if (left[i] != 0.0f || right[i] != 0.0f)
                return i;
        }
        return kBlock;
    }

    CVstHost host;
    std::vector<float> left = std::vector<float>(kBlock);
    std::vector<float> right = std::vector<float>(kBlock);
};

TEST(VstEntry, BothEntryNamesAreExportedAndRefuseAMissingCallback)
{
    void* library = dlopen(VELMORA_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<VstPluginMainProc>(dlsym(library, "VSTPluginMain"));
    auto legacy = reinterpret_cast<VstPluginMainProc>(dlsym(library, "main"));
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(legacy, nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
    EXPECT_EQ(legacy(nullptr), nullptr);
    EXPECT_EQ(dlsym(library, "CreateEditor"), nullptr);  // the core stays hidden
    dlclose(library);
}

// The record's flags with the editor, and a parameter set, shown and typed.
TEST(VstEntry, RecordAndParameterOfTheInstrument)
{
    Player player;
    CVstHost& host = player.host;
    EXPECT_EQ(host.Flags(), 0x131);
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    host.Effect()->setParameter(host.Effect(), cutoff, 0.3f);
    EXPECT_EQ(host.Effect()->getParameter(host.Effect(), cutoff), 0.3f);
    char text[64] = {};
    EXPECT_EQ(host.Dispatch(effString2Parameter, cutoff, 0, const_cast<char*>("75"), 0.0f), 1);
    host.Dispatch(effGetParamDisplay, cutoff, 0, text, 0.0f);
    EXPECT_STREQ(text, "75");
}

// Hosts that undo or compare hand back the very buffer they were given.
TEST(VstEntry, ChunkSetFromItsOwnBufferLoads)
{
    for (int32_t preset : {0, 1})
    {
        Player player(3);
        player.host.SetProgramName("Before the change");
        void* data = nullptr;
        const intptr_t size = player.host.Dispatch(effGetChunk, preset, 0, &data, 0.0f);
        ASSERT_GT(size, 0);
        player.host.SetProgramName("After the change");
        player.host.Dispatch(effSetChunk, preset, size, data, 0.0f);
        EXPECT_EQ(player.host.GetProgramName(), "Before the change") << preset;
        EXPECT_EQ(player.host.GetProgram(), 3) << preset;
    }
}

TEST(VstEntry, TwoInstancesRenderIndependently)
{
    using Blocks = std::pair<std::vector<float>, std::vector<float>>;
    std::vector<Blocks> alone;
    {
        Player player(0);
        player.Midi(10, 0x90, 60, 100);
        for (int32_t block = 0; block < 40; ++block)
        {
            player.Block();
            alone.emplace_back(player.left, player.right);
        }
    }
    Player mine(0);
    Player other(0);
    mine.Midi(10, 0x90, 60, 100);
    other.Midi(20, 0x90, 72, 120);
    bool otherSounded = false;
    for (int32_t block = 0; block < 40; ++block)
    {
        mine.Block();
        otherSounded = !other.Block() || otherSounded;
        ASSERT_EQ(Blocks(mine.left, mine.right), alone[static_cast<size_t>(block)]) << block;
    }
    EXPECT_TRUE(otherSounded);
}

// Each of them ends a chord that would ring on, held by its keys or by the
// pedal; release tails go on after it.
TEST(VstEntry, AllNotesOffPedalUpAndResetControllersReleaseHeldNotes)
{
    const struct
    {
        uint8_t controller;
        bool pedal;
    } cases[] = {{123, false}, {64, true}, {121, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.controller));
        Player player;
        if (c.pedal)
            player.Midi(0, 0xB0, 64, 127);
        player.Chord(10);
        if (c.pedal)
            player.Chord(200, 0x80);
        EXPECT_FALSE(player.Seconds(1.0 + kTailSeconds));
        player.Midi(17, 0xB3, c.controller, 0);  // any channel
        EXPECT_FALSE(player.Block());
        EXPECT_TRUE(player.Seconds(kTailSeconds));
    }
}

// All sound off silences from its sample on, and so does a restart of
// audio, reverb tails included.
TEST(VstEntry, AllSoundOffAndResumeClearEveryTail)
{
    for (bool resume : {false, true})
    {
        SCOPED_TRACE(resume);
        Player player(kReverbProgram);
        player.Chord(0);
        player.Seconds(0.5);
        player.Chord(0, 0x80);
        EXPECT_FALSE(player.Seconds(0.3));
        if (resume)
        {
            player.host.Suspend();
            player.host.Resume();
        }
        else
            player.Midi(100, 0xB0, 120, 0);
        EXPECT_EQ(player.Block(), resume);
        EXPECT_EQ(player.FirstSound(100), kBlock);
        EXPECT_TRUE(player.Block());
        EXPECT_TRUE(player.Seconds(1.0));
    }
}

TEST(VstEntry, ProgramChangeMessageSelectsTheProgram)
{
    Player player;
    player.Midi(5, 0xC2, 17, 0);
    player.Block();
    EXPECT_EQ(player.host.GetProgram(), 17);
    player.Midi(5, 0xC0, 64, 0);  // no such program
    player.Midi(6, 0xC0, 127, 0);
    player.Block();
    EXPECT_EQ(player.host.GetProgram(), 17);
}
}
