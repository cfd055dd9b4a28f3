#include "PatchTestSupport.h"

#include "support/TakeString.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

// Indices outside 0..63 are ignored; names are cut and change hands.
TEST(CSynth, ProgramSelectionAndNames)
{
    CSynth synth;
    synth.programsChanged = 0;
    synth.SetProgram(99);
    synth.SetProgram(63);
    synth.SetProgram(-1);
    EXPECT_EQ(synth.programsChanged, 1);
    EXPECT_EQ(synth.currentProgram, &synth.programs[63]);
    synth.SetProgramName(3, NewString("A forty character program name, too long"));
    EXPECT_EQ(TakeString(synth.GetProgramName(3)), "A forty character program name,");
    synth.SetProgramName(64, NewString("ignored"));
    EXPECT_EQ(TakeString(synth.GetProgramName(-1)), "");
}

TEST(CSynth, ParametersActOnTheCurrentProgramOnlyAndOnlyWithinTheTable)
{
    CSynth synth;
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    ASSERT_GE(cutoff, 0);
    synth.SetProgram(5);
    const SynthProgram untouched = synth.programs[0];

    synth.SetParameter(cutoff, 0.25f);
    EXPECT_EQ(synth.programs[5].cutoff, 0.25f);
    EXPECT_EQ(std::memcmp(&synth.programs[0], &untouched, sizeof untouched), 0);
    EXPECT_EQ(synth.GetParameter(cutoff), 0.25f);
    EXPECT_EQ(TakeString(synth.GetParameterDisplay(cutoff)), "25");

    EXPECT_TRUE(synth.SetParameterFromText(cutoff, "70"));
    EXPECT_EQ(synth.programs[5].cutoff, 0.7f);

    synth.SetProgram(0);
    EXPECT_FLOAT_EQ(synth.GetParameter(cutoff), synth.programs[0].cutoff);

    // Indexes outside the table read as nothing and write nothing.
    SynthProgram before[CSynth::kProgramCount];
    std::memcpy(before, synth.programs, sizeof before);
    for (int32_t index : {-1, CSynth::kParameterCount, 1 << 30})
    {
        synth.SetParameter(index, 0.75f);
        EXPECT_FALSE(synth.SetParameterFromText(index, "1"));
        EXPECT_EQ(synth.GetParameter(index), 0.0f);
        EXPECT_EQ(TakeString(synth.GetParameterDisplay(index)), "");
    }
    EXPECT_EQ(std::memcmp(before, synth.programs, sizeof before), 0);
}

TEST(CSynth, BankChunkRoundTripsIntoAnotherInstance)
{
    CSynth source;
    source.programs[3] = PatchTest::Stored(PatchTest::MarkedProgram("Marked"));
    source.SetProgram(33);
    CSynth target;
    target.ClearAllPrograms();
    PatchTest::LoadChunk(target, PatchTest::SaveChunk(source, false), false);
    EXPECT_EQ(target.GetProgram(), 33);
    for (int i = 0; i < CSynth::kProgramCount; ++i)
    {
        EXPECT_EQ(PatchTest::DifferentFields(target.programs[i], source.programs[i]), std::vector<std::string>()) << i;
    }
}

TEST(CSynth, TempoOutsideZeroTo500LeavesTheDelayTempoAlone)
{
    CSynth synth;
    EXPECT_EQ(synth.effects.Delay().LineLength(), 22050);  // one beat at 120 BPM
    synth.SetTempo(500.0f);
    synth.SetTempo(std::nanf(""));
    EXPECT_EQ(synth.tempo, 120.0f);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 22050);
    synth.SetTempo(499.5f);
    EXPECT_EQ(synth.tempo, 499.5f);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 5297);  // 44100 x 60 / 499.5, truncated
}

TEST(CSynth, ProcessBlockRunsTheEffectChainOverTheBuffers)
{
    // No voice sounds: what the buffers hold passes through the chain.
    CSynth synth;
    synth.currentProgram->fxDelay = 1.0f;  // feedback 0.5, one beat
    std::vector<float> left(30000, 0.0f);
    std::vector<float> right(30000, 0.0f);
    left[0] = 0.8f;
    for (int32_t start = 0; start < 30000; start += 1000)
    {
        float* outputs[2] = {left.data() + start, right.data() + start};
        synth.ProcessBlock(nullptr, outputs, 1000);
    }
    // ...and then through the output's DC blocker.
    std::vector<float> expected(30000, 0.0f);
    expected[0] = 0.8f;
    expected[22050] = 0.4f;
    MDCBlocker blocker;
    blocker.Process(expected.data(), 30000);
    EXPECT_EQ(left, expected);
    EXPECT_EQ(synth.peakLeft, expected[0]);
    EXPECT_GT(left[22050], 0.399f);
}
