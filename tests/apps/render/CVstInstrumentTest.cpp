#include "CVstInstrument.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <vector>

// Each library that cannot serve as an instrument, with the reason the user is shown.
TEST(CVstInstrument, RefusesWhatIsNoInstrument)
{
    TempDir dir;
    const std::string fake = dir.Write("fake.so", "not a library");
    const std::string noEntry = FIXTURE_NOENTRY;
    const std::string effect = FIXTURE_EFFECT;
    const struct
    {
        std::string path;
        std::string error;  // a whole message, or its start where it ends in "("
    } cases[] = {
        {fake, fake + ": not a VST 2.4 plug-in ("},
        {noEntry, noEntry + ": not a VST 2.4 plug-in (the library exports neither VSTPluginMain nor main)"},
        {effect, effect + ": a VST 2.4 effect, not an instrument"},
        {dir.File("none.so"), dir.File("none.so") + ": no such file"},
        {dir.Path(), dir.Path() + ": not a file"},
    };
    for (const auto& c : cases)
    {
        CVstInstrument instrument;
        EXPECT_FALSE(instrument.Load(c.path, 44100, 64)) << c.path;
        if (c.error.back() == '(')
            EXPECT_EQ(instrument.Error().rfind(c.error, 0), 0u) << instrument.Error();
        else
            EXPECT_EQ(instrument.Error(), c.error);
    }
}

TEST(CVstInstrument, ListsAndFindsProgramsByName)
{
    CVstInstrument gate;
    ASSERT_TRUE(gate.Load(FIXTURE_GATE, 44100, 64)) << gate.Error();
    EXPECT_EQ(gate.ProgramCount(), 4);
    EXPECT_EQ(gate.ProgramName(2), "Gate 2");
    EXPECT_EQ(gate.FindProgram("Gate 3"), 3);
    EXPECT_EQ(gate.FindProgram("GATE 1"), 1);
    EXPECT_EQ(gate.FindProgram("Gate"), -1);
    // Asking for a name leaves the current program alone.
    gate.SetProgram(1);
    EXPECT_EQ(gate.ProgramName(3), "Gate 3");
    EXPECT_EQ(gate.Host().GetProgram(), 1);
}

// A mono instrument's output is copied to the right channel; more frames than
// the block size are refused with nothing written.
TEST(CVstInstrument, CopiesAMonoInstrumentToBothChannels)
{
    CVstInstrument mono;
    ASSERT_TRUE(mono.Load(FIXTURE_MONO, 44100, 32)) << mono.Error();
    std::vector<float> left(33, -1.0f), right(33, -1.0f);
    EXPECT_FALSE(mono.Process(left.data(), right.data(), 33));
    EXPECT_EQ(left[0], -1.0f);
    ASSERT_TRUE(mono.QueueMidi(10, 0x90, 60, 100));
    ASSERT_TRUE(mono.Process(left.data(), right.data(), 32));
    EXPECT_EQ(left[9], 0.0f);
    EXPECT_EQ(left[10], 0.125f);
    EXPECT_EQ(right, left);
}
