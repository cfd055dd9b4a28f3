#include "engine/VoiceFormulas.h"

#include <gtest/gtest.h>

TEST(VoiceFormulas, CutoffTargetIsSquaredInDouble)
{
    // 0.3 x 0.7 x 0.9 squared, rounded once at the end: float arithmetic all
    // the way would round four times.
    const double c = static_cast<double>(0.3f) * 0.7 * static_cast<double>(0.9f);
    EXPECT_EQ(CutoffTarget(0.3f, 0.7, 0.9f), static_cast<float>(c * c));
}

TEST(VoiceFormulas, CutoffTargetOverLanesEqualsOneVoiceAtATime)
{
    const Lanes env = {0.3f, 1.0f, 0.01f, 0.77f};
    const Lanes lfo = {0.9f, 0.5f, 1.0f, 0.123f};
    LaneDoubles depth = {};
    const double depths[kLaneCount] = {0.7, 1.3, 0.999, 0.05};
    for (int32_t l = 0; l < kLaneCount; ++l)
        Put(depth, l, depths[l]);
    const Lanes target = CutoffTarget(env, depth, lfo);
    for (int32_t l = 0; l < kLaneCount; ++l)
        EXPECT_EQ(target[l], CutoffTarget(env[l], depths[l], lfo[l])) << "lane " << l;
}

TEST(VoiceFormulas, EnvelopeCursorHoldsStillWhenNotStepping)
{
    Envelope e{};
    e.value = 0.5f;
    e.step = 0.25f;
    e.stepChange = -0.125f;
    EnvelopeCursor<float> held{};
    held.Load(0, e, false);
    EXPECT_EQ(held.Next(), 0.5f);
    EXPECT_EQ(held.Next(), 0.5f);

    EnvelopeCursor<Lanes> lanes{};
    lanes.Load(1, e, true);
    EXPECT_EQ(lanes.Next()[1], 0.5f);
    EXPECT_EQ(lanes.Next()[1], 0.75f);
    EXPECT_EQ(lanes.Next()[1], 0.875f);
    Envelope stored{};
    lanes.Store(1, stored, true);
    EXPECT_EQ(stored.value, 0.875f);
    EXPECT_EQ(stored.step, -0.125f);
    EXPECT_EQ(stored.stepChange, -0.125f);
}
