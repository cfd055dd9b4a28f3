#include "engine/Lfo.h"

#include "engine/EngineTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{

SynthLfo FreeLfo(int32_t wave, float rate, int32_t restart = 1)
{
    return SynthLfo{wave, restart, 0, rate, 1, 4};
}

SynthLfo SyncedLfo(int32_t beats, int32_t div)
{
    return SynthLfo{0, 1, 1, 0.0f, beats, div};
}

}  // namespace

TEST(LfoTables, WaveShapes)
{
    const auto& lfo = EngineTables::Get().lfo;
    EXPECT_FLOAT_EQ(lfo[0][0], 0.5f);
    EXPECT_FLOAT_EQ(lfo[0][2048], static_cast<float>(0.5 + 0.5 * std::sin(2.0 * 0.25 * 3.1415)));
    EXPECT_FLOAT_EQ(lfo[1][2048], 1.0f);
    EXPECT_FLOAT_EQ(lfo[1][6144], 0.0f);
    EXPECT_FLOAT_EQ(lfo[1][8191], 2047.0f / 4096.0f);
    EXPECT_FLOAT_EQ(lfo[2][4096], 0.0f);
    EXPECT_FLOAT_EQ(lfo[2][8191], 4095.0f / 8192.0f);
    EXPECT_EQ(lfo[3][0], 1.0f);
    EXPECT_EQ(lfo[3][4096], 0.0f);
    // The random table spans the whole range.
    const auto [low, high] = std::minmax_element(std::begin(lfo[4]), std::end(lfo[4]));
    EXPECT_GE(*low, 0.0f);
    EXPECT_LT(*low, 0.01f);
    EXPECT_LE(*high, 1.0f);
    EXPECT_GT(*high, 0.99f);
}

TEST(LfoIncrement, FreeRateFollowsTheSquareLawAndSyncedRateTheTempo)
{
    EXPECT_DOUBLE_EQ(LfoIncrement(FreeLfo(0, 0.0f), 44100, 120.0f), 0.01 * 8192 / 44100.0);
    EXPECT_DOUBLE_EQ(LfoIncrement(FreeLfo(0, 1.0f), 44100, 120.0f), 20.0 * 8192 / 44100.0);
    EXPECT_NEAR(LfoIncrement(FreeLfo(0, 0.5f), 48000, 120.0f), (0.25 * 19.99 + 0.01) * 8192 / 48000.0, 1e-12);
    // The tempo does not matter to a free LFO.
    EXPECT_EQ(LfoIncrement(FreeLfo(0, 0.5f), 48000, 60.0f), LfoIncrement(FreeLfo(0, 0.5f), 48000, 180.0f));
    // Synced, one cycle per beat: 2 Hz at 120 BPM, 1.5 Hz at 90 BPM.
    EXPECT_DOUBLE_EQ(LfoIncrement(SyncedLfo(1, 4), 44100, 120.0f), 2.0 * 8192 / 44100.0);
    EXPECT_DOUBLE_EQ(LfoIncrement(SyncedLfo(1, 4), 44100, 90.0f), 1.5 * 8192 / 44100.0);
    // 3 beats of quarters: a third of a cycle per beat.
    EXPECT_NEAR(LfoIncrement(SyncedLfo(3, 4), 44100, 90.0f), 0.5 * 8192 / 44100.0, 1e-12);
}

// Restart begins at entry 0; without it the voice joins the global phase
// (the increment is set at the first sub-block); a wave outside the tables
// plays the sine.
TEST(Lfo, StartPicksThePhaseAndTheTable)
{
    const auto& tables = EngineTables::Get().lfo;
    const LfoState global{1234.0, 0.5, 99.0, nullptr, 1};
    const struct
    {
        int32_t wave, restart;
        double phase, countdown;
        const float* table;
        int32_t continuous;
    } cases[] = {
        {2, 1, 0.0, -1.0, tables[2], 1},  {4, 0, 1234.0, 99.0, tables[4], 0},    {5, 1, 0.0, -1.0, tables[0], 1},
        {-1, 1, 0.0, -1.0, tables[0], 1}, {1 << 30, 1, 0.0, -1.0, tables[0], 1},
    };
    for (const auto& c : cases)
    {
        LfoState voice{};
        voice.increment = 7.0;
        StartLfo(global, voice, FreeLfo(c.wave, 0.3f, c.restart));
        EXPECT_EQ(voice.phase, c.phase) << c.wave;
        EXPECT_EQ(voice.countdown, c.countdown) << c.wave;
        EXPECT_EQ(voice.increment, 7.0) << c.wave;
        EXPECT_EQ(voice.table, c.table) << c.wave;
        EXPECT_EQ(voice.continuous, c.continuous) << c.wave;
    }
}

TEST(Lfo, PendingStepSetsOneCycleAndJumpsForRandomOnly)
{
    CRandom random(5);
    LfoState sine{10.0, 2.0, -1.0, EngineTables::Get().lfo[0], 1};
    StartPendingStep(sine, 0, random);
    EXPECT_EQ(sine.countdown, 4096.0);
    EXPECT_EQ(sine.phase, 10.0);

    LfoState rnd{10.0, 2.0, -1.0, EngineTables::Get().lfo[4], 0};
    CRandom expected(5);
    StartPendingStep(rnd, 4, random);
    EXPECT_EQ(rnd.countdown, 4096.0);
    EXPECT_EQ(rnd.phase, static_cast<double>(static_cast<int32_t>(expected.Next() / 32767.0 * 8192)));
}

TEST(Lfo, AdvanceMovesThePhaseOrStepsTheRandomWave)
{
    LfoState s{100.0, 0.25, 5.0, EngineTables::Get().lfo[1], 1};
    AdvanceLfo(s, 1, 32);
    EXPECT_EQ(s.phase, 108.0);

    LfoState r{100.0, 0.5, 40.0, EngineTables::Get().lfo[4], 0};
    AdvanceLfo(r, 4, 32);
    EXPECT_EQ(r.countdown, 8.0);
    EXPECT_EQ(r.phase, 100.0);
    AdvanceLfo(r, 4, 7);  // 1.0 left: not yet below one
    EXPECT_EQ(r.phase, 100.0);
    AdvanceLfo(r, 4, 1);
    EXPECT_EQ(r.countdown, 16384.0);  // 0 + one cycle
    EXPECT_EQ(r.phase, 101.0);
}
