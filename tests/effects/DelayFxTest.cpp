#include "effects/DelayFx.h"

#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <vector>

namespace
{

DelayFx MakeDelay(float level, float feedback, float cross, int32_t beats, int32_t divisor)
{
    DelayFx delay;
    delay.SetLevel(level);
    delay.SetFeedback(feedback);
    delay.SetCross(cross);
    delay.SetTime(beats, divisor);
    return delay;
}

// Indices of the non-zero samples.
std::vector<int> Echoes(const std::vector<float>& samples)
{
    std::vector<int> at;
    for (size_t i = 0; i < samples.size(); ++i)
        if (samples[i] != 0.0f)
            at.push_back(static_cast<int>(i));
    return at;
}

}  // namespace

TEST(DelayFx, LengthFollowsTempoBeatsDivisorAndRate)
{
    DelayFx delay;
    delay.SetTime(1, 1);
    EXPECT_EQ(delay.LineLength(), 22050);  // a quarter at 120 BPM, 44.1 kHz
    delay.SetTime(3, 2);
    EXPECT_EQ(delay.LineLength(), 33075);
    delay.SetTempo(90.0f);
    delay.SetTime(1, 1);
    EXPECT_EQ(delay.LineLength(), 29400);
    delay.SetSampleRate(48000.0f);
    EXPECT_EQ(delay.LineLength(), 32000);
    delay.SetTime(INT_MIN, -8);  // beats and divisor below one count as one
    EXPECT_EQ(delay.LineLength(), 32000);
}

TEST(DelayFx, TooLongEchoesAreHalvedUntilTheyFitOnTheTempoGrid)
{
    DelayFx delay;
    delay.SetTime(32, 1);                   // 705600 samples wanted
    EXPECT_EQ(delay.LineLength(), 352800);  // 16 beats
    delay.SetTempo(1.0f);                   // 84672000 wanted
    EXPECT_EQ(delay.LineLength(), 330750);  // divided by 256
    delay.SetTempo(1e-38f);                 // beyond float range: the whole buffer
    EXPECT_EQ(delay.LineLength(), DelayFx::kBufferSize);
    delay.SetTempo(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(delay.LineLength(), 1);
    delay.SetSampleRate(48000.0f);
    delay.SetTempo(60.0f);
    delay.SetTime(10, 1);  // exactly the buffer: kept whole
    EXPECT_EQ(delay.LineLength(), DelayFx::kBufferSize);
}

TEST(DelayFx, FirstEchoLandsOneLengthLaterAtFeedbackTimesLevel)
{
    DelayFx delay = MakeDelay(0.8f, 0.5f, 0.0f, 1, 4);  // 5512 samples
    const Stereo out = Apply(delay, Impulse(12000), std::vector<float>(12000, 0.0f));
    EXPECT_EQ(Echoes(out.left), (std::vector<int>{0, 5512, 11024}));
    EXPECT_EQ(out.left[0], 1.0f);
    EXPECT_EQ(out.left[5512], 0.5f * 0.8f);
    EXPECT_EQ(out.left[11024], 0.25f * 0.8f);
    EXPECT_TRUE(Echoes(out.right).empty());
}

TEST(DelayFx, FullCrossMakesThePingPong)
{
    // Left input: its echo comes first on the left, then on the right.
    DelayFx delay = MakeDelay(1.0f, 0.5f, 1.0f, 1, 8);  // 2756 samples
    const Stereo out = Apply(delay, Impulse(9000), std::vector<float>(9000, 0.0f));
    EXPECT_EQ(Echoes(out.left), (std::vector<int>{0, 2756, 8268}));
    EXPECT_EQ(out.left[2756], 0.5f);
    EXPECT_EQ(out.left[8268], 0.125f);
    EXPECT_EQ(Echoes(out.right), (std::vector<int>{5512}));
    EXPECT_EQ(out.right[5512], 0.25f);

    // Right input enters its line scaled by 1 - cross: nothing returns.
    DelayFx other = MakeDelay(1.0f, 0.5f, 1.0f, 1, 8);
    const Stereo quiet = Apply(other, std::vector<float>(9000, 0.0f), Impulse(9000));
    EXPECT_EQ(Echoes(quiet.left), std::vector<int>{});
    EXPECT_EQ(Echoes(quiet.right), (std::vector<int>{0}));
}

TEST(DelayFx, SkippedSilenceLeavesOutputAndStateAsARun)
{
    // 500-sample lines at 1000 Hz and 120 BPM; a 2560-sample sound leaves
    // one line's index mid-length after the silence.
    DelayFx skipping = MakeDelay(0.8f, 0.6f, 0.3f, 1, 1);
    skipping.SetSampleRate(1000.0f);
    DelayFx running = skipping;
    const auto process = [](DelayFx& delay, float* l, float* r) { delay.Process(l, r, l, r, 256); };
    const auto quiet = [](const DelayFx& delay) { return delay.IsQuiet(); };
    ExpectSkippedSilenceToMatchARun(skipping, running, process, quiet, Noise(2560, 0.5f, 5), 150);
    // A shorter length strands the indices where they are: now their
    // positions are heard.
    skipping.SetTime(1, 3);
    running.SetTime(1, 3);
    const std::vector<float> sound = Noise(1024, 0.5f, 7);
    EXPECT_EQ(Apply(skipping, sound, sound).right, Apply(running, sound, sound).right);
}
