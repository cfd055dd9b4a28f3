#include "engine/VoiceRender.h"

#include "EngineTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace enginetest;

namespace
{

struct Rendered
{
    std::vector<float> left;
    std::vector<float> right;
    Voice voices[kVoiceOctet];  // the latest first
    bool sounding[kVoiceOctet];
};

// Renders the last size (2, 4 or 8) voices of the pool once side by side and
// once one after the other (the latest first), from the same starting records,
// generator and free-running LFOs.
void RenderBothWays(EngineRig& rig, int32_t size, int32_t frames, Rendered& grouped, Rendered& alone)
{
    const RenderContext context = rig.Context();
    const int32_t count = rig.pool->Count();
    for (Rendered* r : {&grouped, &alone})
    {
        r->left.assign(static_cast<size_t>(frames), 0.0f);
        r->right.assign(static_cast<size_t>(frames), 0.0f);
        for (int32_t l = 0; l < size; ++l)
            r->voices[l] = rig.pool->VoiceAt(count - 1 - l);
    }
    const CRandom random = rig.random;
    LfoState globals[4];
    std::memcpy(globals, rig.globals, sizeof globals);
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
    rig.random = random;
    std::memcpy(rig.globals, globals, sizeof globals);
    for (int32_t l = 0; l < size; ++l)
        alone.sounding[l] = RenderVoice(alone.voices[l], context, alone.left.data(), alone.right.data(), frames);
}

}  // namespace

// Denormal feedback state would cost the audio thread dearly while a tail
// rings down.
TEST(VoiceRender, FeedbackStateBelowTheFloorIsFlushed)
{
    EngineRig rig;
    rig.program.wave1 = rig.program.wave2 = 5;  // silent oscillators: the filter only rings down
    rig.On(60);
    Voice v = rig.pool->VoiceAt(0);
    v.filter.low = v.filter.high = v.pm.state = 5e-11f;
    v.filter.band = -5e-11f;
    std::vector<float> left(32), right(32);
    RenderVoice(v, rig.Context(), left.data(), right.data(), 32);
    for (float state : {v.filter.low, v.filter.band, v.filter.high, v.pm.state})
        EXPECT_EQ(state, 0.0f);
}

// Pairs and quads must give the very samples and voice records of a plain
// render one voice after the other.
TEST(VoiceRender, GroupsRenderExactlyLikeOneAfterTheOther)
{
    EngineRig rig;
    SynthProgram& p = rig.program;
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
    rig.On(50, 30);
    p.env[0].attack = 0.015f;  // the voices cut their sub-blocks at different samples
    p.filterScale = 0;
    rig.On(57, 60);
    p.env[0].attack = 0.02f;
    p.lfo[1].wave = 4;
    rig.On(62, 90);
    p.filterScale = 1;
    rig.On(69, 127);
    p.env[0].attack = 0.012f;  // four more for a group of eight
    rig.On(45, 70);
    rig.On(52, 100);
    rig.On(64, 40);
    rig.On(72, 110);
    for (int32_t size : {2, kVoiceQuad, kVoiceOctet})
    {
        Rendered grouped;
        Rendered alone;
        RenderBothWays(rig, size, 5000, grouped, alone);
        EXPECT_TRUE(SameBytes(grouped.left, alone.left)) << size;
        EXPECT_TRUE(SameBytes(grouped.right, alone.right)) << size;
        for (int32_t l = 0; l < size; ++l)
        {
            EXPECT_EQ(std::memcmp(&grouped.voices[l], &alone.voices[l], sizeof(Voice)), 0) << size << " " << l;
            EXPECT_TRUE(grouped.sounding[l]);
        }
    }
}

// Held notes whose envelopes have reached three different sustain levels,
// with no LFO or noise: the side by side render then works the smoothers'
// targets out once a stretch.
TEST(VoiceRender, GroupsOfHeldNotesAtTheirSustainLevels)
{
    EngineRig rig;
    SynthProgram& p = rig.program;
    p.e3Mod1 = p.e3Mod2 = p.e3Phase = p.e3Pm = 0.7f;
    p.pmAmount = 0.5f;
    p.phase = 0.6f;
    p.cutoff = 0.4f;
    p.q = 0.5f;
    const float sustain[] = {0.9f, 0.6f, 0.3f};
    for (int32_t k = 0; k < 3; ++k)
        p.env[k] = SynthEnvelope{0.0f, 0.0f, sustain[k], 1.0f};
    for (int32_t note : {40, 47, 52, 55, 59, 64, 67, 71})
        rig.On(note);
    for (int32_t size : {kVoiceQuad, kVoiceOctet})
    {
        Rendered grouped;
        Rendered alone;
        RenderBothWays(rig, size, 3000, grouped, alone);
        EXPECT_TRUE(SameBytes(grouped.left, alone.left)) << size;
        for (int32_t l = 0; l < size; ++l)
            EXPECT_EQ(std::memcmp(&grouped.voices[l], &alone.voices[l], sizeof(Voice)), 0) << size << " " << l;
        EXPECT_NEAR(grouped.voices[0].envelopes[2].value, 0.3f, 1e-4f);  // held
    }
}

