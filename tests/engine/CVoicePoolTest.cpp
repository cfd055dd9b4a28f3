#include "engine/CVoicePool.h"

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

class VoicePoolTest : public ::testing::Test, public enginetest::EngineRig
{
protected:
    void Render(int32_t frames)
    {
        std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
        pool->Render(Context(), left.data(), right.data(), frames);
    }

    const Voice& At(int32_t i) const { return pool->VoiceAt(i); }
};

}  // namespace

TEST_F(VoicePoolTest, SameKeyTwiceGivesTwoVoicesReleasedOldestFirst)
{
    On(60);
    On(60);
    ASSERT_EQ(pool->Count(), 2);
    Off(60);
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kRelease);
    EXPECT_TRUE(At(1).Held());
    Off(60);
    EXPECT_EQ(At(1).envelopes[0].stage, Envelope::kRelease);
    // Release goes to all three envelopes, each with its own time.
    EXPECT_EQ(At(1).envelopes[1].stage, Envelope::kRelease);
    EXPECT_EQ(At(1).envelopes[1].remaining, 441000);  // env[1].release 1.0
    EXPECT_EQ(At(1).envelopes[0].remaining, 221);     // env[0].release 0: the minimum
}

TEST_F(VoicePoolTest, ThirtyThirdNoteIsDroppedAndNotStacked)
{
    for (int32_t i = 0; i < 33; ++i)
        On(40 + i);
    EXPECT_EQ(pool->Count(), 32);
    EXPECT_EQ(pool->Stack().Count(), 32);
    EXPECT_EQ(At(31).note, 71);
    Off(72);  // the dropped note: nothing happens
    for (int32_t i = 0; i < 32; ++i)
        EXPECT_TRUE(At(i).Held());
}

TEST_F(VoicePoolTest, MonoWithoutLegatoRestartsThePreviousNote)
{
    program.mono = 1;
    program.velVolume = 1.0f;
    On(60, 127);  // C
    EXPECT_TRUE(pool->MonoActive());
    Render(500);
    On(64, 64);  // E: C is fast-released, E starts fresh
    ASSERT_EQ(pool->Count(), 2);
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kRelease);
    EXPECT_EQ(At(0).envelopes[0].remaining, 221);
    EXPECT_EQ(At(1).note, 64);
    EXPECT_EQ(At(1).envelopes[0].value, 1.0f);  // attack 0: fresh start at 1
    Render(221);
    ASSERT_EQ(pool->Count(), 1);
    Off(64);  // E fast-released, C restarted with its own velocity
    ASSERT_EQ(pool->Count(), 2);
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kRelease);
    EXPECT_EQ(At(1).note, 60);
    EXPECT_FLOAT_EQ(At(1).factors.volume, 0.8f);  // velocity 127
    EXPECT_EQ(pool->Stack().Count(), 1);
}

TEST_F(VoicePoolTest, MonoWithLegatoOnlyRetunes)
{
    program.mono = 1;
    program.legato = 1;
    program.env[0] = SynthEnvelope{0.5f, 0.5f, 0.5f, 0.0f};
    On(60);
    Render(1000);
    const float reached = At(0).envelopes[0].value;
    On(64);
    ASSERT_EQ(pool->Count(), 1);
    EXPECT_EQ(At(0).note, 64);
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kAttack);
    EXPECT_EQ(At(0).envelopes[0].value, reached);  // no retrigger
    Off(64);
    ASSERT_EQ(pool->Count(), 1);
    EXPECT_EQ(At(0).note, 60);
    EXPECT_TRUE(At(0).Held());
    Off(60);
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kRelease);
}

TEST_F(VoicePoolTest, MonoReleaseOfAStackedNoteOnlyUnstacksIt)
{
    program.mono = 1;
    On(60);
    On(62);
    On(64);
    Render(300);
    ASSERT_EQ(pool->Count(), 1);
    Off(62);
    EXPECT_EQ(pool->Count(), 1);
    EXPECT_EQ(At(0).note, 64);
    EXPECT_TRUE(At(0).Held());
    EXPECT_EQ(pool->Stack().Count(), 2);
    Off(64);  // back to 60, not 62
    EXPECT_EQ(At(pool->Count() - 1).note, 60);
}

TEST_F(VoicePoolTest, PolyLegatoContinuesTheHeldVoicesEnvelopes)
{
    program.legato = 1;
    program.env[0] = SynthEnvelope{0.3f, 0.5f, 0.5f, 0.0f};
    On(60);
    Render(777);
    On(67);
    ASSERT_EQ(pool->Count(), 2);
    for (int32_t e = 0; e < 4; ++e)
    {
        EXPECT_EQ(At(1).envelopes[e].value, At(0).envelopes[e].value) << e;
        EXPECT_EQ(At(1).envelopes[e].remaining, At(0).envelopes[e].remaining) << e;
        EXPECT_EQ(At(1).envelopes[e].stage, At(0).envelopes[e].stage) << e;
    }
    for (int32_t l = 0; l < 4; ++l)
        EXPECT_EQ(At(1).lfos[l].phase, At(0).lfos[l].phase) << l;
    EXPECT_GT(At(1).envelopes[0].value, 0.0f);
}

