#include "engine/VoiceRender.h"

#include "EngineTestUtil.h"

#include "synth/CSynth.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using enginetest::NoteOff;
using enginetest::NoteOn;

namespace {

struct Rendered
{
    std::vector<float> left;
    std::vector<float> right;
    Voice later;
    Voice earlier;
    bool laterSounding;
    bool earlierSounding;
};

// A synth whose current program holds the defaults rather than the first
// factory program (a mono bass), so that every note gets its own voice.
std::unique_ptr<CSynth> SynthWithDefaultProgram()
{
    auto synth = std::make_unique<CSynth>();
    std::memset(synth->currentProgram, 0, sizeof *synth->currentProgram);
    InitProgram(*synth->currentProgram);
    return synth;
}

RenderContext ContextOf(CSynth& synth)
{
    return RenderContext{&EngineTables::Get(), &synth.envelopeLimits, synth.globalLfos, &synth.random,
                         synth.sampleRate, synth.tempo, synth.modWheel, synth.pitchBend};
}

// Renders the two voices of the synth once as a pair and once one after the
// other, from the same starting records.
void RenderBothWays(CSynth& synth, int32_t frames, Rendered& paired, Rendered& alone)
{
    const Voice later = synth.voicePool.VoiceAt(1);
    const Voice earlier = synth.voicePool.VoiceAt(0);
    const RenderContext context = ContextOf(synth);

    paired.left.assign(static_cast<size_t>(frames), 0.0f);
    paired.right.assign(static_cast<size_t>(frames), 0.0f);
    paired.later = later;
    paired.earlier = earlier;
    VoicePairResult result{};
    RenderVoicePair(paired.later, paired.earlier, context, paired.left.data(), paired.right.data(), frames, result);
    paired.laterSounding = result.laterSounding;
    paired.earlierSounding = result.earlierSounding;

    alone.left.assign(static_cast<size_t>(frames), 0.0f);
    alone.right.assign(static_cast<size_t>(frames), 0.0f);
    alone.later = later;
    alone.earlier = earlier;
    alone.laterSounding = RenderVoice(alone.later, context, alone.left.data(), alone.right.data(), frames);
    alone.earlierSounding = RenderVoice(alone.earlier, context, alone.left.data(), alone.right.data(), frames);
}

struct RenderedQuad
{
    std::vector<float> left;
    std::vector<float> right;
    Voice voices[kVoiceQuad];
    bool sounding[kVoiceQuad];
};

// Renders the last four voices of the synth once side by side and once one
// after the other (the latest first), from the same starting records.
void RenderQuadBothWays(CSynth& synth, int32_t frames, RenderedQuad& grouped, RenderedQuad& alone)
{
    const RenderContext context = ContextOf(synth);
    const int32_t count = synth.voicePool.Count();
    for (RenderedQuad* r : {&grouped, &alone})
    {
        r->left.assign(static_cast<size_t>(frames), 0.0f);
        r->right.assign(static_cast<size_t>(frames), 0.0f);
        for (int32_t l = 0; l < kVoiceQuad; ++l)
            r->voices[l] = synth.voicePool.VoiceAt(count - 1 - l);
    }
    // Both renders start from the same generator and free-running LFOs.
    const CRandom random = synth.random;
    LfoState globals[CSynth::kGlobalLfoCount];
    std::memcpy(globals, synth.globalLfos, sizeof globals);
    Voice* group[kVoiceQuad];
    for (int32_t l = 0; l < kVoiceQuad; ++l)
        group[l] = &grouped.voices[l];
    RenderVoiceQuad(group, context, grouped.left.data(), grouped.right.data(), frames, grouped.sounding);
    synth.random = random;
    std::memcpy(synth.globalLfos, globals, sizeof globals);
    for (int32_t l = 0; l < kVoiceQuad; ++l)
        alone.sounding[l] = RenderVoice(alone.voices[l], context, alone.left.data(), alone.right.data(), frames);
}

bool Same(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(VoiceRender, PairRendersExactlyLikeOneAfterTheOther)
{
    auto synth = SynthWithDefaultProgram();
    SynthProgram& p = *synth->currentProgram;
    p.wave1 = 4;
    p.wave2 = 3;
    p.feedback = 0.5f;
    p.pmAmount = 0.5f;
    p.noise = 0.2f;
    p.lfo1Vibrato = 0.5f;
    p.lfo2Pan = 1.0f;
    p.env[0] = SynthEnvelope{0.01f, 0.02f, 0.5f, 0.0f};  // segment ends inside the block
    synth->HandleMidi(NoteOn(50));
    synth->HandleMidi(NoteOn(57));
    Rendered paired;
    Rendered alone;
    RenderBothWays(*synth, 5000, paired, alone);
    EXPECT_TRUE(Same(paired.left, alone.left));
    EXPECT_TRUE(Same(paired.right, alone.right));
    EXPECT_EQ(std::memcmp(&paired.later.envelopes, &alone.later.envelopes, sizeof paired.later.envelopes), 0);
    EXPECT_EQ(paired.earlier.phase1, alone.earlier.phase1);
    EXPECT_EQ(paired.earlier.filter.band, alone.earlier.filter.band);
    EXPECT_TRUE(paired.laterSounding);
    EXPECT_TRUE(paired.earlierSounding);
}

TEST(VoiceRender, PairWithDifferentWaveformsAndAFinishingVoice)
{
    auto synth = SynthWithDefaultProgram();
    synth->currentProgram->wave1 = 2;
    synth->HandleMidi(NoteOn(50));
    synth->currentProgram->wave1 = 1;
    synth->currentProgram->wave2 = 4;
    synth->HandleMidi(NoteOn(62));
    synth->HandleMidi(NoteOff(50));  // the earlier voice ends after 221 samples
    Rendered paired;
    Rendered alone;
    RenderBothWays(*synth, 700, paired, alone);
    EXPECT_TRUE(Same(paired.left, alone.left));
    EXPECT_TRUE(Same(paired.right, alone.right));
    EXPECT_FALSE(paired.earlierSounding);
    EXPECT_FALSE(alone.earlierSounding);
    EXPECT_TRUE(paired.laterSounding);
    EXPECT_EQ(paired.earlier.envelopes[0].stage, Envelope::kFinished);
}

TEST(VoiceRender, RendersNothingForZeroFrames)
{
    auto synth = SynthWithDefaultProgram();
    synth->HandleMidi(NoteOn(60));
    Voice v = synth->voicePool.VoiceAt(0);
    const Voice before = v;
    float left = 0.0f;
    float right = 0.0f;
    EXPECT_TRUE(RenderVoice(v, ContextOf(*synth), &left, &right, 0));
    EXPECT_EQ(left, 0.0f);
    EXPECT_EQ(std::memcmp(&v, &before, sizeof v), 0);
}

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

TEST(VoiceRender, QuadRendersExactlyLikeOneAfterTheOther)
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
    RenderedQuad grouped;
    RenderedQuad alone;
    RenderQuadBothWays(*synth, 5000, grouped, alone);
    EXPECT_TRUE(Same(grouped.left, alone.left));
    EXPECT_TRUE(Same(grouped.right, alone.right));
    for (int32_t l = 0; l < kVoiceQuad; ++l)
    {
        EXPECT_EQ(std::memcmp(&grouped.voices[l], &alone.voices[l], sizeof(Voice)), 0) << l;
        EXPECT_TRUE(grouped.sounding[l]);
    }
}

TEST(VoiceRender, QuadWithMixedWaveformsOrAFinishingVoice)
{
    for (bool mixed : {false, true})
    {
        auto synth = SynthWithDefaultProgram();
        synth->currentProgram->wave1 = 2;
        synth->HandleMidi(NoteOn(50));
        synth->HandleMidi(NoteOn(55));
        if (mixed)
            synth->currentProgram->wave1 = 1;
        synth->HandleMidi(NoteOn(62));
        synth->HandleMidi(NoteOn(67));
        synth->HandleMidi(NoteOff(67));  // the latest voice ends after 221 samples
        RenderedQuad grouped;
        RenderedQuad alone;
        RenderQuadBothWays(*synth, 700, grouped, alone);
        EXPECT_TRUE(Same(grouped.left, alone.left)) << mixed;
        EXPECT_TRUE(Same(grouped.right, alone.right)) << mixed;
        EXPECT_FALSE(grouped.sounding[0]);
        EXPECT_FALSE(alone.sounding[0]);
        EXPECT_TRUE(grouped.sounding[1]);
        EXPECT_TRUE(grouped.sounding[3]);
        EXPECT_EQ(grouped.voices[0].envelopes[0].stage, Envelope::kFinished);
    }
}
