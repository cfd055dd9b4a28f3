#include "EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

using namespace enginetest;

namespace {

bool AllFinite(const Stereo& out)
{
    for (size_t i = 0; i < out.left.size(); ++i)
    {
        if (!std::isfinite(out.left[i]) || !std::isfinite(out.right[i]))
            return false;
    }
    return true;
}

// Every phase, rate and state of the sounding voices is an ordinary number.
bool VoicesFinite(const CSynth& synth)
{
    for (int32_t i = 0; i < synth.voicePool.Count(); ++i)
    {
        const Voice& v = synth.voicePool.VoiceAt(i);
        for (double value : {v.phase1, v.phase2, v.increment1, v.increment2, v.lastOsc2, double{v.filter.low},
                             double{v.filter.band}, double{v.filter.high}, double{v.amplitude.state},
                             double{v.cutoff.state}, double{v.pm.state}, double{v.phase.state},
                             double{v.envelopes[0].value}, double{v.envelopes[1].value}, double{v.envelopes[2].value},
                             v.lfos[0].phase, v.lfos[1].phase, v.lfos[2].phase, v.lfos[0].increment,
                             v.lfos[1].countdown, v.lfos[2].countdown})
        {
            if (!std::isfinite(value) || std::fabs(value) > 1e12)
                return false;
        }
    }
    return true;
}

// Every word of the program after the name set to what next() gives.
template <class Next>
void Poison(SynthProgram& p, Next next)
{
    uint8_t* words = reinterpret_cast<uint8_t*>(&p) + SynthProgram::kNameBytes;
    for (size_t at = 0; at + 4 <= sizeof p - SynthProgram::kNameBytes; at += 4)
    {
        const uint32_t word = next();
        std::memcpy(words + at, &word, 4);
    }
}

}  // namespace

// Each case plays one note on the sine program and measures the frequency.
// Detune 1 with all per-note depths 0 moves the oscillators 0.5 semitone
// apart either way; mix 0 is oscillator 1 alone, 1 oscillator 2 alone.
TEST(BlockRender, PitchFollowsNoteTranspositionsDetuneAndBend)
{
    struct Case
    {
        int32_t note, coarse, coarse2;
        float detune, mix;
        uint32_t bend;  // pitch-bend message, 0 for none
        int32_t bendDown, bendUp;
        double hertz, tolerance;
    };
    const Case cases[] = {
        {69, 0, 0, 0.0f, 0.5f, 0, 2, 2, 440.0, 0.01},
        {57, 12, 0, 0.0f, 0.5f, 0, 2, 2, 440.0, 0.01},
        {69, 0, 7, 0.0f, 0.0f, 0, 2, 2, 440.0 * std::pow(2.0, 7.0 / 12.0), 0.02},
        {69, 0, 7, 0.0f, 1.0f, 0, 2, 2, 440.0, 0.01},
        {69, 0, 0, 1.0f, 0.0f, 0, 2, 2, 440.0 * std::pow(2.0, -0.5 / 12.0), 0.02},
        {69, 0, 0, 1.0f, 1.0f, 0, 2, 2, 440.0 * std::pow(2.0, 0.5 / 12.0), 0.02},
        {69, 0, 0, 0.0f, 0.5f, 0xE0u, 12, 2, 220.0, 0.01},  // fully down
        {69, 0, 0, 0.0f, 0.5f, 0xE0u | 0x7Fu << 8 | 0x7Fu << 16, 2, 12, 440.0 * std::pow(2.0, 8191.0 / 8192.0), 0.02},
    };
    for (const Case& c : cases)
    {
        auto synth = SineSynth();
        SynthProgram& p = *synth->currentProgram;
        p.coarse = c.coarse;
        p.coarse2 = c.coarse2;
        p.detune = c.detune;
        p.mix = c.mix;
        p.bendDown = c.bendDown;
        p.bendUp = c.bendUp;
        if (c.bend)
            synth->HandleMidi(c.bend);
        synth->HandleMidi(NoteOn(c.note));
        EXPECT_NEAR(MeasureFrequency(Render(*synth, 44100).left, 4410, 44100.0), c.hertz, c.tolerance)
            << "note " << c.note << " coarse " << c.coarse << "/" << c.coarse2 << " detune " << c.detune << " mix "
            << c.mix << " bend " << c.bend;
    }
}