TEST_F(VoicePoolTest, GlideStepsBackToTheNoteWhenAProgramAsksForIt)
{
    program.glide = 0.1f;  // 50 ms
    On(60);
    EXPECT_EQ(At(0).glideRemaining, 0);  // no previous note
    On(72);
    EXPECT_EQ(At(1).glideLength, 2205);
    EXPECT_EQ(At(1).glideRemaining, 2205);
    EXPECT_EQ(At(1).glideOffset, -12.0f);
    Render(2205);
    EXPECT_EQ(At(1).glideRemaining, 0);
}

TEST_F(VoicePoolTest, SustainPedalHoldsReleasedKeysUntilLifted)
{
    pool->SetSustain(true, Notes());
    On(60);
    Off(60);
    On(64);
    Off(64);
    On(60);  // struck again while sustained: a voice of its own
    ASSERT_EQ(pool->Count(), 3);
    for (int32_t i = 0; i < 3; ++i)
        EXPECT_TRUE(At(i).Held()) << i;
    EXPECT_EQ(pool->SustainedOffs(), 2);

    pool->SetSustain(false, Notes());
    EXPECT_EQ(At(0).envelopes[0].stage, Envelope::kRelease);                // the older 60
    EXPECT_EQ(At(0).envelopes[0].remaining, At(1).envelopes[0].remaining);  // a normal release, not a fast one
    EXPECT_EQ(At(1).envelopes[0].stage, Envelope::kRelease);                // 64
    EXPECT_TRUE(At(2).Held());                                              // its key is still down
    EXPECT_EQ(pool->SustainedOffs(), 0);
    Off(60);
    EXPECT_FALSE(At(2).Held());
}

TEST_F(VoicePoolTest, SustainedMonoNoteStaysUntilThePedalAndNeverRestartsAnother)
{
    program.mono = 1;
    pool->SetSustain(true, Notes());
    On(60);
    On(64);   // 60 fast-released, 64 sounds
    Off(64);  // sounding note, pedal down: stays
    Off(60);
    Render(300);
    ASSERT_EQ(pool->Count(), 1);
    EXPECT_EQ(At(0).note, 64);
    EXPECT_TRUE(At(0).Held());

    pool->SetSustain(false, Notes());
    ASSERT_EQ(pool->Count(), 1);  // lifting never starts 60 again
    EXPECT_FALSE(At(0).Held());
    EXPECT_TRUE(pool->Stack().Empty());
}

TEST_F(VoicePoolTest, MonoKeyStruckAgainUnderThePedalIsOneKey)
{
    program.mono = 1;
    pool->SetSustain(true, Notes());
    On(60);
    Off(60);
    On(60);
    EXPECT_EQ(pool->Stack().Count(), 1);
    EXPECT_EQ(pool->SustainedOffs(), 0);
    pool->SetSustain(false, Notes());
    EXPECT_TRUE(At(pool->Count() - 1).Held());  // the key is down
    Off(60);
    EXPECT_FALSE(At(pool->Count() - 1).Held());
}

TEST_F(VoicePoolTest, PedalBeyondItsCapacityReleasesAtOnce)
{
    pool->SetSustain(true, Notes());
    for (int32_t i = 0; i < CVoicePool::kMaxSustainedOffs; ++i)
        Off(1);
    On(60);
    Off(60);
    EXPECT_FALSE(At(0).Held());
}

TEST_F(VoicePoolTest, AllNotesOffReleasesNormallyAndAllSoundOffFreesAtOnce)
{
    program.env[0].release = 0.1f;  // 0.01 s x 10 = 100 ms
    pool->SetSustain(true, Notes());
    On(60);
    On(64);
    Off(64);
    On(67);
    pool->AllNotesOff(limits);
    ASSERT_EQ(pool->Count(), 3);
    EXPECT_EQ(At(2).envelopes[0].remaining, 4410);
    EXPECT_EQ(pool->SustainedOffs(), 0);
    Render(4410);
    EXPECT_EQ(pool->Count(), 0);

    On(60);
    On(62);
    pool->AllSoundOff();
    EXPECT_EQ(pool->Count(), 0);
    EXPECT_TRUE(pool->Stack().Empty());
    EXPECT_TRUE(pool->SustainDown());  // the pedal is the player's, not ours
}

TEST_F(VoicePoolTest, VoicesAddIntoTheBuffersWithoutClearingThem)
{
    EngineRig other;
    On(64);
    other.On(64);
    std::vector<float> a(300, 0.0f), b(300, 1.0f), right(300);
    pool->Render(Context(), a.data(), right.data(), 300);
    other.pool->Render(other.Context(), b.data(), right.data(), 300);
    for (size_t i = 0; i < 300; ++i)
        ASSERT_EQ(b[i], 1.0f + a[i]) << i;
    EXPECT_GT(*std::max_element(a.begin(), a.end()), 0.05f);
}
