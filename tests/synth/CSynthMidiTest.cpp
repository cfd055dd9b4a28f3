#include "engine/EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using enginetest::NoteOff;
using enginetest::NoteOn;

namespace
{

uint32_t Controller(int32_t number, int32_t value, int32_t channel)
{
    return 0xB0u | static_cast<uint32_t>(channel) | static_cast<uint32_t>(number) << 8 |
           static_cast<uint32_t>(value) << 16;
}

float RenderPeak(CSynth& synth, int32_t frames)
{
    std::vector<float> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
    float* outputs[2] = {left.data(), right.data()};
    synth.peakLeft = synth.peakRight = 0.0f;
    synth.ProcessBlock(nullptr, outputs, frames);
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
    for (size_t i = 0; i < left.size(); ++i)
    {
        peakLeft = std::max(peakLeft, std::fabs(left[i]));
        peakRight = std::max(peakRight, std::fabs(right[i]));
    }
    // The editor's meter reads the same peaks.
    EXPECT_EQ(synth.peakLeft, peakLeft);
    EXPECT_EQ(synth.peakRight, peakRight);
    return std::max(peakLeft, peakRight);
}

}  // namespace

// A held chord, or one the pedal holds, on the default program with the
// reverb on; each message comes on channel 4, which plays like any other.
TEST(CSynthMidi, ChannelModeMessagesReleaseOrSilenceOnAnyChannel)
{
    const struct
    {
        const char* what;
        bool pedal;
        uint32_t message;
        bool silenced;  // false: released, tails ringing on
    } cases[] = {
        {"all notes off", false, Controller(123, 0, 3), false},
        {"pedal up", true, Controller(64, 0, 3), false},
        {"reset all controllers", true, Controller(121, 0, 3), false},
        {"all sound off", false, Controller(120, 0, 3), true},
    };
    for (const auto& c : cases)
    {
        CSynth synth;
        enginetest::MakeDefaultProgram(*synth.currentProgram);
        synth.currentProgram->fxReverb = 0.5f;
        synth.HandleMidi(Controller(1, 127, 0));
        if (c.pedal)
            synth.HandleMidi(Controller(64, 127, 0));
        synth.HandleMidi(NoteOn(60));
        synth.HandleMidi(NoteOn(64));
        if (c.pedal)
        {
            synth.HandleMidi(NoteOff(60));
            synth.HandleMidi(NoteOff(64));
        }
        RenderPeak(synth, 4099);
        synth.HandleMidi(c.message);
        if (c.silenced)
        {
            EXPECT_EQ(synth.voicePool.Count(), 0) << c.what;
            EXPECT_EQ(RenderPeak(synth, 512), 0.0f) << c.what;
            continue;
        }
        ASSERT_EQ(synth.voicePool.Count(), 2) << c.what;
        for (int32_t i = 0; i < 2; ++i)
            EXPECT_EQ(synth.voicePool.VoiceAt(i).envelopes[0].stage, Envelope::kRelease) << c.what;
        EXPECT_GT(RenderPeak(synth, 512), 0.0f) << c.what;
    }
    CSynth synth;
    synth.HandleMidi(Controller(1, 127, 0));
    synth.HandleMidi(0xE0u | 0x7Fu << 8 | 0x7Fu << 16);
    synth.HandleMidi(Controller(121, 0, 5));
    EXPECT_EQ(synth.modWheel, 0.0f);
    EXPECT_EQ(synth.pitchBend, 0.0f);
}

TEST(CSynthMidi, ProgramChangeOnAnyChannelSelectsOneOfTheBank)
{
    CSynth synth;
    synth.HandleMidi(0xC2u | 5u << 8);
    EXPECT_EQ(synth.GetProgram(), 5);
    synth.HandleMidi(0xCFu | 63u << 8);
    EXPECT_EQ(synth.GetProgram(), 63);
    synth.HandleMidi(0xC0u | 64u << 8);  // beyond the bank
    EXPECT_EQ(synth.GetProgram(), 63);
}
