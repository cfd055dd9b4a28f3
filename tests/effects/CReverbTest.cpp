#include "effects/CReverb.h"

#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace
{

// Runs n samples of silence in blocks of 512 and returns the left output.
std::vector<float> Tail(CReverb& reverb, int32_t n)
{
    const std::vector<float> silence(512, 0.0f);
    std::vector<float> out;
    for (int32_t done = 0; done < n; done += 512)
    {
        const Stereo block = Apply(reverb, silence, silence);
        out.insert(out.end(), block.left.begin(), block.left.end());
    }
    return out;
}

}  // namespace

TEST(CReverb, AnImpulseStartsItInTheSameBlockAndTheNetworkAnswersAfterThePreDelay)
{
    CReverb2 reverb;  // wet 1, dry 0 as built
    const Stereo out = Apply(reverb, Impulse(4000), Impulse(4000));
    EXPECT_TRUE(reverb.IsRunning());
    EXPECT_EQ(out.left[0], 0.167f);  // the undelayed mono input x wet x 0.167
    EXPECT_EQ(out.right[0], 0.167f);
    // 882 samples of pre-delay, then the shortest line (601 - 6 samples).
    for (int i = 1; i < 882 + 595 - 1; ++i)
        ASSERT_EQ(out.left[i], 0.0f) << "sample " << i;
    EXPECT_GT(Energy(out.left, 1477, 2000), 1e-4);
    EXPECT_GT(Energy(out.right, 1477, 2000), 1e-4);
    EXPECT_NE(out.left, out.right);
}

// A host may call with any block length; the passes then differ, and blocks
// of 4 or 12 samples take the plain mix where the wide one runs for longer
// ones. The samples may not differ by a bit, across several trips round
// every ring.
TEST(CReverb, BlocksOfAnyLengthGiveTheSameSamples)
{
    const int32_t total = 8192;
    const std::vector<float> left = Noise(total, 0.5f, 11);
    const std::vector<float> right = Noise(total, 0.5f, 12);
    CReverb2 whole;
    const Stereo expected = Apply(whole, left, right);
    for (const int32_t length : {1, 4, 12, 100, 333})
    {
        CReverb2 reverb;
        Stereo out{left, right};
        for (int32_t at = 0; at < total; at += length)
        {
            const int32_t n = std::min(length, total - at);
            reverb.Process(&out.left[at], &out.right[at], &out.left[at], &out.right[at], n);
        }
        EXPECT_EQ(0, std::memcmp(out.left.data(), expected.left.data(), sizeof(float) * total)) << length;
        EXPECT_EQ(0, std::memcmp(out.right.data(), expected.right.data(), sizeof(float) * total)) << length;
    }
}

TEST(CReverb, TailFallsSixtyDecibelsPerReverbTime)
{
    for (int32_t time : {3000})
    {
        CReverb2 reverb;
        reverb.SetTime(time);
        Apply(reverb, Impulse(512), Impulse(512));
        const std::vector<float> tail = Tail(reverb, 44100 * 3);
        // Energy of 0.25 s windows, 1 s apart after the onset.
        const double early = Energy(tail, 22050, 11025);
        const double late = Energy(tail, 22050 + 44100, 11025);
        const double fallDb = 10.0 * std::log10(early / late);
        const double expectedDb = 60.0 * 1000.0 / time;
        EXPECT_NEAR(fallDb, expectedDb, expectedDb * 0.25) << "time " << time;
    }
}

TEST(CReverb, TailDecaysToExactZeroAndTwoSecondsOfSilenceMakeItIdle)
{
    CReverb2 reverb;
    reverb.SetTime(1000);
    Apply(reverb, Impulse(512), Impulse(512));
    Tail(reverb, 44100);
    EXPECT_TRUE(reverb.IsRunning());
    // From four seconds after the impulse on: exact zeros.
    const std::vector<float> tail = Tail(reverb, 44100 * 4);
    for (size_t i = 44100 * 3; i < tail.size(); ++i)
        ASSERT_EQ(tail[i], 0.0f) << "sample " << i;
    Tail(reverb, 44100 * 4);
    EXPECT_FALSE(reverb.IsRunning());
    // Idle again: untouched output even though dry is 0.
    const std::vector<float> faint(64, 1e-7f);
    EXPECT_EQ(Apply(reverb, faint, faint).left, faint);
}
