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

// A started instance of the plug-in on a program, rendering block by block.
struct Player
{
    explicit Player(int32_t program)
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
    // Renders one block; true when it is exact silence.
    bool Block()
    {
        float* outputs[2] = {left.data(), right.data()};
        EXPECT_TRUE(host.Process(outputs, kBlock));
        for (int32_t i = 0; i < kBlock; ++i)
        {
            if (left[i] != 0.0f || right[i] != 0.0f)
                return false;
        }
        return true;
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
    Player player(0);
    CVstHost& host = player.host;
    EXPECT_EQ(host.Flags(), 0x131);
    EXPECT_EQ(host.Effect()->uniqueID, 0x766C6D31);  // "vlm1", which hosts save projects under
    EXPECT_EQ(host.NumOutputs(), 2);
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    host.Effect()->setParameter(host.Effect(), cutoff, 0.3f);
    EXPECT_EQ(host.Effect()->getParameter(host.Effect(), cutoff), 0.3f);
    char text[64] = {};
    EXPECT_EQ(host.Dispatch(effString2Parameter, cutoff, 0, const_cast<char*>("75"), 0.0f), 1);
    host.Dispatch(effGetParamDisplay, cutoff, 0, text, 0.0f);
    EXPECT_STREQ(text, "75");
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

}
