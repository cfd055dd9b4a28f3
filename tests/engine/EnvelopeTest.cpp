#include "engine/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

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

TEST(EnvelopeLimits, RoundHalvesUpAt44100And48000)
{
    EnvelopeLimits limits;
    limits.SetSampleRate(44100);
    for (const EnvelopeRange& r : limits.range)
    {
        EXPECT_EQ(r.minimum, 221);  // 220.5 goes up
        EXPECT_EQ(r.maximum, 441000);
    }
    limits.SetSampleRate(48000);
    for (const EnvelopeRange& r : limits.range)
    {
        EXPECT_EQ(r.minimum, 240);
        EXPECT_EQ(r.maximum, 480000);
    }
}

TEST(EnvelopeLimits, SmallAndHugeRates)
{
    EXPECT_EQ(LimitsAt(100).minimum, 1);   // 0.5 goes up
    EXPECT_EQ(LimitsAt(99).minimum, 0);    // 0.495 goes down
    EXPECT_EQ(LimitsAt(1000).minimum, 5);
    EXPECT_EQ(LimitsAt(1000).maximum, 10000);
    const EnvelopeRange huge = LimitsAt(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(huge.maximum, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(huge.minimum, 10737418);
}

TEST(Envelope, AttackFollowsTheSquareLawAndEasesOut)
{
    const EnvelopeRange limits = LimitsAt(1000);  // 5 .. 10000 samples
    Envelope e{};
    // attack 0.1: 0.01 * 10000 = 100 samples.
    StartEnvelope(limits, e, SynthEnvelope{0.1f, 0.5f, 0.25f, 0.0f});
    EXPECT_TRUE(e.active);
    EXPECT_EQ(e.stage, Envelope::kAttack);
    EXPECT_EQ(e.remaining, 100);
    const float firstStep = e.step;
    EXPECT_EQ(e.Step(), 0.0f);  // the first sample uses the start value
    StepTimes(e, 49);
    // After k samples: 2t - t^2 with t = k / 100.
    EXPECT_NEAR(e.value, 0.75f, 1e-5f);
    StepTimes(e, 25);
    EXPECT_NEAR(e.value, 2 * 0.75 - 0.75 * 0.75, 1e-5f);
    StepTimes(e, 25);
    EXPECT_NEAR(e.value, 1.0f, 1e-5f);
    // Arrives flat: the last step is a hundredth of the first (1 / N^2).
    EXPECT_NEAR(e.step, -0.0001f, 1e-6f);
    EXPECT_NEAR(firstStep, 0.0199f, 1e-6f);
}

TEST(Envelope, AttackEndJumpsToOneAndDecaysToSustain)
{
    const EnvelopeRange limits = LimitsAt(1000);
    Envelope e{};
    const SynthEnvelope params{0.1f, 0.5f, 0.25f, 0.0f};
    StartEnvelope(limits, e, params);
    StepTimes(e, 100);
    AdvanceEnvelope(limits, e, params);
    EXPECT_EQ(e.stage, Envelope::kDecay);
    EXPECT_EQ(e.value, 1.0f);
    EXPECT_EQ(e.remaining, 2500);  // 0.25 * 10000
    StepTimes(e, 1250);
    EXPECT_NEAR(e.value, 1.0f - 0.75f * 0.75f, 1e-4f);  // t = 0.5: 75 % of the way
    StepTimes(e, 1250);
    EXPECT_NEAR(e.value, 0.25f, 1e-4f);
    AdvanceEnvelope(limits, e, params);
    EXPECT_EQ(e.stage, Envelope::kSustain);
    EXPECT_FALSE(e.active);
    EXPECT_EQ(e.remaining, 0);
    const float held = e.value;
    AdvanceEnvelope(limits, e, params);  // sustain stays
    EXPECT_EQ(e.stage, Envelope::kSustain);
    EXPECT_EQ(e.value, held);
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

TEST(Envelope, DecayAndReleaseLengths)
{
    const EnvelopeRange limits = LimitsAt(44100);
    Envelope e{};
    StartEnvelope(limits, e, SynthEnvelope{0.0f, 1.0f, 1.0f, 0.0f});
    EXPECT_EQ(e.remaining, 441000);  // 10 s
    StartEnvelope(limits, e, SynthEnvelope{0.0f, 0.5f, 1.0f, 0.0f});
    EXPECT_EQ(e.remaining, 110250);  // 2.5 s
    StartEnvelope(limits, e, SynthEnvelope{0.0f, 0.1f, 1.0f, 0.0f});
    EXPECT_EQ(e.remaining, 4410);    // 0.1 s
    ForceRelease(limits, e, 0.5f);
    EXPECT_EQ(e.stage, Envelope::kRelease);
    EXPECT_EQ(e.remaining, 110250);
    ForceRelease(limits, e, 0.001f);  // 0.44 samples: raised to the minimum
    EXPECT_EQ(e.remaining, 221);
    ForceRelease(limits, e, 0.0f);
    EXPECT_EQ(e.remaining, 221);
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

TEST(Envelope, CorruptTimesAreClampedIntoRange)
{
    const EnvelopeRange limits = LimitsAt(44100);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Envelope e{};
    StartEnvelope(limits, e, SynthEnvelope{nan, nan, nan, nan});
    EXPECT_EQ(e.stage, Envelope::kDecay);  // NaN attack acts as 0
    EXPECT_EQ(e.remaining, 221);
    EXPECT_FALSE(std::isnan(e.step));
    StartEnvelope(limits, e, SynthEnvelope{inf, -5.0f, 7.0f, 0.0f});
    EXPECT_EQ(e.remaining, 441000);       // attack at most 10 s
    AdvanceEnvelope(limits, e, SynthEnvelope{inf, -5.0f, 7.0f, 0.0f});
    EXPECT_EQ(e.remaining, 221);          // negative decay: the minimum
    StepTimes(e, 221);
    EXPECT_NEAR(e.value, 1.0f, 1e-5f);    // sustain 7 held to 1
    ForceRelease(limits, e, -inf);
    EXPECT_EQ(e.remaining, 221);
    ForceRelease(limits, e, 1e30f);
    EXPECT_EQ(e.remaining, 441000);
}
