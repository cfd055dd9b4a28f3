#include "engine/EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace enginetest;

namespace
{

// Two plain sines at the note's pitch, filter open, instant attack, full
// sustain, nothing modulated.
std::unique_ptr<CSynth> SineSynth()
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram& program = *synth->currentProgram;
    MakeDefaultProgram(program);
    program.mod1 = 0.0f;
    program.mod2 = 0.0f;
    for (SynthEnvelope& env : program.env)
        env = SynthEnvelope{0.0f, 0.0f, 1.0f, 0.0f};
    return synth;
}

struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

// Renders frames samples in blocks of blockSize into zeroed buffers, the way
// the host adapter does.
Stereo Render(CSynth& synth, int32_t frames, int32_t blockSize = 256)
{
    Stereo out{std::vector<float>(static_cast<size_t>(frames)), std::vector<float>(static_cast<size_t>(frames))};
    for (int32_t start = 0; start < frames; start += blockSize)
    {
        float* outputs[2] = {out.left.data() + start, out.right.data() + start};
        synth.ProcessBlock(nullptr, outputs, frames - start < blockSize ? frames - start : blockSize);
    }
    return out;
}

// Frequency from the upward zero crossings of samples [from, end), found by
// linear interpolation between the samples around each crossing.
double MeasureFrequency(const std::vector<float>& x, size_t from, double sampleRate)
{
    double first = -1.0;
    double last = -1.0;
    int32_t cycles = -1;
    for (size_t i = from + 1; i < x.size(); ++i)
    {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f)
        {
            last = static_cast<double>(i - 1) + x[i - 1] / static_cast<double>(x[i - 1] - x[i]);
            first = first < 0.0 ? last : first;
            ++cycles;
        }
    }
    return cycles < 1 ? 0.0 : cycles * sampleRate / (last - first);
}

bool AllFinite(const Stereo& out)
{
    for (size_t i = 0; i < out.left.size(); ++i)
    {
        if (!std::isfinite(out.left[i]) || !std::isfinite(out.right[i]))
            return false;
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
        {69, 0, 7, 0.0f, 0.0f, 0, 2, 2, 440.0 * std::pow(2.0, 7.0 / 12.0), 0.02},
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

TEST(BlockRender, StatusBytesOtherThanNotesStartNothing)
{
    CSynth synth;
    for (uint32_t status : {0xA0u, 0xD0u, 0xF8u, 0xFFu, 0x3Cu})
        synth.HandleMidi(status | 60u << 8 | 100u << 16);
    EXPECT_EQ(synth.voicePool.Count(), 0);
    synth.HandleMidi(NoteOn(60, 100, 15));  // any channel plays
    EXPECT_EQ(synth.voicePool.Count(), 1);
    synth.HandleMidi(0x9Fu | 60u << 8);  // velocity 0 releases
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

    // One huge call renders the same bytes as host-sized blocks (both cut
    // sub-blocks at multiples of 32).
    auto other = SineSynth();
    other->HandleMidi(NoteOn(60));
    const Stereo once = Render(*synth, 1 << 20, 1 << 20);
    const Stereo blocks = Render(*other, 1 << 20, 256);
    EXPECT_TRUE(SameBytes(once.left, blocks.left));
    EXPECT_TRUE(SameBytes(once.right, blocks.right));
    EXPECT_GT(*std::max_element(once.left.begin(), once.left.end()), 0.1f);
    EXPECT_NE(Render(*synth, 1, 1).left[0], 0.0f);
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

// Poisoned words (NaN, infinities, huge, negative zero, all ones) as a damaged
// chunk could give them; random words are the load fuzzer's.
TEST(BlockRender, CorruptProgramFieldsNeverBreakTheRender)
{
    for (uint32_t poison : {0x7FC00000u, 0x7F800000u, 0xFF800000u, 0x80000000u, 0xD01502F9u, 0xFFFFFFFFu})
    {
        CSynth synth;
        Poison(*synth.currentProgram, [poison] { return poison; });
        for (int32_t note : {0, 60, 127})
            synth.HandleMidi(NoteOn(note, 127));
        EXPECT_TRUE(AllFinite(Render(synth, 4096, 100))) << std::hex << poison;
        for (int32_t note : {0, 60, 127})
            synth.HandleMidi(NoteOff(note));
        EXPECT_TRUE(AllFinite(Render(synth, 4096, 100))) << std::hex << poison;
        EXPECT_TRUE(std::isfinite(synth.peakLeft)) << std::hex << poison;
    }
}

TEST(BlockRender, ExtremeRatesNotesAndVelocitiesStayFinite)
{
    for (int32_t rate : {1, 8000, std::numeric_limits<int32_t>::max()})
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
        EXPECT_TRUE(AllFinite(Render(synth, 4096))) << rate;
        synth.HandleMidi(NoteOff(127));
        EXPECT_TRUE(AllFinite(Render(synth, 4096))) << rate;
    }
    CSynth synth;
    synth.SetSampleRate(0);  // no rate: the previous one stays
    synth.SetSampleRate(-48000);
    EXPECT_EQ(synth.sampleRate, 44100);
    EXPECT_EQ(synth.envelopeLimits.range[0].minimum, 221);
}

TEST(BlockRender, FreeRunningLfoIsSharedByVoicesWithoutRestartUntilTheTransportStarts)
{
    auto synth = SineSynth();
    synth->currentProgram->lfo[0].restart = 0;
    synth->currentProgram->lfo[1].restart = 1;
    synth->HandleMidi(NoteOn(60));
    Render(*synth, 5000);
    synth->HandleMidi(NoteOn(64));
    const Voice& first = synth->voicePool.VoiceAt(0);
    const Voice& second = synth->voicePool.VoiceAt(1);
    EXPECT_EQ(second.lfos[1].phase, 0.0);  // restart: entry 0
    EXPECT_GT(first.lfos[1].phase, 100.0);
    Render(*synth, 5000);
    EXPECT_NEAR(second.lfos[0].phase, first.lfos[0].phase, 1e-6);
    EXPECT_GT(first.lfos[0].phase, 100.0);
    synth->SetTransport(true);  // the transport starting resets them
    for (const LfoState& lfo : synth->globalLfos)
        EXPECT_EQ(lfo.phase, 0.0);
}
