// The test host against a VST 2.4 instrument that nobody here wrote (Debian's
// amsynth package).
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
}
