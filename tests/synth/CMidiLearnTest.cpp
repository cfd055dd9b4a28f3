#include "synth/CMidiLearn.h"

#include "PatchTestSupport.h"
#include "synth/CSynth.h"
#include "synth/ParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace PatchTest;

namespace
{

void Controller(CSynth& synth, uint32_t controller, uint32_t value)
{
    synth.HandleMidi(0xB0u | controller << 8 | value << 16);
}

}  // namespace

TEST(CMidiLearn, TheWheelThePedalAndChannelModeAreNeverLearned)
{
    for (int32_t controller : {1, 64, 120, 127, -1, 128})
        EXPECT_FALSE(CMidiLearn::Learnable(controller)) << controller;
    CMidiLearn learn;
    learn.Arm(5);
    EXPECT_EQ(learn.Take(64), CMidiLearn::kNone);
    EXPECT_EQ(learn.Armed(), 5);  // still waiting for a learnable one
    EXPECT_EQ(learn.Take(74), 5);
    EXPECT_EQ(learn.Take(71), CMidiLearn::kNone);  // no longer armed
}

TEST(CMidiLearn, OneControllerPerParameterAndOneParameterPerController)
{
    CMidiLearn learn;
    learn.Arm(5);
    learn.Take(74);
    learn.Arm(5);  // learned again elsewhere: the old controller lets go
    learn.Take(71);
    EXPECT_EQ(learn.ControllerOf(5), 71);
    EXPECT_EQ(learn.ParameterOf(74), CMidiLearn::kNone);
    learn.Arm(9);  // the controller moves another parameter now
    learn.Take(71);
    EXPECT_EQ(learn.ControllerOf(5), CMidiLearn::kNone);
    EXPECT_EQ(learn.ParameterOf(71), 9);
    EXPECT_EQ(learn.BindingCount(), 1);

    learn.Arm(3);
    learn.Take(20);
    learn.Forget(9);
    EXPECT_EQ(learn.ParameterOf(71), CMidiLearn::kNone);
    EXPECT_EQ(learn.ParameterOf(20), 3);
}

TEST(CMidiLearnSynth, ALearnedControllerSweepsItsKnobOverTheWholeRange)
{
    const int32_t cutoff = FindParameterByName("Filter Cutoff");
    ASSERT_GE(cutoff, 0);
    const ParameterInfo& info = *FindParameter(cutoff);
    auto synth = std::make_unique<CSynth>();
    synth->midiLearn.Arm(cutoff);
    Controller(*synth, 74, 0);
    EXPECT_EQ(KnobValue(*synth->currentProgram, info), info.minimum);
    Controller(*synth, 74, 127);
    EXPECT_EQ(KnobValue(*synth->currentProgram, info), info.maximum);
    Controller(*synth, 1, 0);  // the mod wheel stays the mod wheel
    EXPECT_EQ(KnobValue(*synth->currentProgram, info), info.maximum);
}

TEST(CMidiLearnSynth, BindingsTravelInTheBankChunkOnly)
{
    auto synth = std::make_unique<CSynth>();
    const Bytes plain = SaveChunk(*synth, false);
    const Bytes program = SaveChunk(*synth, true);
    EXPECT_EQ(plain.size(), 74532u);  // no bindings: the bytes of every earlier build

    synth->midiLearn.Bind(74, 3);
    synth->midiLearn.Bind(2, 40);
    const Bytes bank = SaveChunk(*synth, false);
    ASSERT_EQ(bank.size(), plain.size() + 4 + 5 + 4 + 4 + 2 * 8);
    EXPECT_TRUE(std::equal(plain.begin(), plain.end(), bank.begin()));
    CByteBuilder map;
    map.Section("ccmap", 4 + 2 * 8).U32(2).U32(2).U32(40).U32(74).U32(3);
    EXPECT_EQ(Bytes(bank.begin() + static_cast<long>(plain.size()), bank.end()), map.Get());

    EXPECT_EQ(SaveChunk(*synth, true), program);

    auto other = std::make_unique<CSynth>();
    LoadChunk(*other, bank, false);
    EXPECT_EQ(other->midiLearn.ParameterOf(74), 3);
    EXPECT_EQ(other->midiLearn.ParameterOf(2), 40);
    EXPECT_EQ(SaveChunk(*other, false), bank);
}

TEST(CMidiLearnSynth, ADamagedMapBindsNothingAndTheProgramsStillLoad)
{
    auto source = std::make_unique<CSynth>();
    source->SetProgram(4);
    const Bytes plain = SaveChunk(*source, false);
    const auto withMap = [&](const Bytes& section)
    {
        Bytes bank = plain;
        bank.insert(bank.end(), section.begin(), section.end());
        return bank;
    };
    const Bytes damaged[] = {
        CByteBuilder().Section("ccmap", 4 + 8).U32(2).U32(74).U32(3).Get(),                    // count beyond the size
        CByteBuilder().Section("ccmap", 4 + 8).U32(1).U32(64).U32(3).Get(),                    // the sustain pedal
        CByteBuilder().Section("ccmap", 4 + 8).U32(1).U32(74).U32(kParameterTableSize).Get(),  // no such parameter
        CByteBuilder().Section("ccmap", 4 + 16).U32(2).U32(74).U32(3).U32(75).U32(3).Get(),    // one parameter twice
        CByteBuilder().Section("ccmap", 4 + 8).U32(1).U32(74).Get(),                           // cut short
        CByteBuilder().Section("ccmap", 2).U32(1).Get(),                                       // smaller than its count
    };
    for (const Bytes& section : damaged)
    {
        auto synth = std::make_unique<CSynth>();
        synth->midiLearn.Bind(20, 7);
        LoadChunk(*synth, withMap(section), false);
        EXPECT_EQ(synth->midiLearn.BindingCount(), 1);
        EXPECT_EQ(synth->midiLearn.ParameterOf(20), 7);
        EXPECT_EQ(synth->GetProgram(), 4);
        EXPECT_EQ(SaveChunk(*synth, false).size(), plain.size() + 4 + 5 + 4 + 4 + 8);
    }
}
