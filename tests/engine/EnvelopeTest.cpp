#include "engine/Envelope.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

EnvelopeRange LimitsAt(int32_t rate)
{
    EnvelopeLimits limits;
    limits.SetSampleRate(rate);
    return limits.range[0];
}

// Steps the running segment count times; returns the last value used.
float StepTimes(Envelope& e, int32_t count)
{
    float used = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        used = e.Step();
    return used;
}

}  // namespace

// The shortest segment is 5 ms and the longest 10 s, halves rounded up.
TEST(EnvelopeLimits, MinimumAndMaximumAtEachRate)
{
    const struct
    {
        int32_t rate, minimum, maximum;
    } cases[] = {
        {44100, 221, 441000}, {48000, 240, 480000},
        {1000, 5, 10000},     {100, 1, 1000},
        {99, 0, 990},         {std::numeric_limits<int32_t>::max(), 10737418, std::numeric_limits<int32_t>::max()},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(LimitsAt(c.rate).minimum, c.minimum) << c.rate;
        EXPECT_EQ(LimitsAt(c.rate).maximum, c.maximum) << c.rate;
    }
}

// Each segment follows 2t - t^2 of its way (t the share of its samples
// passed) and arrives flat.
TEST(Envelope, AttackAndDecayFollowTheSquareLawAndEaseOut)
{
    const EnvelopeRange limits = LimitsAt(1000);  // 5 .. 10000 samples
    Envelope e{};
    const SynthEnvelope params{0.1f, 0.5f, 0.25f, 0.0f};
    StartEnvelope(limits, e, params);  // attack 0.1: 0.01 x 10000 = 100 samples
    EXPECT_EQ(e.stage, Envelope::kAttack);
    EXPECT_EQ(e.remaining, 100);
    EXPECT_NEAR(e.step, 0.0199f, 1e-6f);
    EXPECT_EQ(e.Step(), 0.0f);  // the first sample uses the start value
    StepTimes(e, 49);
    EXPECT_NEAR(e.value, 0.75f, 1e-5f);
    StepTimes(e, 25);
    EXPECT_NEAR(e.value, 2 * 0.75 - 0.75 * 0.75, 1e-5f);
    StepTimes(e, 25);
    EXPECT_NEAR(e.value, 1.0f, 1e-5f);
    EXPECT_NEAR(e.step, -0.0001f, 1e-6f);  // a hundredth of the first (1 / N^2)

    AdvanceEnvelope(limits, e, params);
    EXPECT_EQ(e.stage, Envelope::kDecay);
    EXPECT_EQ(e.value, 1.0f);
    EXPECT_EQ(e.remaining, 2500);  // 0.25 x 10000
    StepTimes(e, 2500);
    EXPECT_NEAR(e.value, 0.25f, 1e-4f);
    AdvanceEnvelope(limits, e, params);
    EXPECT_EQ(e.stage, Envelope::kSustain);
    EXPECT_FALSE(e.active);
}

TEST(Envelope, AttackZeroJumpsToOneAtNoteOn)
{
    const EnvelopeRange limits = LimitsAt(44100);
    Envelope e{};
    StartEnvelope(limits, e, SynthEnvelope{0.0f, 0.0f, 0.5f, 0.0f});
    EXPECT_EQ(e.stage, Envelope::kDecay);
    EXPECT_EQ(e.value, 1.0f);
    // decay 0: the minimum, 221 samples, from 1 to 0.5.
    EXPECT_EQ(e.remaining, 221);
    EXPECT_EQ(e.Step(), 1.0f);
    StepTimes(e, 220);
    EXPECT_NEAR(e.value, 0.5f, 1e-5f);
}

TEST(Envelope, ReleaseDuringAttackStartsFromTheValueReached)
{
    const EnvelopeRange limits = LimitsAt(1000);
    Envelope e{};
    StartEnvelope(limits, e, SynthEnvelope{0.1f, 0.5f, 1.0f, 0.0f});
    StepTimes(e, 50);
    ASSERT_NEAR(e.value, 0.75f, 1e-5f);
    ForceRelease(limits, e, 0.1f);  // 100 samples
    EXPECT_TRUE(e.active);
    EXPECT_EQ(e.stage, Envelope::kRelease);
    EXPECT_EQ(e.remaining, 100);
    EXPECT_NEAR(e.Step(), 0.75f, 1e-5f);
    StepTimes(e, 49);
    EXPECT_NEAR(e.value, 0.75f * 0.25f, 1e-5f);  // 75 % of the way down
    StepTimes(e, 50);
    EXPECT_NEAR(e.value, 0.0f, 1e-5f);
    AdvanceEnvelope(limits, e, SynthEnvelope{});
    EXPECT_EQ(e.stage, Envelope::kFinished);
    EXPECT_FALSE(e.active);
}

TEST(Envelope, AttackTooShortForOneSampleHasNoSamples)
{
    const EnvelopeRange limits = LimitsAt(44100);
    Envelope e{};
    // 1e-8 * 441000 = 0.0044 samples: rounds to 0, must not divide by zero.
    StartEnvelope(limits, e, SynthEnvelope{1e-4f, 0.0f, 1.0f, 0.0f});
    EXPECT_EQ(e.stage, Envelope::kAttack);
    EXPECT_TRUE(e.active);
    EXPECT_EQ(e.remaining, 0);
    EXPECT_EQ(e.step, 0.0f);
    EXPECT_EQ(e.stepChange, 0.0f);
    AdvanceEnvelope(limits, e, SynthEnvelope{1e-4f, 0.0f, 1.0f, 0.0f});
    EXPECT_EQ(e.stage, Envelope::kDecay);
}
