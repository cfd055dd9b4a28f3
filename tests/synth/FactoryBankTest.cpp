#include "PatchTestSupport.h"

#include "io/ByteOrder.h"
#include "synth/CSynth.h"
#include "synth/FactoryBank.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace PatchTest;

namespace {

const char* const kNames[64] = {
    "2 OSC Bass", "90s Bass", "Additive Pad", "Analog Choir", "Analog Lead", "Beat Pad", "Brass Lead",
    "Bright Keys", "Bright Lead", "Chorus Pad", "Clean Pulse", "Dist Square", "E Bass", "E Guitar", "E Piano",
    "Electric Guitar", "Engine Bass", "Fantasy Lead", "Fast Chorus Keys", "Filter Arp", "FM Lazer", "FM Vibes",
    "FX Pad", "Hard FM", "Intro", "JX Bass", "LFO Pad", "Melody Arp", "Mod Bass", "Noise Bell", "Noise Pad",
    "Phaser Bass", "Phaser Pad", "Phat Bass", "PM Lead", "PM Sine Bass", "Poly Voice", "Pulse Bass", "PWM Lead",
    "PWM Strings", "Relaxing Keys", "Rnd Bass", "Rnd Filt Pad", "Rnd Sound", "Rnd VCF", "Saw Arp", "Saw Lead", "Saw",
    "Sine Bells", "Sinus", "Soft Lead", "Soft Pad", "Soft Saw", "Solo Bass Synth", "Square Lead", "Square",
    "Sub Bass", "Sync Lead", "Synth Bass", "Synth Piano", "Synth Sound", "Tremolo Keys", "VCO + VCF", "XMOD"};

const char* const kMonoNames[10] = {"2 OSC Bass", "E Bass",    "Fantasy Lead",    "Filter Arp",  "JX Bass",
                                    "Saw Lead",   "Soft Lead", "Solo Bass Synth", "Square Lead", "Sync Lead"};

// A minimal walker over the raw block, independent of the reader.
class CBlockWalker
{
public:
    bool AtEnd() const { return at >= static_cast<size_t>(kFactoryBankSize); }
    uint32_t Word()
    {
        const uint32_t value = LoadU32LE(kFactoryBank + at);
        at += 4;
        return value;
    }
    std::string Text()
    {
        const uint32_t length = Word();
        std::string text(reinterpret_cast<const char*>(kFactoryBank + at), length);
        at += length;
        return text;
    }
    size_t at = 0;
};

}  // namespace

TEST(FactoryBank, BlockHas64ProgramsWithoutFilterScaleThenProgZero)
{
    const char* const sections[] = {"master", "wave", "xmod", "filter", "pb", "fx", "env", "e3", "lfo", "lfo1",
                                    "lfo2", "lfo3", "vel", "key", "rnd", "mw", "chorus", "delay", "reverb",
                                    "waveshape", "phaser"};
    ASSERT_EQ(kFactoryBankSize, 73124);
    CBlockWalker walk;
    for (int program = 0; program < 64; ++program)
    {
        const size_t start = walk.at;
        ASSERT_EQ(walk.Text(), "pp") << program;
        const uint32_t ppSize = walk.Word();
        const std::string name = walk.Text();
        EXPECT_EQ(name, kNames[program]);
        EXPECT_EQ(ppSize, name.size() + 20);
        walk.at += 16;
        for (const char* tag : sections)
        {
            ASSERT_EQ(walk.Text(), tag) << program;
            uint32_t payload = walk.Word();
            if (std::strcmp(tag, "master") == 0)
                payload = 32;
            if (std::strcmp(tag, "wave") == 0)
            {
                // ratio1 and ratio2 are words 8 and 9 of the payload.
                EXPECT_EQ(LoadU32LE(kFactoryBank + walk.at + 32), 0u) << program;
                EXPECT_EQ(LoadU32LE(kFactoryBank + walk.at + 36), 0u) << program;
            }
            walk.at += payload;
        }
        EXPECT_EQ(walk.at - start, 1133 + std::strlen(kNames[program])) << program;
    }
    ASSERT_EQ(walk.Text(), "prog");
    EXPECT_EQ(walk.Word(), 4u);
    EXPECT_EQ(walk.Word(), 0u);
    EXPECT_TRUE(walk.AtEnd());
}

TEST(FactoryBank, ProgramsLoadWithTheirNamesFixedFieldsAndVoiceModes)
{
    auto synth = std::make_unique<CSynth>();
    EXPECT_EQ(synth->GetProgram(), 0);
    int monoCount = 0;
    for (int i = 0; i < 64; ++i)
    {
        const SynthProgram& p = synth->programs[i];
        EXPECT_STREQ(p.name, kNames[i]);
        EXPECT_EQ(p.ratio1, 1.0f) << i;
        EXPECT_EQ(p.ratio2, 1.0f) << i;
        EXPECT_EQ(p.filterEnv, 1.0f) << i;
        EXPECT_EQ(p.filterScale, 1) << i;
        bool listed = false;
        for (const char* name : kMonoNames)
            listed = listed || std::strcmp(p.name, name) == 0;
        EXPECT_EQ(p.mono, listed ? 1 : 0) << p.name;
        monoCount += p.mono;
    }
    EXPECT_EQ(monoCount, 10);
}

// Three programs field by field: everything not listed keeps its default.
TEST(FactoryBank, ProgramsHoldExactlyTheirValues)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram bass = DefaultProgram("2 OSC Bass");
    bass.coarse = 12;
    bass.mono = 1;
    bass.coarse2 = -24;
    bass.mix = 0.4f;
    bass.phase = 0.5f;
    bass.cutoff = 0.9f;
    bass.q = 0.4f;
    bass.env[1] = {0.0f, 0.18f, 0.1f, 1.0f};
    bass.fxDelay = 0.32f;
    bass.rndPhase = 0.5f;
    EXPECT_EQ(DifferentFields(synth->programs[0], bass), std::vector<std::string>());

    SynthProgram lazer = DefaultProgram("FM Lazer");
    lazer.mod1 = 0.44f;
    lazer.mod2 = 0.0f;
    lazer.coarse2 = -12;
    lazer.pmAmount = 0.8f;
    lazer.pmShape = 0.5f;
    lazer.pmRatio = 8;
    lazer.env[2] = {0.0f, 0.5f, 0.0f, 1.0f};
    lazer.e3Pm = 1.0f;
    lazer.fxChorus = 0.32f;
    lazer.fxDelay = 0.4f;
    lazer.rndPm = 0.2f;
    EXPECT_EQ(DifferentFields(synth->programs[20], lazer), std::vector<std::string>());

    SynthProgram lead = DefaultProgram("PM Lead");
    lead.legato = 1;
    lead.mix = 0.0f;
    lead.env[2] = {0.0f, 0.56f, 0.0f, 1.0f};
    lead.e3Mod1 = 1.0f;
    lead.lfo1Vibrato = 0.32f;
    lead.velMod1 = 0.2f;
    lead.mwLfo1Depth = 1.0f;
    lead.fxDelay = 0.32f;
    EXPECT_EQ(DifferentFields(synth->programs[34], lead), std::vector<std::string>());
}
