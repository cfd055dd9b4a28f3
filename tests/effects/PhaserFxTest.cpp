#include "effects/PhaserFx.h"

#include "engine/EngineTables.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

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
    // A stored 1000 sounds as 16.
    PhaserFx limited = StaticPhaser(1000, 0.3f);
    PhaserFx sixteen = StaticPhaser(16, 0.3f);
    const std::vector<float> input = Noise(2000, 1.0f, 4);
    EXPECT_EQ(Apply(limited, input, input).left, Apply(sixteen, input, input).left);
}

TEST(PhaserFx, SkippedSilenceLeavesOutputAndStateAsARun)
{
    PhaserFx skipping = StaticPhaser(6, 0.7f);
    skipping.SetHighFrequency(400.0f);
    PhaserFx running = skipping;
    const auto process = [](PhaserFx& phaser, float* l, float* r) { phaser.Process(l, r, l, r, 256); };
    const auto quiet = [](const PhaserFx& phaser) { return phaser.IsQuiet(); };
    ExpectSkippedSilenceToMatchARun(skipping, running, process, quiet, Noise(2560, 0.5f, 4), 40);
    EXPECT_EQ(skipping.LfoPhase(), running.LfoPhase());
}

TEST(PhaserFx, CoefficientKeptWhileTheLfoStaysOnItsEntriesAsWorkedOutEverySample)
{
    // At 0.1 Hz the LFO stays about 7 samples on each table entry; the right
    // channel's 90 degree lead moves to its next entry at other samples. A
    // block of one sample works its coefficient out afresh.
    PhaserFx whole = StaticPhaser(4, 0.5f);
    whole.SetSampleRate(44100.0f);
    whole.SetRate(0.1f);
    whole.SetPhaseOffset(90);
    whole.SetLowFrequency(200.0f);
    whole.SetHighFrequency(5000.0f);
    PhaserFx single = whole;
    std::vector<float> left = Noise(3000, 0.5f, 7);
    std::vector<float> right = Noise(3000, 0.5f, 8);
    std::vector<float> singleLeft = left;
    std::vector<float> singleRight = right;
    whole.Process(left.data(), right.data(), left.data(), right.data(), 3000);
    for (size_t s = 0; s < left.size(); ++s)
        single.Process(&singleLeft[s], &singleRight[s], &singleLeft[s], &singleRight[s], 1);
    EXPECT_EQ(left, singleLeft);
    EXPECT_EQ(right, singleRight);
}