// The default program routes no LFO and mixes in no noise, which the side by
// side render does not look up.
TEST(VoiceRender, GroupsWithMixedWaveformsOrAFinishingVoice)
{
    for (int32_t size : {2, kVoiceQuad, kVoiceOctet})
        for (bool mixed : {false, true})
        {
            EngineRig rig;
            rig.program.wave1 = 2;
            for (int32_t note : {38, 43, 45, 48, 50, 55, 62})
                rig.On(note);
            if (mixed)
            {
                rig.program.wave1 = 1;
                rig.program.wave2 = 4;
            }
            rig.On(67);
            rig.Off(67);  // the latest voice ends after 221 samples
            Rendered grouped;
            Rendered alone;
            RenderBothWays(rig, size, 700, grouped, alone);
            EXPECT_TRUE(SameBytes(grouped.left, alone.left)) << size << mixed;
            EXPECT_TRUE(SameBytes(grouped.right, alone.right)) << size << mixed;
            EXPECT_FALSE(grouped.sounding[0]);
            EXPECT_FALSE(alone.sounding[0]);
            EXPECT_EQ(grouped.voices[0].envelopes[0].stage, Envelope::kFinished);
            for (int32_t l = 1; l < size; ++l)
                EXPECT_TRUE(grouped.sounding[l]);
        }
}

// With no feedback and no phase modulation each oscillator runs on its own;
// the samples must equal those of the full chain, which runs for amounts too
// small to change a sample (normal floats, so not zero).
TEST(VoiceRender, OscillatorsApartSoundAsTheFullChain)
{
    for (int32_t size : {2, kVoiceOctet})
    {
        Rendered grouped[2];
        Rendered alone[2];
        for (int32_t tiny : {0, 1})
        {
            EngineRig rig;
            rig.program.wave2 = 3;
            rig.program.feedback = tiny ? 1e-12f : 0.0f;  // cubed, 1e-36
            rig.program.pmAmount = tiny ? 1e-30f : 0.0f;
            rig.program.e3Pm = 0.5f;
            for (int32_t note : {40, 47, 52, 55, 59, 64, 67, 71})
                rig.On(note);
            RenderBothWays(rig, size, 2000, grouped[tiny], alone[tiny]);
        }
        EXPECT_TRUE(SameBytes(grouped[0].left, grouped[1].left)) << size;
        EXPECT_TRUE(SameBytes(grouped[0].right, grouped[1].right)) << size;
        EXPECT_TRUE(SameBytes(alone[0].left, alone[1].left)) << size;
    }
}

// A phase-modulation smoother still gliding down moves oscillator 2 after
// the amount has gone to zero, alone and side by side.
TEST(VoiceRender, PhaseModulationGlidesOutAfterItsAmountFalls)
{
    EngineRig rig;
    for (int32_t note : {40, 47, 52, 55, 59, 64, 67, 71})
        rig.On(note);
    std::vector<float> alone[2];
    std::vector<float> grouped[2];
    std::vector<float> right(64);
    for (int32_t gliding : {0, 1})
    {
        Voice single = rig.pool->VoiceAt(0);
        single.pm.state = gliding ? 0.25f : 0.0f;
        alone[gliding].assign(64, 0.0f);
        RenderVoice(single, rig.Context(), alone[gliding].data(), right.data(), 64);

        Voice voices[kVoiceOctet];
        Voice* group[kVoiceOctet];
        for (int32_t l = 0; l < kVoiceOctet; ++l)
        {
            voices[l] = rig.pool->VoiceAt(l);
            group[l] = &voices[l];
        }
        voices[5].pm.state = gliding ? 0.25f : 0.0f;
        grouped[gliding].assign(64, 0.0f);
        bool sounding[kVoiceOctet];
        RenderVoiceOctet(group, rig.Context(), grouped[gliding].data(), right.data(), 64, sounding);
    }
    EXPECT_FALSE(SameBytes(alone[0], alone[1]));
    EXPECT_FALSE(SameBytes(grouped[0], grouped[1]));
}

// Feedback of the plain linear shape alone still reaches oscillator 1.
TEST(VoiceRender, LinearFeedbackKeepsTheOscillatorsTogether)
{
    Rendered grouped[2];
    Rendered alone[2];
    for (int32_t fed : {0, 1})
    {
        EngineRig rig;
        rig.program.feedback = fed ? 0.5f : 0.0f;
        rig.program.feedbackShape = 0.0f;
        for (int32_t note : {40, 47, 52, 55, 59, 64, 67, 71})
            rig.On(note);
        RenderBothWays(rig, kVoiceOctet, 500, grouped[fed], alone[fed]);
    }
    EXPECT_FALSE(SameBytes(grouped[0].left, grouped[1].left));
    EXPECT_FALSE(SameBytes(alone[0].left, alone[1].left));
}
