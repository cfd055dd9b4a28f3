#include "effects/ChorusFx.h"

#include "engine/EngineTables.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

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

}  // namespace

TEST(ChorusFx, LevelZeroPassesTheInputExactlyWhileTheLfoRuns)
{
    ChorusFx chorus(EngineTables::Get().sine);
    chorus.SetLevel(0.0f);
    chorus.SetDepth(1.0f);
    chorus.SetFeedback(0.9f);
    const std::vector<float> left = Noise(4096, 0.8f, 1);
    const std::vector<float> right = Noise(4096, 0.8f, 2);
    const Stereo out = Apply(chorus, left, right);
    EXPECT_EQ(out.left, left);
    EXPECT_EQ(out.right, right);
    EXPECT_GT(chorus.LfoPhase(), 0.0);
}

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

TEST(ChorusFx, FeedbackRepeatsTheEchoScaledEachTime)
{
    ChorusFx chorus = FixedChorus(5, 0.5f);
    const Stereo out = Apply(chorus, Impulse(30), Impulse(30));
    EXPECT_EQ(out.left[6], 0.5f);
    EXPECT_EQ(out.left[12], 0.25f);
    EXPECT_EQ(out.left[18], 0.125f);
    EXPECT_EQ(out.left[7], 0.0f);
}

TEST(ChorusFx, NegativeFeedbackAlternatesTheSign)
{
    ChorusFx chorus = FixedChorus(5, -0.5f);
    const Stereo out = Apply(chorus, Impulse(30), Impulse(30));
    EXPECT_EQ(out.left[6], 0.5f);
    EXPECT_EQ(out.left[12], -0.25f);
}

namespace {

// Feeds a ramp so that the wet part reveals where the chorus read: with dry
// and wet both 0.5 the read position is 2 out - in. Returns the excursion of
// the read position from its centre (write - D - 1) per sample, left and right.
Stereo Excursions(int32_t phaseOffset)
{
    ChorusFx chorus(EngineTables::Get().sine);
    chorus.SetSampleRate(1000.0f);
    chorus.SetLevel(1.0f);
    chorus.SetDelay(10);
    chorus.SetDepth(0.5f);      // swing 5 samples
    chorus.SetRate(1000.0f);    // 1 Hz: 1000 samples per cycle
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

TEST(ChorusFx, LfoSweepsTheDelayByDepthTimesDelay)
{
    const Stereo e = Excursions(0);
    float highest = -100.0f;
    float lowest = 100.0f;
    for (size_t i = 0; i < e.left.size(); ++i)
    {
        highest = std::fmax(highest, e.left[i]);
        lowest = std::fmin(lowest, e.left[i]);
        ASSERT_NEAR(e.left[i], e.right[i], 1e-3) << "no offset: both channels alike";
    }
    EXPECT_NEAR(highest, 5.0f, 0.01f);
    EXPECT_NEAR(lowest, -5.0f, 0.01f);
}

TEST(ChorusFx, PhaseOffset180PutsTheRightLfoHalfACycleAway)
{
    const Stereo e = Excursions(180);
    double largest = 0.0;
    for (size_t i = 0; i < e.left.size(); ++i)
    {
        ASSERT_NEAR(e.left[i], -e.right[i], 2e-3) << "sample " << i;
        largest = std::fmax(largest, std::fabs(e.left[i]));
    }
    EXPECT_GT(largest, 4.9);
    // An offset of 540 degrees is the same lead.
    const Stereo wrapped = Excursions(540);
    EXPECT_EQ(wrapped.right, e.right);
}

TEST(ChorusFx, LongBlocksAtTheFastestRateKeepThePhaseInOneCycle)
{
    ChorusFx chorus(EngineTables::Get().sine);
    chorus.SetLevel(1.0f);
    chorus.SetRate(10000.0f);  // 10 Hz
    std::vector<float> left(100000, 0.0f);
    std::vector<float> right(100000, 0.0f);
    for (int block = 0; block < 5; ++block)
    {
        chorus.Process(left.data(), right.data(), left.data(), right.data(), 100000);
        EXPECT_GE(chorus.LfoPhase(), 0.0);
        EXPECT_LT(chorus.LfoPhase(), 65536.0);
    }
}

TEST(ChorusFx, CorruptSettingsAndExtremeRatesStayFinite)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float rates[] = {8000.0f, 44100.0f, 192000.0f, 384000.0f, 2000000.0f};
    for (float rate : rates)
    {
        ChorusFx chorus(EngineTables::Get().sine);
        chorus.SetSampleRate(rate);
        chorus.SetLevel(1e30f);
        chorus.SetDelay(INT_MAX);
        chorus.SetDepth(nan);
        chorus.SetDepth(-1e9f);
        chorus.SetDepth(1e9f);
        chorus.SetRate(-1e30f);
        chorus.SetPhaseOffset(INT_MIN);
        chorus.SetFeedback(1e30f);
        const Stereo out = Apply(chorus, Noise(20000, 1.0f, 5), Noise(20000, 1.0f, 6));
        EXPECT_TRUE(AllFinite(out.left)) << rate;
        EXPECT_TRUE(AllFinite(out.right)) << rate;
        EXPECT_GE(chorus.LfoPhase(), 0.0);
    }
}
