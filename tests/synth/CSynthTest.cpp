#include "PatchTestSupport.h"

#include "io/CMemoryStream.h"
#include "io/HeapString.h"
#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string TakeString(char* text)
{
    std::string copy = text;
    FreeString(text);
    return copy;
}

}  // namespace

TEST(CSynth, ConstructionState)
{
    CSynth synth;
    EXPECT_EQ(synth.sampleRate, 44100);
    EXPECT_EQ(synth.tempo, 120.0f);
    EXPECT_EQ(synth.blockSize, 1024);
    EXPECT_EQ(synth.GetProgram(), 0);
    EXPECT_EQ(synth.currentProgram, &synth.programs[0]);
    EXPECT_EQ(synth.lastNote, -1);
    // Loading the factory bank raised it; an editor opened later rebuilds anyway.
    EXPECT_EQ(synth.programsChanged, 1);
}

TEST(CSynth, ProgramSelectionIgnoresIndicesOutside0To63)
{
    CSynth synth;
    synth.SetProgram(63);
    EXPECT_EQ(synth.GetProgram(), 63);
    EXPECT_EQ(synth.currentProgram, &synth.programs[63]);
    synth.SetProgram(64);
    synth.SetProgram(-1);
    synth.SetProgram(INT32_MIN);
    EXPECT_EQ(synth.GetProgram(), 63);
    EXPECT_EQ(synth.currentProgram, &synth.programs[63]);
}

TEST(CSynth, EditsGoToTheStoredProgramItself)
{
    CSynth synth;
    synth.SetProgram(7);
    synth.currentProgram->cutoff = 0.25f;
    const float other = synth.programs[8].cutoff;
    synth.SetProgram(8);
    synth.SetProgram(7);
    EXPECT_EQ(synth.programs[7].cutoff, 0.25f);
    EXPECT_EQ(synth.programs[8].cutoff, other);
}

TEST(CSynth, OnlyAProgramChangeRaisesTheFlag)
{
    CSynth synth;
    synth.programsChanged = 0;
    synth.SetProgram(99);
    EXPECT_EQ(synth.programsChanged, 0);
    synth.SetProgram(4);
    EXPECT_EQ(synth.programsChanged, 1);
}

TEST(CSynth, ProgramNamesAreCutAndOwnershipPasses)
{
    CSynth synth;
    synth.programsChanged = 0;
    synth.SetProgramName(3, NewString("A forty character program name, too long"));
    EXPECT_EQ(TakeString(synth.GetProgramName(3)), "A forty character program name,");
    EXPECT_EQ(synth.programsChanged, 1);
    synth.SetProgramName(64, NewString("ignored"));
    synth.SetProgramName(-5, NewString("ignored"));
    EXPECT_EQ(TakeString(synth.GetProgramName(64)), "");
    EXPECT_EQ(TakeString(synth.GetProgramName(-1)), "");
}

TEST(CSynth, ParametersActOnTheCurrentProgramOnly)
{
    CSynth synth;
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    ASSERT_GE(cutoff, 0);
    EXPECT_EQ(synth.GetParameterCount(), kParameterTableSize);
    synth.SetProgram(5);
    const SynthProgram untouched = synth.programs[0];

    synth.SetParameter(cutoff, 0.25f);
    EXPECT_EQ(synth.programs[5].cutoff, 0.25f);
    EXPECT_EQ(std::memcmp(&synth.programs[0], &untouched, sizeof untouched), 0);
    EXPECT_EQ(synth.GetParameter(cutoff), 0.25f);
    EXPECT_EQ(TakeString(synth.GetParameterName(cutoff)), "Filter Cutoff");
    EXPECT_EQ(TakeString(synth.GetParameterDisplay(cutoff)), "25");
    EXPECT_EQ(TakeString(synth.GetParameterLabel(cutoff)), "%");

    EXPECT_TRUE(synth.SetParameterFromText(cutoff, "70"));
    EXPECT_EQ(synth.programs[5].cutoff, 0.7f);
    EXPECT_FALSE(synth.SetParameterFromText(cutoff, "170"));
    EXPECT_FALSE(synth.SetParameterFromText(cutoff, nullptr));
    EXPECT_EQ(synth.programs[5].cutoff, 0.7f);

    synth.SetProgram(0);
    EXPECT_FLOAT_EQ(synth.GetParameter(cutoff), synth.programs[0].cutoff);
}

TEST(CSynth, ParameterIndexesOutsideTheTableAreHarmless)
{
    CSynth synth;
    SynthProgram before[CSynth::kProgramCount];
    std::memcpy(before, synth.programs, sizeof before);
    for (int32_t index : {-1, CSynth::kParameterCount, 1 << 30})
    {
        synth.SetParameter(index, 0.75f);
        EXPECT_FALSE(synth.SetParameterFromText(index, "1"));
        EXPECT_EQ(synth.GetParameter(index), 0.0f);
        EXPECT_EQ(TakeString(synth.GetParameterName(index)), "");
        EXPECT_EQ(TakeString(synth.GetParameterDisplay(index)), "");
        EXPECT_EQ(TakeString(synth.GetParameterLabel(index)), "");
    }
    EXPECT_EQ(std::memcmp(before, synth.programs, sizeof before), 0);
}

