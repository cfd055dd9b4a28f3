// The test host against a VST 2.4 instrument that nobody here wrote (Debian's
// amsynth package), and its handling of libraries that are no plug-in.
#include "host/CVstHost.h"
#include "host/VstAbi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include <dlfcn.h>

// The foreign instrument leaks memory of its own. It stays mapped for the
// whole run, so that the leak checker can name it, and its leaks are not
// reported as ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:amsynth_vst.so\n";
}

namespace
{
constexpr int32_t kBlock = 256;
constexpr const char* kForeignPlugin = "/usr/lib/vst/amsynth_vst.so";
void* const keptMapped = dlopen(kForeignPlugin, RTLD_NOW | RTLD_LOCAL);

TEST(CVstHost, MissingFileIsReported)
{
    CVstHost host;
    EXPECT_FALSE(host.Load("/nonexistent/plugin.so"));
    EXPECT_NE(host.Error().find("/nonexistent/plugin.so"), std::string::npos) << host.Error();
    EXPECT_FALSE(host.IsLoaded());
    EXPECT_EQ(host.NumOutputs(), 0);
    float* outputs[2] = {nullptr, nullptr};
    EXPECT_FALSE(host.Process(outputs, 0));
}

TEST(CVstHost, LibraryWithoutEntryIsRefused)
{
    CVstHost host;
    EXPECT_FALSE(host.Load("libm.so.6"));
    EXPECT_NE(host.Error().find("neither VSTPluginMain nor main"), std::string::npos) << host.Error();
}

TEST(CVstHost, BlocksLargerThanAnnouncedAreRefused)
{
    CVstHost host;
    ASSERT_TRUE(host.Load(VELMORA_PLUGIN)) << host.Error();
    host.SetBlockSize(64);
    std::vector<float> left(128, 5.0f);
    std::vector<float> right(128, 5.0f);
    float* outputs[2] = {left.data(), right.data()};
    EXPECT_FALSE(host.Process(outputs, 65));
    EXPECT_EQ(left[0], 5.0f);
    EXPECT_EQ(host.TimeQueries(), 0);
    EXPECT_TRUE(host.Process(outputs, 64));
    EXPECT_EQ(left[0], 0.0f);
}

TEST(CVstHost, EventQueueHoldsABlockOfEvents)
{
    CVstHost host;
    for (int32_t i = 0; i < CVstHost::kMaxEventsPerBlock; ++i)
        ASSERT_TRUE(host.QueueMidi(i % kBlock, 0x90, 60, 1)) << i;
    EXPECT_FALSE(host.QueueMidi(0, 0x90, 60, 1));
}

// Renders blocks of a held chord; returns peak and whether all was finite.
void RenderChord(CVstHost& host, int32_t blocks, double& peak, bool& finite)
{
    std::vector<float> left(kBlock);
    std::vector<float> right(kBlock);
    float* outputs[2] = {left.data(), right.data()};
    peak = 0.0;
    finite = true;
    for (uint8_t key : {60, 64, 67})
        host.QueueMidi(100, 0x90, key, 110);
    for (int32_t block = 0; block < blocks; ++block)
    {
        ASSERT_TRUE(host.Process(outputs, kBlock));
        for (int32_t i = 0; i < kBlock; ++i)
        {
            finite = finite && std::isfinite(left[i]) && std::isfinite(right[i]);
            peak = std::fmax(peak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
        }
    }
}

TEST(CVstHost, ForeignInstrumentLoadsAndPlays)
{
    ASSERT_NE(keptMapped, nullptr);
    CVstHost host;
    ASSERT_TRUE(host.Load(kForeignPlugin)) << host.Error();
    EXPECT_EQ(host.Effect()->magic, kEffectMagic);
    EXPECT_EQ(host.NumOutputs(), 2);
    EXPECT_NE(host.Flags() & effFlagsIsSynth, 0);
    EXPECT_NE(host.Flags() & effFlagsCanReplacing, 0);
    EXPECT_GT(host.NumPrograms(), 0);
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(kBlock);
    host.Resume();

    double silentPeak = 1.0;
    bool finite = false;
    std::vector<float> left(kBlock, 9.0f);
    std::vector<float> right(kBlock, 9.0f);
    float* outputs[2] = {left.data(), right.data()};
    ASSERT_TRUE(host.Process(outputs, kBlock));
    silentPeak = 0.0;
    for (int32_t i = 0; i < kBlock; ++i)
        silentPeak = std::fmax(silentPeak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
    EXPECT_LT(silentPeak, 1e-6) << "no note yet";

    double peak = 0.0;
    RenderChord(host, 80, peak, finite);
    EXPECT_TRUE(finite);
    EXPECT_GT(peak, 0.01);
    EXPECT_LT(peak, 4.0);
}

// The lines of the foreign instrument's text chunk that hold a setting.
std::vector<std::string> ParameterLines(const std::vector<uint8_t>& chunk)
{
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t byte : chunk)
    {
        if (byte != '\n')
        {
            line += static_cast<char>(byte);
            continue;
        }
        if (line.rfind("<parameter>", 0) == 0)
            lines.push_back(line);
        line.clear();
    }
    return lines;
}

TEST(CVstHost, ForeignInstrumentChunkRoundTrip)
{
    CVstHost host;
    ASSERT_TRUE(host.Load(kForeignPlugin)) << host.Error();
    ASSERT_NE(host.Flags() & effFlagsProgramChunks, 0);
    const std::vector<uint8_t> chunk = host.GetChunk(true);
    ASSERT_FALSE(chunk.empty());
    CVstHost other;
    ASSERT_TRUE(other.Load(kForeignPlugin)) << other.Error();
    other.SetChunk(chunk, true);
    // It writes its program name back differently; the settings must match.
    const std::vector<std::string> settings = ParameterLines(chunk);
    EXPECT_GT(settings.size(), 20u);
    EXPECT_EQ(ParameterLines(other.GetChunk(true)), settings);
}
}

namespace
{
// What the probe plug-in wrote into one block.
struct ProbeBlock
{
    std::vector<float> left = std::vector<float>(64);
    std::vector<float> right = std::vector<float>(64);
    bool Process(CVstHost& host)
    {
        float* outputs[2] = {left.data(), right.data()};
        return host.Process(outputs, 64);
    }
};

TEST(CVstHost, TimeInfoCarriesTempoPositionAndTransport)
{
    CVstHost host;
    host.SetSampleRate(48000.0f);
    host.SetBlockSize(64);
    ASSERT_TRUE(host.Load(PROBE_PLUGIN)) << host.Error();
    host.SetTempo(90.0);
    host.SetPlaying(true);
    ProbeBlock first;
    ASSERT_TRUE(first.Process(host));
    EXPECT_EQ(first.left[0], 90.0f);
    EXPECT_EQ(first.left[1], 0.0f);
    EXPECT_EQ(first.left[2], 0.0f);
    EXPECT_EQ(static_cast<int32_t>(first.left[3]),
              kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid | kVstTransportPlaying | kVstTransportChanged);
    EXPECT_EQ(first.left[4], 2400.0f);
    EXPECT_EQ(first.right[63], 48000.0f);

    ProbeBlock second;
    ASSERT_TRUE(second.Process(host));
    EXPECT_EQ(second.left[2], 64.0f);
    EXPECT_FLOAT_EQ(second.left[1], 64.0f / 48000.0f * 90.0f / 60.0f);
    EXPECT_EQ(static_cast<int32_t>(second.left[3]), kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid |
                                                        kVstTransportPlaying);
    host.SetPlaying(true);
    ASSERT_TRUE(second.Process(host));
    EXPECT_EQ(static_cast<int32_t>(second.left[3]) & kVstTransportChanged, 0);
    host.SetPlaying(false);
    ASSERT_TRUE(second.Process(host));
    EXPECT_EQ(static_cast<int32_t>(second.left[3]), kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid |
                                                        kVstTransportChanged);
    EXPECT_EQ(host.TimeQueries(), 4);
}

TEST(CVstHost, QueuedEventsReachThePluginOnceInOrder)
{
    CVstHost host;
    host.SetBlockSize(64);
    ASSERT_TRUE(host.Load(PROBE_PLUGIN)) << host.Error();
    ASSERT_TRUE(host.QueueMidi(5, 0x90, 60, 100));
    ASSERT_TRUE(host.QueueMidi(40, 0x80, 60, 0));
    ASSERT_TRUE(host.QueueMidi(-3, 0xB0, 1, 127));
    ProbeBlock block;
    ASSERT_TRUE(block.Process(host));
    EXPECT_EQ(block.left[5], 3.0f);
    EXPECT_EQ(block.left[6], 5.0f);
    EXPECT_EQ(block.left[7], 40.0f);
    EXPECT_EQ(block.left[8], -3.0f);
    EXPECT_EQ(block.left[9], static_cast<float>(0x643C90));
    EXPECT_EQ(block.left[10], static_cast<float>(0x003C80));
    EXPECT_EQ(block.left[11], static_cast<float>(0x7F01B0));
    ASSERT_TRUE(block.Process(host));
    EXPECT_EQ(block.left[5], 0.0f);
}
}
