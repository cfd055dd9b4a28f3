#include "effects/PhaserFx.h"

#include "engine/EngineTables.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// Low = high = 250 Hz at 1000 Hz: w = 0.5, so every stage has a = 1/3.
PhaserFx StaticPhaser(int32_t stages, float feedback)
{
    PhaserFx phaser(EngineTables::Get().sine);
    phaser.SetSampleRate(1000.0f);
    phaser.SetLevel(1.0f);
    phaser.SetRate(0.5f);
    phaser.SetFeedback(feedback);
    phaser.SetStages(stages);
    phaser.SetLowFrequency(250.0f);
    phaser.SetHighFrequency(250.0f);
    return phaser;
}

}  // namespace

TEST(PhaserFx, LevelZeroPassesTheInputExactlyWhileTheLfoRuns)
{
    PhaserFx phaser(EngineTables::Get().sine);
    phaser.SetLevel(0.0f);
    phaser.SetRate(1.0f);
    const std::vector<float> left = Noise(4096, 0.8f, 1);
    const std::vector<float> right = Noise(4096, 0.8f, 2);
    const Stereo out = Apply(phaser, left, right);
    EXPECT_EQ(out.left, left);
    EXPECT_EQ(out.right, right);
    EXPECT_NEAR(phaser.LfoPhase(), 4096.0 / 44100.0, 1e-7);
}

TEST(PhaserFx, EqualLowAndHighGiveAStaticAllpassStage)
{
    // One stage, a = 1/3: the allpass impulse response is -a, 1 - a^2,
    // a (1 - a^2), ...; the output is half dry, half that.
    PhaserFx phaser = StaticPhaser(1, 0.0f);
    const Stereo out = Apply(phaser, Impulse(6), Impulse(6));
    const double a = 1.0 / 3.0;
    EXPECT_NEAR(out.left[0], 0.5 - 0.5 * a, 1e-6);
    EXPECT_NEAR(out.left[1], 0.5 * (1 - a * a), 1e-6);
    EXPECT_NEAR(out.left[2], 0.5 * a * (1 - a * a), 1e-6);
    EXPECT_NEAR(out.left[3], 0.5 * a * a * (1 - a * a), 1e-6);
    EXPECT_EQ(out.right, out.left);
}

TEST(PhaserFx, AllpassCascadeKeepsTheEnergy)
{
    // The wet path alone (dry removed) of an allpass cascade without
    // feedback has the energy of its input.
    PhaserFx phaser = StaticPhaser(16, 0.0f);
    const std::vector<float> input = Impulse(4000);
    const Stereo out = Apply(phaser, input, input);
    std::vector<float> wet(out.left.size());
    for (size_t i = 0; i < wet.size(); ++i)
        wet[i] = 2.0f * out.left[i] - input[i];
    EXPECT_NEAR(Energy(wet, 0, 4000), 1.0, 1e-4);
}

TEST(PhaserFx, FeedbackIsScaledBy098)
{
    // No stages: the loop is x = 0.98 fb x[n-1] + in.
    PhaserFx phaser = StaticPhaser(0, 0.5f);
    const Stereo out = Apply(phaser, Impulse(3), Impulse(3));
    EXPECT_FLOAT_EQ(out.left[0], 1.0f);  // 0.5 dry + 0.5 wet
    EXPECT_FLOAT_EQ(out.left[1], 0.5f * 0.49f);
    EXPECT_FLOAT_EQ(out.left[2], 0.5f * 0.49f * 0.49f);
}

TEST(PhaserFx, StageCountIsLimitedToTheSixteenStatesHeld)
{
    PhaserFx phaser(EngineTables::Get().sine);
    phaser.SetStages(17);
    EXPECT_EQ(phaser.Stages(), 16);
    phaser.SetStages(INT_MAX);
    EXPECT_EQ(phaser.Stages(), 16);
    phaser.SetStages(-3);
    EXPECT_EQ(phaser.Stages(), 0);
    phaser.SetStages(7);
    EXPECT_EQ(phaser.Stages(), 7);

    // A stored 1000 sounds as 16.
    PhaserFx limited = StaticPhaser(1000, 0.3f);
    PhaserFx sixteen = StaticPhaser(16, 0.3f);
    const std::vector<float> input = Noise(2000, 1.0f, 4);
    EXPECT_EQ(Apply(limited, input, input).left, Apply(sixteen, input, input).left);
}

TEST(PhaserFx, PhaseOffsetLeadsTheRightChannel)
{
    // With a sweeping LFO and the same input on both sides, an offset of 0
    // keeps the channels identical and an offset of 90 separates them.
    for (int32_t offset : {0, 90})
    {
        PhaserFx phaser(EngineTables::Get().sine);
        phaser.SetLevel(1.0f);
        phaser.SetRate(5.0f);
        phaser.SetStages(4);
        phaser.SetLowFrequency(200.0f);
        phaser.SetHighFrequency(8000.0f);
        phaser.SetPhaseOffset(offset);
        const std::vector<float> input = Noise(8820, 0.5f, 9);
        const Stereo out = Apply(phaser, input, input);
        if (offset == 0)
            EXPECT_EQ(out.left, out.right);
        else
            EXPECT_NE(out.left, out.right);
    }
}

TEST(PhaserFx, MaximumFeedbackAndCorruptSettingsStayFinite)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    PhaserFx phaser(EngineTables::Get().sine);
    phaser.SetLevel(1.0f);
    phaser.SetFeedback(1.0f);
    phaser.SetStages(16);
    phaser.SetRate(1e30f);
    phaser.SetLowFrequency(-1e30f);
    phaser.SetHighFrequency(nan);
    phaser.SetPhaseOffset(INT_MIN);
    for (int block = 0; block < 20; ++block)
    {
        const Stereo out = Apply(phaser, Noise(4410, 1.0f, block), Noise(4410, 1.0f, block + 100));
        ASSERT_TRUE(AllFinite(out.left));
        ASSERT_TRUE(AllFinite(out.right));
        ASSERT_GE(phaser.LfoPhase(), 0.0);
        ASSERT_LT(phaser.LfoPhase(), 1.0);
    }
}

TEST(PhaserFx, SilenceAfterSoundDecaysToExactZero)
{
    PhaserFx phaser = StaticPhaser(16, 0.9f);
    Apply(phaser, Noise(1000, 1.0f, 3), Noise(1000, 1.0f, 4));
    Stereo out;
    for (int block = 0; block < 100; ++block)
        out = Apply(phaser, std::vector<float>(1000, 0.0f), std::vector<float>(1000, 0.0f));
    for (float s : out.left)
        EXPECT_EQ(s, 0.0f);
}