TEST(CSynth, ClearAllProgramsNamesAndResetsEveryRecord)
{
    CSynth synth;
    synth.SetProgram(12);
    synth.programsChanged = 0;
    synth.ClearAllPrograms();
    EXPECT_EQ(synth.GetProgram(), 12);
    EXPECT_EQ(synth.currentProgram, &synth.programs[12]);
    EXPECT_EQ(synth.programsChanged, 1);
    for (int i = 0; i < CSynth::kProgramCount; ++i)
    {
        SynthProgram expected = PatchTest::DefaultProgram(("program-" + std::to_string(i + 1)).c_str());
        EXPECT_EQ(PatchTest::DifferentFields(synth.programs[i], expected), std::vector<std::string>()) << i;
    }
    EXPECT_STREQ(synth.programs[0].name, "program-1");
    EXPECT_STREQ(synth.programs[63].name, "program-64");
}

TEST(CSynth, LoadFactoryBankRestoresEveryProgramAndSelectsProgramZero)
{
    CSynth reference;
    CSynth synth;
    synth.ClearAllPrograms();
    synth.programs[40].volume = 0.01f;
    synth.SetProgram(40);
    synth.programsChanged = 0;
    synth.LoadFactoryBank();
    EXPECT_EQ(synth.GetProgram(), 0);
    EXPECT_EQ(synth.currentProgram, &synth.programs[0]);
    EXPECT_EQ(synth.programsChanged, 1);
    for (int i = 0; i < CSynth::kProgramCount; ++i)
        EXPECT_TRUE(PatchTest::DifferentFields(synth.programs[i], reference.programs[i]).empty()) << i;
}

TEST(CSynth, BankChunkRoundTripsIntoAnotherInstance)
{
    CSynth source;
    source.programs[3] = PatchTest::MarkedProgram("Marked");
    // Fields no section carries stay at their defaults on both sides.
    source.programs[3].glide = 0.0f;
    source.programs[3].glideLegatoOnly = 0;
    source.programs[3].lfo1Noise = 0.0f;
    source.programs[3].lfo1Mix = 0.0f;
    const SynthProgram defaults = PatchTest::DefaultProgram();
    source.programs[3].eqLow = defaults.eqLow;
    source.programs[3].eqMid = defaults.eqMid;
    source.programs[3].eqHigh = defaults.eqHigh;
    source.programs[3].eqFreqLow = defaults.eqFreqLow;
    source.programs[3].eqFreqHigh = defaults.eqFreqHigh;
    source.programs[3].eqGain = defaults.eqGain;
    source.SetProgram(33);
    CMemoryStream stream;
    source.SaveState(&stream, false);

    CSynth target;
    target.ClearAllPrograms();
    stream.Seek(0, CStream::FromStart);
    target.LoadState(&stream, false);
    EXPECT_EQ(target.GetProgram(), 33);
    for (int i = 0; i < CSynth::kProgramCount; ++i)
    {
        EXPECT_EQ(PatchTest::DifferentFields(target.programs[i], source.programs[i]), std::vector<std::string>())
            << i;
    }
}

TEST(CPluginBase, DefaultsAndStringOwnership)
{
    std::unique_ptr<CPluginBase> base(new CPluginBase);
    EXPECT_EQ(base->GetProgram(), 0);
    EXPECT_EQ(base->GetParameter(2), 0.0f);
    EXPECT_EQ(TakeString(base->GetProgramName(0)), "");
    EXPECT_EQ(TakeString(base->GetParameterName(0)), "");
    EXPECT_EQ(TakeString(base->GetParameterLabel(0)), "");
    EXPECT_EQ(base->GetParameterCount(), 0);
    EXPECT_FALSE(base->SetParameterFromText(0, "1"));
    base->SetProgramName(0, NewString("freed by the base"));
    EXPECT_EQ(base->SetBlockSize(64), 64);
}

TEST(CSynth, TempoOutsideZeroTo500LeavesTheDelayTempoAlone)
{
    CSynth synth;
    EXPECT_EQ(synth.effects.Delay().LineLength(), 22050);  // one beat at 120 BPM
    synth.SetTempo(0.0f);
    synth.SetTempo(500.0f);
    synth.SetTempo(-60.0f);
    synth.SetTempo(std::nanf(""));
    EXPECT_EQ(synth.tempo, 120.0f);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 22050);
    synth.SetTempo(60.0f);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 44100);
    synth.SetTempo(499.5f);
    EXPECT_EQ(synth.tempo, 499.5f);
    synth.SetTempo(0.001f);
    EXPECT_EQ(synth.tempo, 0.001f);
}

TEST(CSynth, SampleRateReachesTheEffects)
{
    CSynth synth;
    synth.SetSampleRate(48000);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 24000);
    synth.SetSampleRate(0);
    EXPECT_EQ(synth.effects.Delay().LineLength(), 24000);
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