// The generator and every random state belong to the instance.
TEST(BlockRender, TwoFreshSynthsRenderIdenticalBytes)
{
    Stereo out[2];
    for (Stereo& o : out)
    {
        CSynth synth;
        SynthProgram& p = *synth.currentProgram;
        p.rndVolume = p.rndPan = p.lfo2Cutoff = 1.0f;
        p.noise = 0.5f;
        p.lfo[1].wave = 4;
        synth.HandleMidi(NoteOn(60));
        synth.HandleMidi(NoteOn(64, 80));
        o = Render(synth, 20000);
    }
    EXPECT_TRUE(SameBytes(out[0].left, out[1].left));
    EXPECT_TRUE(SameBytes(out[0].right, out[1].right));
    EXPECT_GT(Peak(out[0].left), 0.05f);
}

TEST(BlockRender, ModWheelAndPitchBend)
{
    CSynth synth;
    synth.HandleMidi(0xB0u | 1u << 8 | 127u << 16);
    EXPECT_EQ(synth.modWheel, 1.0f);
    synth.HandleMidi(0xB5u | 1u << 8 | 64u << 16);
    EXPECT_EQ(synth.modWheel, 64.0f / 127.0f);
    synth.HandleMidi(0xB0u | 7u << 8 | 10u << 16);
    synth.HandleMidi(0xB0u | 64u << 8 | 127u << 16);
    EXPECT_EQ(synth.modWheel, 64.0f / 127.0f);
    EXPECT_EQ(synth.pitchBend, 0.0f);
    synth.HandleMidi(0xE0u | 0x00u << 8 | 0x40u << 16);
    EXPECT_EQ(synth.pitchBend, 0.0f);
    synth.HandleMidi(0xE3u | 0x7Fu << 8 | 0x7Fu << 16);
    EXPECT_EQ(synth.pitchBend, 8191.0f / 8192.0f);
    synth.HandleMidi(0xE0u);
    EXPECT_EQ(synth.pitchBend, -1.0f);
    EXPECT_EQ(synth.voicePool.Count(), 0);
}

TEST(BlockRender, StatusBytesOtherThanNotesStartNothing)
{
    CSynth synth;
    for (uint32_t status : {0xA0u, 0xC0u, 0xD0u, 0xF0u, 0xF8u, 0xF9u, 0xFFu, 0x3Cu, 0x00u, 0x7Fu})
        synth.HandleMidi(status | 60u << 8 | 100u << 16);
    EXPECT_EQ(synth.voicePool.Count(), 0);
    synth.HandleMidi(NoteOn(60, 100, 15));  // any channel plays
    EXPECT_EQ(synth.voicePool.Count(), 1);
    synth.HandleMidi(0x9Fu | 60u << 8);     // velocity 0 releases
    EXPECT_EQ(synth.voicePool.VoiceAt(0).envelopes[0].stage, Envelope::kRelease);
    // Data bytes with the top bit set are read as seven bits.
    synth.HandleMidi(0x90u | 0xBCu << 8 | 0xFFu << 16);
    ASSERT_EQ(synth.voicePool.Count(), 2);
    EXPECT_EQ(synth.voicePool.VoiceAt(1).note, 60);
}

TEST(BlockRender, EmptyTinyAndHugeBlocks)
{
    auto synth = SineSynth();
    synth->HandleMidi(NoteOn(60));
    float left = 0.5f;
    float right = 0.25f;
    float* outputs[2] = {&left, &right};
    synth->ProcessBlock(nullptr, outputs, 0);
    synth->ProcessBlock(nullptr, outputs, -7);
    EXPECT_EQ(left, 0.5f);
    EXPECT_EQ(right, 0.25f);
    EXPECT_EQ(synth->peakLeft, 0.0f);
    synth->ProcessBlock(nullptr, nullptr, 64);
    float* missing[2] = {&left, nullptr};
    synth->ProcessBlock(nullptr, missing, 1);
    EXPECT_EQ(left, 0.5f);

    // One huge call renders the same bytes as host-sized blocks (both cut
    // sub-blocks at multiples of 32).
    auto other = SineSynth();
    other->HandleMidi(NoteOn(60));
    const Stereo once = Render(*synth, 1 << 20, 1 << 20);
    const Stereo blocks = Render(*other, 1 << 20, 256);
    EXPECT_TRUE(SameBytes(once.left, blocks.left));
    EXPECT_TRUE(SameBytes(once.right, blocks.right));
    EXPECT_GT(Peak(once.left), 0.1f);
    EXPECT_NE(Render(*synth, 1, 1).left[0], 0.0f);
}

