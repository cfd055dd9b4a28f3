#include "EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace enginetest;

namespace {

std::unique_ptr<CSynth> SineSynth()
{
    auto synth = std::make_unique<CSynth>();
    MakeSineProgram(*synth->currentProgram);
    return synth;
}

}  // namespace

TEST(BlockRender, Note69Is440Hertz)
{
    auto synth = SineSynth();
    synth->HandleMidi(NoteOn(69));
    const Stereo out = Render(*synth, 44100);
    EXPECT_NEAR(MeasureFrequency(out.left, 4410, 44100.0), 440.0, 0.01);
}

TEST(BlockRender, CoarseShiftsBothOscillatorsBySemitones)
{
    auto synth = SineSynth();
    synth->currentProgram->coarse = 12;
    synth->HandleMidi(NoteOn(57));
    const Stereo out = Render(*synth, 44100);
    EXPECT_NEAR(MeasureFrequency(out.left, 4410, 44100.0), 440.0, 0.01);
}

TEST(BlockRender, Coarse2TransposesOscillator1Only)
{
    auto synth = SineSynth();
    synth->currentProgram->coarse2 = 7;
    synth->currentProgram->mix = 0.0f;  // oscillator 1 alone
    synth->HandleMidi(NoteOn(69));
    const Stereo out = Render(*synth, 44100);
    EXPECT_NEAR(MeasureFrequency(out.left, 4410, 44100.0), 440.0 * std::pow(2.0, 7.0 / 12.0), 0.02);

    auto second = SineSynth();
    second->currentProgram->coarse2 = 7;
    second->currentProgram->mix = 1.0f;  // oscillator 2 alone
    second->HandleMidi(NoteOn(69));
    const Stereo out2 = Render(*second, 44100);
    EXPECT_NEAR(MeasureFrequency(out2.left, 4410, 44100.0), 440.0, 0.01);
}

TEST(BlockRender, DetuneSpreadsTheOscillatorsSymmetrically)
{
    // detune 1 with all per-note depths 0: D = 1 * 1 * 0.5 semitone.
    for (float mix : {0.0f, 1.0f})
    {
        auto synth = SineSynth();
        synth->currentProgram->detune = 1.0f;
        synth->currentProgram->mix = mix;
        synth->HandleMidi(NoteOn(69));
        const Stereo out = Render(*synth, 44100);
        const double expected = 440.0 * std::pow(2.0, (mix == 0.0f ? -0.5 : 0.5) / 12.0);
        EXPECT_NEAR(MeasureFrequency(out.left, 4410, 44100.0), expected, 0.02) << "mix " << mix;
    }
}

TEST(BlockRender, ThirtyThreeNotesGiveThirtyTwoVoices)
{
    auto synth = SineSynth();
    for (int note = 30; note < 63; ++note)
        synth->HandleMidi(NoteOn(note));
    EXPECT_EQ(synth->voicePool.Count(), 32);
    EXPECT_EQ(synth->voicePool.VoiceAt(31).note, 61);
}

TEST(BlockRender, TwoFreshSynthsRenderIdenticalBytes)
{
    auto a = std::make_unique<CSynth>();
    auto b = std::make_unique<CSynth>();
    for (CSynth* synth : {a.get(), b.get()})
    {
        SynthProgram& p = *synth->currentProgram;
        p.rndVolume = 1.0f;
        p.rndPan = 1.0f;
        p.noise = 0.5f;
        p.lfo[1].wave = 4;
        p.lfo2Cutoff = 1.0f;
        synth->HandleMidi(NoteOn(60));
        synth->HandleMidi(NoteOn(64, 80));
    }
    const Stereo outA = Render(*a, 20000);
    const Stereo outB = Render(*b, 20000);
    ASSERT_EQ(outA.left.size(), outB.left.size());
    EXPECT_EQ(std::memcmp(outA.left.data(), outB.left.data(), outA.left.size() * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outA.right.data(), outB.right.data(), outA.right.size() * sizeof(float)), 0);
    float peak = 0.0f;
    for (float s : outA.left)
        peak = std::fmax(peak, std::fabs(s));
    EXPECT_GT(peak, 0.05f);
}
