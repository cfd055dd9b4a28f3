#include "engine/VoiceRender.h"

#include "EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace enginetest;

namespace
{

// A synth whose current program holds the defaults rather than the first
// factory program (a mono bass), so that every note gets its own voice.
std::unique_ptr<CSynth> SynthWithDefaultProgram()
{
    auto synth = std::make_unique<CSynth>();
    MakeDefaultProgram(*synth->currentProgram);
    return synth;
}

struct Rendered
{
    std::vector<float> left;
    std::vector<float> right;
    Voice voices[kVoiceOctet];  // the latest first
    bool sounding[kVoiceOctet];
};

// Renders the last size (2, 4 or 8) voices of the synth once side by side and
// once one after the other (the latest first), from the same starting records,
// generator and free-running LFOs.
void RenderBothWays(CSynth& synth, int32_t size, int32_t frames, Rendered& grouped, Rendered& alone)
{
    const RenderContext context = ContextOf(synth);
    const int32_t count = synth.voicePool.Count();
    for (Rendered* r : {&grouped, &alone})
    {
        r->left.assign(static_cast<size_t>(frames), 0.0f);
        r->right.assign(static_cast<size_t>(frames), 0.0f);
        for (int32_t l = 0; l < size; ++l)
            r->voices[l] = synth.voicePool.VoiceAt(count - 1 - l);
    }
    const CRandom random = synth.random;
    LfoState globals[CSynth::kGlobalLfoCount];
    std::memcpy(globals, synth.globalLfos, sizeof globals);
    if (size == 2)
    {
        VoicePairResult result{};
        RenderVoicePair(grouped.voices[0], grouped.voices[1], context, grouped.left.data(), grouped.right.data(),
                        frames, result);
        grouped.sounding[0] = result.laterSounding;
        grouped.sounding[1] = result.earlierSounding;
    }
    else
    {
        Voice* group[kVoiceOctet];
        for (int32_t l = 0; l < size; ++l)
            group[l] = &grouped.voices[l];
        if (size == kVoiceQuad)
            RenderVoiceQuad(group, context, grouped.left.data(), grouped.right.data(), frames, grouped.sounding);
        else
            RenderVoiceOctet(group, context, grouped.left.data(), grouped.right.data(), frames, grouped.sounding);
    }
    synth.random = random;
    std::memcpy(synth.globalLfos, globals, sizeof globals);
    for (int32_t l = 0; l < size; ++l)
        alone.sounding[l] = RenderVoice(alone.voices[l], context, alone.left.data(), alone.right.data(), frames);
}

}  // namespace

TEST(VoiceRender, FeedbackStateBelowTheFloorIsFlushed)
{
    auto synth = SynthWithDefaultProgram();
    SynthProgram& p = *synth->currentProgram;
    p.wave1 = 5;  // silent oscillators: the filter only rings down
    p.wave2 = 5;
    synth->HandleMidi(NoteOn(60));
    Voice v = synth->voicePool.VoiceAt(0);
    v.filter.low = 5e-11f;
    v.filter.band = -5e-11f;
    v.filter.high = 5e-11f;
    v.pm.state = 5e-11f;
    std::vector<float> left(32), right(32);
    RenderVoice(v, ContextOf(*synth), left.data(), right.data(), 32);
    EXPECT_EQ(v.filter.low, 0.0f);
    EXPECT_EQ(v.filter.band, 0.0f);
    EXPECT_EQ(v.filter.high, 0.0f);
    EXPECT_EQ(v.pm.state, 0.0f);
}

// Pairs and quads must give the very samples and voice records of a plain
// render one voice after the other.
TEST(VoiceRender, GroupsRenderExactlyLikeOneAfterTheOther)
{
    auto synth = SynthWithDefaultProgram();
    SynthProgram& p = *synth->currentProgram;
    p.wave1 = 4;
    p.wave2 = 3;
    p.feedback = 0.5f;
    p.feedbackShape = 0.3f;
    p.pmAmount = 0.5f;
    p.pmShape = 0.5f;
    p.noise = 0.2f;
    p.q = 0.9f;
    p.cutoff = 0.3f;  // low enough for the resonance easing
    p.lfo1Vibrato = 0.5f;
    p.lfo1Tremolo = 0.5f;
    p.lfo2Pan = 1.0f;
    p.lfo2Cutoff = 0.5f;
    p.lfo3Mod1 = 0.5f;
    p.lfo3Pm = 0.5f;
    p.e3Phase = 0.5f;
    p.phase = 0.7f;
    p.rndPan = 1.0f;
    p.velCutoff = 1.0f;
    p.env[0] = SynthEnvelope{0.01f, 0.02f, 0.5f, 0.0f};  // segment ends inside the block
    synth->HandleMidi(NoteOn(50, 30));
    p.env[0].attack = 0.015f;  // the voices cut their sub-blocks at different samples
    p.filterScale = 0;
    synth->HandleMidi(NoteOn(57, 60));
    p.env[0].attack = 0.02f;
    p.lfo[1].wave = 4;
    synth->HandleMidi(NoteOn(62, 90));
    p.filterScale = 1;
    synth->HandleMidi(NoteOn(69, 127));
    p.env[0].attack = 0.012f;  // four more for a group of eight
    synth->HandleMidi(NoteOn(45, 70));
    synth->HandleMidi(NoteOn(52, 100));
    synth->HandleMidi(NoteOn(64, 40));
    synth->HandleMidi(NoteOn(72, 110));
    for (int32_t size : {2, kVoiceQuad, kVoiceOctet})
    {
        Rendered grouped;
        Rendered alone;
        RenderBothWays(*synth, size, 5000, grouped, alone);
        EXPECT_TRUE(SameBytes(grouped.left, alone.left)) << size;
        EXPECT_TRUE(SameBytes(grouped.right, alone.right)) << size;
        for (int32_t l = 0; l < size; ++l)
        {
            EXPECT_EQ(std::memcmp(&grouped.voices[l], &alone.voices[l], sizeof(Voice)), 0) << size << " " << l;
            EXPECT_TRUE(grouped.sounding[l]);
        }
    }
}

// The default program routes no LFO and mixes in no noise, which the side by
// side render does not look up.
TEST(VoiceRender, GroupsWithMixedWaveformsOrAFinishingVoice)
{
    for (int32_t size : {2, kVoiceQuad, kVoiceOctet})
        for (bool mixed : {false, true})
        {
            auto synth = SynthWithDefaultProgram();
            synth->currentProgram->wave1 = 2;
            for (int32_t note : {38, 43, 45, 48, 50, 55, 62})
                synth->HandleMidi(NoteOn(note));
            if (mixed)
            {
                synth->currentProgram->wave1 = 1;
                synth->currentProgram->wave2 = 4;
            }
            synth->HandleMidi(NoteOn(67));
            synth->HandleMidi(NoteOff(67));  // the latest voice ends after 221 samples
            Rendered grouped;
            Rendered alone;
            RenderBothWays(*synth, size, 700, grouped, alone);
            EXPECT_TRUE(SameBytes(grouped.left, alone.left)) << size << mixed;
            EXPECT_TRUE(SameBytes(grouped.right, alone.right)) << size << mixed;
            EXPECT_FALSE(grouped.sounding[0]);
            EXPECT_FALSE(alone.sounding[0]);
            EXPECT_EQ(grouped.voices[0].envelopes[0].stage, Envelope::kFinished);
            for (int32_t l = 1; l < size; ++l)
                EXPECT_TRUE(grouped.sounding[l]);
        }
}