// Fast vibrato: the pitch is sampled once per sub-block, so a 33-frame call
// (32 + 1) equals a 32-frame call followed by a 1-frame call, and differs
// from 16 + 17.
TEST(BlockRender, PitchIsFixedPerSubBlockOfAtMost32)
{
    std::unique_ptr<CSynth> synths[3];
    for (auto& synth : synths)
    {
        synth = SineSynth();
        synth->currentProgram->lfo1Vibrato = 1.0f;
        synth->currentProgram->lfo[0].rate = 1.0f;
        synth->HandleMidi(NoteOn(69));
        Render(*synth, 1000);
    }
    const Stereo whole = Render(*synths[0], 33, 33);
    Stereo split = Render(*synths[1], 32, 32);
    split.left.push_back(Render(*synths[1], 1, 1).left[0]);
    EXPECT_TRUE(SameBytes(whole.left, split.left));
    EXPECT_FALSE(SameBytes(whole.left, Render(*synths[2], 33, 16).left));
}

// In pieces or in one call, the stage changes exactly after the fifth sample.
TEST(BlockRender, EnvelopeSegmentEndCutsTheSubBlock)
{
    std::unique_ptr<CSynth> synths[2];
    for (auto& synth : synths)
    {
        synth = SineSynth();
        synth->SetSampleRate(1000);  // the shortest segment is 5 samples
        synth->currentProgram->env[0] = SynthEnvelope{0.0f, 0.0f, 0.5f, 0.0f};
        synth->HandleMidi(NoteOn(60));
    }
    const Envelope& e = synths[0]->voicePool.VoiceAt(0).envelopes[0];
    ASSERT_EQ(e.remaining, 5);
    Render(*synths[0], 4, 4);
    EXPECT_EQ(e.stage, Envelope::kDecay);
    EXPECT_EQ(e.remaining, 1);
    Render(*synths[0], 1, 1);
    EXPECT_EQ(e.stage, Envelope::kSustain);
    EXPECT_NEAR(e.value, 0.5f, 1e-6f);
    Render(*synths[1], 20, 20);
    const Envelope& whole = synths[1]->voicePool.VoiceAt(0).envelopes[0];
    EXPECT_EQ(whole.stage, Envelope::kSustain);
    EXPECT_EQ(whole.value, e.value);
}

TEST(BlockRender, FinishedVoiceStopsMidBlockAndTheVoiceBehindKeepsItsOutput)
{
    Stereo out[2];
    for (bool both : {true, false})
    {
        auto synth = SineSynth();
        if (both)
            synth->HandleMidi(NoteOn(60));
        synth->HandleMidi(NoteOn(67));
        Render(*synth, 1000);
        if (both)
            synth->HandleMidi(NoteOff(60));  // 221-sample release
        out[both ? 0 : 1] = RenderVoices(*synth, 512);
        EXPECT_EQ(synth->voicePool.Count(), 1);
        EXPECT_EQ(synth->voicePool.VoiceAt(0).note, 67);
    }
    const auto part = [](const std::vector<float>& x, size_t from, size_t to) {
        return std::vector<float>(x.begin() + static_cast<long>(from), x.begin() + static_cast<long>(to));
    };
    EXPECT_FALSE(SameBytes(part(out[0].left, 0, 221), part(out[1].left, 0, 221)));
    EXPECT_TRUE(SameBytes(part(out[0].left, 221, 512), part(out[1].left, 221, 512)));
}

TEST(BlockRender, VoicesAddIntoTheBuffersWithoutClearingThem)
{
    auto clean = SineSynth();
    auto dirty = SineSynth();
    clean->HandleMidi(NoteOn(64));
    dirty->HandleMidi(NoteOn(64));
    const Stereo a = RenderVoices(*clean, 300);
    const Stereo b = RenderVoices(*dirty, 300, 1.0f);
    for (size_t i = 0; i < 300; ++i)
        ASSERT_EQ(b.left[i], 1.0f + a.left[i]) << i;
    EXPECT_GT(Peak(a.left), 0.05f);
}

TEST(BlockRender, PeaksRiseToTheLargestOutputAndNeverFall)
{
    auto synth = SineSynth();
    synth->HandleMidi(NoteOn(60));
    const Stereo out = Render(*synth, 2048, 2048);
    EXPECT_EQ(synth->peakLeft, Peak(out.left));
    EXPECT_EQ(synth->peakRight, Peak(out.right));
    const float before = synth->peakLeft;
    synth->HandleMidi(NoteOff(60));
    Render(*synth, 2048);
    EXPECT_EQ(synth->peakLeft, before);
}

