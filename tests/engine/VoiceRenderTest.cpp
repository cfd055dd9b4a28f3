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

bool Same(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

}  // namespace

TEST(VoiceRender, PairRendersExactlyLikeOneAfterTheOther)
{
    auto synth = std::make_unique<CSynth>();
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
    auto synth = std::make_unique<CSynth>();
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
    auto synth = std::make_unique<CSynth>();
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
    auto synth = std::make_unique<CSynth>();
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
