#include "synth/SynthProgram.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

SynthProgram Fresh()
{
    SynthProgram program;
    std::memset(&program, 0, sizeof program);
    InitProgram(program);
    return program;
}

}  // namespace

TEST(SynthProgram, RecordIsTheNameAnd146Words)
{
    // The size and the block starts are asserted where the record is declared.
    EXPECT_EQ(offsetof(SynthProgram, name), 0u);
    EXPECT_EQ(offsetof(SynthProgram, feedbackShape), 32u + 22 * 4);
    EXPECT_EQ(offsetof(SynthProgram, cutoff), 32u + 38 * 4);
    EXPECT_EQ(offsetof(SynthProgram, lfo[3].syncDiv), 32u + 66 * 4);
    EXPECT_EQ(offsetof(SynthProgram, mwPm), 32u + 81 * 4);
    EXPECT_EQ(offsetof(SynthProgram, e3Mod2), 32u + 101 * 4);
    EXPECT_EQ(offsetof(SynthProgram, bendUp), 32u + 109 * 4);
    EXPECT_EQ(offsetof(SynthProgram, rndMod2), 32u + 121 * 4);
    EXPECT_EQ(offsetof(SynthProgram, reverbPreDelay), 32u + 132 * 4);
    EXPECT_EQ(offsetof(SynthProgram, foldback), 32u + 139 * 4);
}

TEST(SynthProgram, InitProgramSetsTheDefaults)
{
    const SynthProgram p = Fresh();
    EXPECT_STREQ(p.name, "");
    EXPECT_EQ(p.volume, 0.5f);
    EXPECT_EQ(p.pan, 0.5f);
    EXPECT_EQ(p.mono, 0);
    EXPECT_EQ(p.cutoff, 1.0f);
    EXPECT_EQ(p.q, 0.0f);
    EXPECT_EQ(p.mix, 0.5f);
    EXPECT_EQ(p.mod1, 1.0f);
    EXPECT_EQ(p.ratio2, 1.0f);
    EXPECT_EQ(p.pmRatio, 1);
    EXPECT_EQ(p.filterScale, 1);
    EXPECT_EQ(p.filterEnv, 1.0f);
    EXPECT_EQ(p.lfo[0].wave, 1);
    EXPECT_EQ(p.lfo[1].wave, 0);
    for (const SynthLfo& lfo : p.lfo)
    {
        EXPECT_EQ(lfo.restart, 1);
        EXPECT_EQ(lfo.sync, 0);
        EXPECT_EQ(lfo.rate, 0.57f);
        EXPECT_EQ(lfo.syncBeats, 1);
        EXPECT_EQ(lfo.syncDiv, 4);
    }
    EXPECT_EQ(p.env[0].release, 0.0f);
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(p.env[k].attack, 0.0f);
        EXPECT_EQ(p.env[k].decay, 0.32f);
        EXPECT_EQ(p.env[k].sustain, 1.0f);
        if (k > 0)
        {
            EXPECT_EQ(p.env[k].release, 1.0f);
        }
    }
    EXPECT_EQ(p.bendDown, 2);
    EXPECT_EQ(p.bendUp, 2);
    EXPECT_EQ(p.chorusDelay, 20);
    EXPECT_EQ(p.chorusPhase, 90);
    EXPECT_EQ(p.chorusRate, 16);
    EXPECT_EQ(p.chorusDepth, 0.1f);
    EXPECT_EQ(p.delayFeedback, 0.5f);
    EXPECT_EQ(p.delayLR, 1.0f);
    EXPECT_EQ(p.delayBeats, 1);
    EXPECT_EQ(p.delayDiv, 4);
    EXPECT_EQ(p.reverbSize, 40);
    EXPECT_EQ(p.reverbPreDelay, 20);
    EXPECT_EQ(p.phaserRate, 0.1f);
    EXPECT_EQ(p.phaserFeedback, 0.5f);
    EXPECT_EQ(p.phaserStages, 4);
    EXPECT_EQ(p.phaserLow, 200);
    EXPECT_EQ(p.phaserHigh, 500);
    EXPECT_EQ(p.foldback, 0.5f);
    EXPECT_EQ(p.eqLow, 100);
    EXPECT_EQ(p.eqMid, 100);
    EXPECT_EQ(p.eqHigh, 100);
    EXPECT_EQ(p.eqFreqLow, 40);
    EXPECT_EQ(p.eqFreqHigh, 100);
    EXPECT_EQ(p.eqGain, 100);
}

TEST(SynthProgram, EveryFieldNotListedStaysZero)
{
    // Count the non-zero words: exactly the defaults listed above.
    const SynthProgram p = Fresh();
    const auto* words = reinterpret_cast<const uint32_t*>(reinterpret_cast<const char*>(&p) + 32);
    int nonZero = 0;
    for (int i = 0; i < 146; ++i)
        nonZero += words[i] != 0;
    // 11 voice scalars, 17 LFO words (one wave, four each of restart, rate,
    // beats, division), 11 envelope words (4 decays, 4 sustains, 3 releases),
    // 2 bend ranges and 22 effect settings.
    EXPECT_EQ(nonZero, 11 + 17 + 11 + 2 + 22);
}

TEST(SynthProgram, NamesAreCutTo31Characters)
{
    SynthProgram p = Fresh();
    SetProgramName(p, "0123456789012345678901234567890123456789");
    EXPECT_EQ(std::strlen(p.name), 31u);
    EXPECT_EQ(std::string(p.name), "0123456789012345678901234567890");
    SetProgramName(p, "ab");
    EXPECT_STREQ(p.name, "ab");
    EXPECT_EQ(p.name[3], 0) << "the rest of the field is cleared";
    SetProgramName(p, nullptr);
    EXPECT_STREQ(p.name, "");
}