TEST(BlockRender, WheelFadesVibratoIn)
{
    auto synth = SineSynth();
    synth->currentProgram->lfo1Vibrato = 1.0f;
    synth->currentProgram->mwLfo1Depth = 1.0f;
    synth->HandleMidi(NoteOn(69));
    const Voice& v = synth->voicePool.VoiceAt(0);
    const double plain = 440.0 / 44100.0;
    double low = 1.0;
    double high = 0.0;
    const auto run = [&](int32_t blocks) {
        for (int32_t i = 0; i < blocks; ++i)
        {
            Render(*synth, 32, 32);
            low = std::fmin(low, v.increment2);
            high = std::fmax(high, v.increment2);
        }
    };
    run(200);
    EXPECT_NEAR(low, plain, 1e-9);  // wheel at 0: no vibrato
    EXPECT_NEAR(high, plain, 1e-9);
    synth->HandleMidi(0xB0u | 1u << 8 | 127u << 16);
    run(3000);  // more than one LFO cycle
    EXPECT_NEAR(high / plain, std::pow(2.0, 1.0 / 12.0), 1e-3);
    EXPECT_NEAR(low / plain, std::pow(2.0, -1.0 / 12.0), 1e-3);
}

TEST(BlockRender, FilterIsStableAtEveryRateAndSetting)
{
    for (int32_t rate : {44100, 48000, 96000, 192000})
    {
        CSynth synth;
        synth.SetSampleRate(rate);
        SynthProgram& p = *synth.currentProgram;
        p.noise = p.q = p.lfo2Cutoff = p.feedback = p.pmAmount = 1.0f;
        p.filterScale = 0;
        p.lfo[1].rate = 0.3f;
        p.wave1 = 1;
        for (float blend : {0.0f, 0.5f, 1.0f})
        {
            p.blend = blend;
            synth.HandleMidi(NoteOn(24));
            synth.HandleMidi(NoteOn(100));
            const Stereo out = Render(synth, rate);
            EXPECT_TRUE(AllFinite(out)) << rate;
            EXPECT_LT(Peak(out.left), 20.0f) << rate << " blend " << blend;
            EXPECT_GT(Peak(out.left), 0.01f) << rate << " blend " << blend;
            synth.HandleMidi(NoteOff(24));
            synth.HandleMidi(NoteOff(100));
        }
    }
}

// Poisoned words (NaN, infinities, huge, negative zero, all ones) and random
// words as a damaged chunk could give them.
TEST(BlockRender, CorruptProgramFieldsNeverBreakTheRender)
{
    for (uint32_t poison : {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x7FFFFFFFu, 0x80000000u, 0x501502F9u,
                            0xD01502F9u, 0xFFFFFFFFu})
    {
        CSynth synth;
        Poison(*synth.currentProgram, [poison] { return poison; });
        for (int32_t note : {0, 60, 127})
            synth.HandleMidi(NoteOn(note, 127));
        EXPECT_TRUE(AllFinite(Render(synth, 4096, 100))) << std::hex << poison;
        EXPECT_TRUE(VoicesFinite(synth)) << std::hex << poison;
        for (int32_t note : {0, 60, 127})
            synth.HandleMidi(NoteOff(note));
        EXPECT_TRUE(AllFinite(Render(synth, 4096, 100))) << std::hex << poison;
        EXPECT_TRUE(std::isfinite(synth.peakLeft)) << std::hex << poison;
    }
    CRandom random(11);
    for (int32_t round = 0; round < 40; ++round)
    {
        CSynth synth;
        Poison(*synth.currentProgram, [&random] {
            return static_cast<uint32_t>(random.Next()) << 17 ^ static_cast<uint32_t>(random.Next()) << 2
                   ^ static_cast<uint32_t>(random.Next());
        });
        synth.HandleMidi(NoteOn(48 + round % 40, 90));
        synth.HandleMidi(NoteOn(50 + round % 30, 90));
        EXPECT_TRUE(AllFinite(Render(synth, 2048, 64))) << round;
        EXPECT_TRUE(VoicesFinite(synth)) << round;
    }
}

TEST(BlockRender, ExtremeRatesNotesAndVelocitiesStayFinite)
{
    for (int32_t rate : {1, 99, 8000, 44100, 384000, std::numeric_limits<int32_t>::max()})
    {
        CSynth synth;
        synth.SetSampleRate(rate);
        SynthProgram& p = *synth.currentProgram;
        p.lfo[0].wave = 4;
        p.lfo[0].rate = p.lfo1Vibrato = 1.0f;
        p.noise = 0.5f;
        for (int32_t note : {0, 127})
        {
            synth.HandleMidi(NoteOn(note, 1));
            synth.HandleMidi(NoteOn(note, 127));
        }
        synth.HandleMidi(NoteOn(60));
        const Stereo held = Render(synth, 4096);
        synth.HandleMidi(NoteOff(60));
        EXPECT_TRUE(AllFinite(held)) << rate;
        if (rate == 44100)
        {
            EXPECT_GT(Peak(held.left), 0.0f);
        }
        EXPECT_TRUE(AllFinite(Render(synth, 4096))) << rate;
        EXPECT_TRUE(VoicesFinite(synth)) << rate;
    }
    CSynth synth;
    synth.SetSampleRate(0);  // no rate: the previous one stays
    synth.SetSampleRate(-48000);
    EXPECT_EQ(synth.sampleRate, 44100);
    EXPECT_EQ(synth.envelopeLimits.range[0].minimum, 221);
}

