#include "effects/ChorusFx.h"

#include "engine/EngineTables.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

// 1000 Hz makes delays in milliseconds whole samples.
ChorusFx FixedChorus(int32_t delayMs, float feedback)
{
    ChorusFx chorus(EngineTables::Get().sine);
    chorus.SetSampleRate(1000.0f);
    chorus.SetLevel(1.0f);
    chorus.SetDelay(delayMs);
    chorus.SetDepth(0.0f);
    chorus.SetFeedback(feedback);
    return chorus;
}

// Feeds a ramp so that the wet part reveals where the chorus read: with dry
// and wet both 0.5 the read position is 2 out - in. Returns the excursion of
// the read position from its centre (write - D - 1) per sample, left and right.
Stereo Excursions(int32_t phaseOffset)
{
    ChorusFx chorus = FixedChorus(10, 0.0f);
    chorus.SetDepth(0.5f);    // swing 5 samples
    chorus.SetRate(1000.0f);  // 1 Hz: 1000 samples per cycle
    chorus.SetPhaseOffset(phaseOffset);
    std::vector<float> ramp(1100);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<float>(i) + 100.0f;
    const Stereo out = Apply(chorus, ramp, ramp);
    Stereo excursion;
    for (size_t i = 50; i < ramp.size(); ++i)
    {
        const float centre = ramp[i] - 11.0f;
        excursion.left.push_back(2.0f * out.left[i] - ramp[i] - centre);
        excursion.right.push_back(2.0f * out.right[i] - ramp[i] - centre);
    }
    return excursion;
}

}  // namespace

TEST(ChorusFx, DepthZeroIsAFixedDelayOfDPlusOneMixedWithTheDry)
{
    ChorusFx chorus = FixedChorus(5, 0.0f);  // D = 5 samples
    const Stereo out = Apply(chorus, Impulse(20), Impulse(20, 0.5f));
    for (int i = 0; i < 20; ++i)
    {
        const float expected = (i == 0 || i == 6) ? 0.5f : 0.0f;
        EXPECT_EQ(out.left[i], expected) << "sample " << i;
        EXPECT_EQ(out.right[i], expected * 0.5f) << "sample " << i;
    }
}

// At 500 Hz a 1 ms delay is half a sample: the wet part is the midpoint of
// the two inputs before, also where those straddle the end of the line and
// its start (at 65537 samples).
TEST(ChorusFx, InterpolatesAcrossTheEndOfTheLineAsAnywhereElse)
{
    ChorusFx chorus = FixedChorus(1, 0.0f);
    chorus.SetSampleRate(500.0f);
    const int32_t n = ChorusFx::kBufferSize + 100;
    std::vector<float> up(static_cast<size_t>(n));
    std::vector<float> down(static_cast<size_t>(n));
    for (int32_t s = 0; s < n; ++s)
    {
        up[s] = static_cast<float>(s);
        down[s] = -2.0f * static_cast<float>(s);
    }
    const Stereo out = Apply(chorus, up, down);
    for (int32_t s = 2; s < n; ++s)
    {
        ASSERT_EQ(out.left[s], static_cast<float>(s) - 0.75f) << "sample " << s;
        ASSERT_EQ(out.right[s], -2.0f * static_cast<float>(s) + 1.5f) << "sample " << s;
    }
}

TEST(ChorusFx, FeedbackRepeatsTheEchoScaledEachTime)
{
    ChorusFx chorus = FixedChorus(5, 0.5f);
    const Stereo out = Apply(chorus, Impulse(30), Impulse(30));
    EXPECT_EQ(out.left[6], 0.5f);
    EXPECT_EQ(out.left[12], 0.25f);
    EXPECT_EQ(out.left[7], 0.0f);
    ChorusFx negative = FixedChorus(5, -0.5f);  // alternates the sign
    EXPECT_EQ(Apply(negative, Impulse(30), Impulse(30)).left[12], -0.25f);
}

// Without an offset both channels sweep alike; at 180 degrees (or 540) the
// right one mirrors the left.
TEST(ChorusFx, LfoSweepsTheDelayByDepthTimesDelayWithTheRightChannelLeading)
{
    const Stereo alike = Excursions(0);
    const Stereo mirrored = Excursions(180);
    for (size_t i = 0; i < alike.left.size(); ++i)
    {
        ASSERT_NEAR(alike.left[i], alike.right[i], 1e-3) << "sample " << i;
        ASSERT_NEAR(mirrored.left[i], -mirrored.right[i], 2e-3) << "sample " << i;
    }
    EXPECT_NEAR(*std::max_element(alike.left.begin(), alike.left.end()), 5.0f, 0.01f);
    EXPECT_NEAR(*std::min_element(alike.left.begin(), alike.left.end()), -5.0f, 0.01f);
    EXPECT_EQ(Excursions(540).right, mirrored.right);
}

TEST(ChorusFx, SkippedSilenceLeavesOutputAndStateAsARun)
{
    ChorusFx skipping = FixedChorus(20, 0.5f);
    skipping.SetDepth(0.7f);
    ChorusFx running = skipping;
    const auto process = [](ChorusFx& chorus, float* l, float* r) { chorus.Process(l, r, l, r, 256); };
    const auto quiet = [](const ChorusFx& chorus) { return chorus.IsQuiet(); };
    ExpectSkippedSilenceToMatchARun(skipping, running, process, quiet, Noise(2560, 0.5f, 3), 300);
    EXPECT_EQ(skipping.LfoPhase(), running.LfoPhase());
}
