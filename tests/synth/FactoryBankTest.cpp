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

TEST(FactoryBank, BlockIsExactly73124Bytes)
{
    EXPECT_EQ(kFactoryBankSize, 73124);
}

TEST(FactoryBank, BlockHas64ProgramsWithoutFilterScaleThenProgZero)
{
    const char* const sections[] = {"master", "wave", "xmod", "filter", "pb", "fx", "env", "e3", "lfo", "lfo1",
                                    "lfo2", "lfo3", "vel", "key", "rnd", "mw", "chorus", "delay", "reverb",
                                    "waveshape", "phaser"};
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

TEST(FactoryBank, ProgramsLoadWithTheirNamesAndFixedFields)
{
    auto synth = std::make_unique<CSynth>();
    EXPECT_EQ(synth->GetProgram(), 0);
    for (int i = 0; i < 64; ++i)
    {
        const SynthProgram& p = synth->programs[i];
        EXPECT_STREQ(p.name, kNames[i]);
        EXPECT_EQ(p.ratio1, 1.0f) << i;
        EXPECT_EQ(p.ratio2, 1.0f) << i;
        EXPECT_EQ(p.filterEnv, 1.0f) << i;
        EXPECT_EQ(p.filterScale, 1) << i;
    }
}

TEST(FactoryBank, TenProgramsAreMonophonic)
{
    auto synth = std::make_unique<CSynth>();
    int monoCount = 0;
    for (const SynthProgram& p : synth->programs)
    {
        bool listed = false;
        for (const char* name : kMonoNames)
            listed = listed || std::strcmp(p.name, name) == 0;
        EXPECT_EQ(p.mono, listed ? 1 : 0) << p.name;
        monoCount += p.mono;
    }
    EXPECT_EQ(monoCount, 10);
}

TEST(FactoryBank, TwoOscBassHoldsExactlyItsValues)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram expected = DefaultProgram("2 OSC Bass");
    expected.coarse = 12;
    expected.mono = 1;
    expected.coarse2 = -24;
    expected.mix = 0.4f;
    expected.phase = 0.5f;
    expected.cutoff = 0.9f;
    expected.q = 0.4f;
    expected.env[1] = {0.0f, 0.18f, 0.1f, 1.0f};
    expected.fxDelay = 0.32f;
    expected.rndPhase = 0.5f;
    EXPECT_EQ(DifferentFields(synth->programs[0], expected), std::vector<std::string>());
}

TEST(FactoryBank, FmLazerHoldsExactlyItsValues)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram expected = DefaultProgram("FM Lazer");
    expected.mod1 = 0.44f;
    expected.mod2 = 0.0f;
    expected.coarse2 = -12;
    expected.pmAmount = 0.8f;
    expected.pmShape = 0.5f;
    expected.pmRatio = 8;
    expected.env[2] = {0.0f, 0.5f, 0.0f, 1.0f};
    expected.e3Pm = 1.0f;
    expected.fxChorus = 0.32f;
    expected.fxDelay = 0.4f;
    expected.rndPm = 0.2f;
    EXPECT_EQ(DifferentFields(synth->programs[20], expected), std::vector<std::string>());
}

TEST(FactoryBank, PmLeadHoldsExactlyItsValues)
{
    auto synth = std::make_unique<CSynth>();
    SynthProgram expected = DefaultProgram("PM Lead");
    expected.legato = 1;
    expected.mix = 0.0f;
    expected.env[2] = {0.0f, 0.56f, 0.0f, 1.0f};
    expected.e3Mod1 = 1.0f;
    expected.lfo1Vibrato = 0.32f;
    expected.velMod1 = 0.2f;
    expected.mwLfo1Depth = 1.0f;
    expected.fxDelay = 0.32f;
    EXPECT_EQ(DifferentFields(synth->programs[34], expected), std::vector<std::string>());
}

TEST(FactoryBank, ProgramsUseWhatTheyAreNamedFor)
{
    auto synth = std::make_unique<CSynth>();
    const auto named = [](const SynthProgram& p, const char* word) { return std::strstr(p.name, word) != nullptr; };
    int checked = 0;
    for (const SynthProgram& p : synth->programs)
    {
        if (named(p, "Noise"))
        {
            EXPECT_GT(p.noise, 0.0f) << p.name;
        }
        if (named(p, "Rnd"))
        {
            const float depths = p.rndMix + p.rndNoise + p.rndDetune + p.rndVolume + p.rndPan + p.rndCutoff + p.rndQ +
                                 p.rndPhase + p.rndPm + p.rndMod1 + p.rndMod2;
            const bool randomLfo = p.lfo[1].wave == 4 && (p.lfo2Cutoff > 0.0f || p.lfo2Q > 0.0f);
            EXPECT_TRUE(depths > 0.0f || randomLfo) << p.name;
        }
        if (named(p, "PWM"))
        {
            EXPECT_TRUE(p.wave1 == 2 || p.wave2 == 2) << p.name;
            EXPECT_GT(p.lfo3Mod1 + p.lfo3Mod2, 0.0f) << p.name;
        }
        if (named(p, "Phaser"))
        {
            EXPECT_GT(p.fxPhaser, 0.0f) << p.name;
        }
        if (named(p, "Chorus"))
        {
            EXPECT_GT(p.fxChorus, 0.0f) << p.name;
        }
        if (named(p, "FM"))
        {
            EXPECT_GT(p.pmAmount, 0.0f) << p.name;
        }
        if (named(p, "PM"))
        {
            EXPECT_TRUE(p.pmAmount > 0.0f || p.wave1 == 3 || p.wave2 == 3 || p.e3Mod1 > 0.0f) << p.name;
        }
        if (named(p, "Pad"))
        {
            EXPECT_GE(p.env[0].attack, 0.1f) << p.name;
        }
        checked += named(p, "Noise") || named(p, "Rnd") || named(p, "PWM") || named(p, "Phaser") ||
                   named(p, "Chorus") || named(p, "FM") || named(p, "PM") || named(p, "Pad");
    }
    EXPECT_EQ(checked, 22);
}
