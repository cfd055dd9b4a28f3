// The test host against a VST 2.4 instrument that nobody here wrote (Debian's
// amsynth package), and against a probe that reports the host's time info.
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

TEST(CVstHost, EventQueueHoldsABlockOfEvents)
{
    CVstHost host;
    for (int32_t i = 0; i < CVstHost::kMaxEventsPerBlock; ++i)
        ASSERT_TRUE(host.QueueMidi(i % kBlock, 0x90, 60, 1)) << i;
    EXPECT_FALSE(host.QueueMidi(0, 0x90, 60, 1));
}

// Silent before the chord, then sounding, finite and within range.
TEST(CVstHost, ForeignInstrumentLoadsAndPlays)
{
    ASSERT_NE(keptMapped, nullptr);
    CVstHost host;
    ASSERT_TRUE(host.Load(kForeignPlugin)) << host.Error();
    EXPECT_EQ(host.NumOutputs(), 2);
    EXPECT_EQ(host.Flags() & (effFlagsIsSynth | effFlagsCanReplacing), effFlagsIsSynth | effFlagsCanReplacing);
    host.SetSampleRate(44100.0f);
    host.SetBlockSize(kBlock);
    host.Resume();
    std::vector<float> left(kBlock, 9.0f);
    std::vector<float> right(kBlock, 9.0f);
    float* outputs[2] = {left.data(), right.data()};
    double peaks[2] = {};
    for (int32_t block = 0; block < 81; ++block)
    {
        if (block == 1)
        {
            for (uint8_t key : {60, 64, 67})
                host.QueueMidi(100, 0x90, key, 110);
        }
        ASSERT_TRUE(host.Process(outputs, kBlock));
        double& peak = peaks[block == 0 ? 0 : 1];
        for (int32_t i = 0; i < kBlock; ++i)
        {
            ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << block;
            peak = std::fmax(peak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
        }
    }
    EXPECT_LT(peaks[0], 1e-6);
    EXPECT_GT(peaks[1], 0.01);
    EXPECT_LT(peaks[1], 4.0);
}

// The probe writes the time info it was given into its left output.
TEST(CVstHost, TimeInfoCarriesTempoPositionAndTransport)
{
    CVstHost host;
    host.SetSampleRate(48000.0f);
    host.SetBlockSize(64);
    ASSERT_TRUE(host.Load(PROBE_PLUGIN)) << host.Error();
    host.SetTempo(90.0);
    host.SetPlaying(true);
    std::vector<float> left(64);
    std::vector<float> right(64);
    float* outputs[2] = {left.data(), right.data()};
    constexpr int32_t kAlways = kVstTempoValid | kVstPpqPosValid | kVstTimeSigValid;
    ASSERT_TRUE(host.Process(outputs, 64));
    EXPECT_EQ(std::vector<float>(left.begin(), left.begin() + 5),
              (std::vector<float>{90.0f, 0.0f, 0.0f, kAlways | kVstTransportPlaying | kVstTransportChanged, 0.0f}));
    EXPECT_EQ(right[63], 48000.0f);

    ASSERT_TRUE(host.Process(outputs, 64));
    EXPECT_EQ(left[2], 64.0f);
    EXPECT_FLOAT_EQ(left[1], 64.0f / 48000.0f * 90.0f / 60.0f);
    EXPECT_EQ(left[3], kAlways | kVstTransportPlaying);
    host.SetPlaying(true);
    ASSERT_TRUE(host.Process(outputs, 64));
    EXPECT_EQ(left[3], kAlways | kVstTransportPlaying);
    host.SetPlaying(false);
    ASSERT_TRUE(host.Process(outputs, 64));
    EXPECT_EQ(left[3], kAlways | kVstTransportChanged);
    EXPECT_EQ(host.TimeQueries(), 4);
}
}