TEST(BlockRender, VoicesKeepTheProgramTheyStartedWith)
{
    CSynth synth;
    synth.HandleMidi(NoteOn(60));
    synth.SetProgram(5);
    synth.HandleMidi(NoteOn(64));
    EXPECT_EQ(synth.voicePool.VoiceAt(0).program, &synth.programs[0]);
    EXPECT_EQ(synth.voicePool.VoiceAt(1).program, &synth.programs[5]);
}

TEST(BlockRender, FreeRunningLfoIsSharedByVoicesWithoutRestart)
{
    auto synth = SineSynth();
    synth->currentProgram->lfo[0].restart = 0;
    synth->currentProgram->lfo[1].restart = 1;
    synth->HandleMidi(NoteOn(60));
    Render(*synth, 5000);
    synth->HandleMidi(NoteOn(64));
    const Voice& first = synth->voicePool.VoiceAt(0);
    const Voice& second = synth->voicePool.VoiceAt(1);
    EXPECT_NEAR(second.lfos[0].phase, first.lfos[0].phase, 1e-6);
    EXPECT_GT(first.lfos[0].phase, 100.0);
    EXPECT_EQ(second.lfos[1].phase, 0.0);  // restart: entry 0
    EXPECT_GT(first.lfos[1].phase, 100.0);
    Render(*synth, 5000);
    EXPECT_NEAR(second.lfos[0].phase, first.lfos[0].phase, 1e-6);
    EXPECT_EQ(synth->globalLfos[0].increment, LfoIncrement(synth->currentProgram->lfo[0], 44100, 120.0f));
}

TEST(BlockRender, TransportStartResetsTheFreeRunningLfos)
{
    CSynth synth;
    synth.HandleMidi(NoteOn(60));
    Render(synth, 5000);
    ASSERT_GT(synth.globalLfos[0].phase, 0.0);
    synth.SetTransport(false);
    EXPECT_GT(synth.globalLfos[0].phase, 0.0);
    synth.SetTransport(true);
    for (const LfoState& lfo : synth.globalLfos)
    {
        EXPECT_EQ(lfo.phase, 0.0);
        EXPECT_EQ(lfo.countdown, -1.0);
    }
}

TEST(BlockRender, TempoSyncedLfoFollowsTheTempo)
{
    CSynth synth;
    synth.currentProgram->lfo[2].sync = 1;
    synth.SetTempo(90.0f);
    synth.HandleMidi(NoteOn(60));
    Render(synth, 64);
    EXPECT_DOUBLE_EQ(synth.voicePool.VoiceAt(0).lfos[2].increment, 1.5 * 8192 / 44100.0);
    synth.SetTempo(120.0f);
    Render(synth, 64);
    EXPECT_DOUBLE_EQ(synth.voicePool.VoiceAt(0).lfos[2].increment, 2.0 * 8192 / 44100.0);
}

TEST(BlockRender, RandomLfoStepsOncePerCycleAtSubBlockBoundaries)
{
    auto synth = SineSynth();
    SynthLfo& lfo = synth->currentProgram->lfo[1];
    lfo.wave = 4;
    lfo.rate = std::sqrt(1.99f / 19.99f);  // 2 Hz
    synth->HandleMidi(NoteOn(60));
    const LfoState& state = synth->voicePool.VoiceAt(0).lfos[1];
    int32_t changes = 0;
    int32_t changesInsideBlocks = 0;
    Render(*synth, 1, 1);
    float last = state.Value(0);
    for (int32_t i = 0; i < 5 * 44100; ++i)
    {
        // A held value reads the same at every sample of a sub-block.
        changesInsideBlocks += state.Value(0) != state.Value(31);
        Render(*synth, 1, 1);
        changes += state.Value(0) != last;
        last = state.Value(0);
    }
    EXPECT_EQ(changesInsideBlocks, 0);
    EXPECT_GE(changes, 9);
    EXPECT_LE(changes, 10);
}
