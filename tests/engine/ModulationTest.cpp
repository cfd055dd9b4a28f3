#include "engine/Modulation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>

namespace {

SynthProgram ZeroDepthProgram()
{
    SynthProgram p;
    std::memset(&p, 0, sizeof p);
    InitProgram(p);
    return p;
}

}  // namespace

TEST(Modulation, DepthZeroLeavesTheDestinationAndOneFollowsTheSource)
{
    EXPECT_EQ(Depth(0.0f, 0.0f), 1.0f);
    EXPECT_EQ(Depth(0.3f, 0.0f), 1.0f);
    EXPECT_EQ(Depth(0.3f, 1.0f), 0.3f);
    EXPECT_EQ(Depth(0.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(Depth(0.5f, 0.5f), 0.75f);
}

TEST(Modulation, KeyFactorRisesFromKey24ToKey72)
{
    const std::pair<int32_t, float> cases[] = {{0, 0.0f},  {23, 0.0f}, {24, 0.0f}, {48, 0.5f},
                                               {60, 0.75f}, {72, 1.0f}, {73, 1.0f}, {127, 1.0f}};
    for (const auto& [key, factor] : cases)
        EXPECT_EQ(KeyFactor(key), factor) << key;
}

TEST(Modulation, AllDepthsZeroChangeNothing)
{
    const SynthProgram p = ZeroDepthProgram();
    const NoteFactors f = ComputeNoteFactors(p, 30, 0.2f, 0.9f, 0.1f);
    EXPECT_FLOAT_EQ(f.volume, 0.8f);
    EXPECT_FLOAT_EQ(f.pan, 0.5f);
    for (float factor : {f.cutoff, f.resonance, f.noise, f.shape1, f.shape2, f.pm, f.phase, f.detune, f.mix})
        EXPECT_EQ(factor, 1.0f);
}

TEST(Modulation, VelocityVolume)
{
    SynthProgram p = ZeroDepthProgram();
    p.velVolume = 1.0f;
    EXPECT_FLOAT_EQ(ComputeNoteFactors(p, 60, 127 * (1.0f / 127.0f), 0.5f, 0.5f).volume, 0.8f);
    EXPECT_NEAR(ComputeNoteFactors(p, 60, 64 * (1.0f / 127.0f), 0.5f, 0.5f).volume, 0.8f * 64 / 127, 1e-6f);
}

TEST(Modulation, SignedKeyTrackingOfTheCutoff)
{
    SynthProgram p = ZeroDepthProgram();
    p.keyCutoff = 1.0f;
    EXPECT_EQ(ComputeNoteFactors(p, 24, 1.0f, 0.0f, 0.0f).cutoff, 0.0f);
    EXPECT_EQ(ComputeNoteFactors(p, 48, 1.0f, 0.0f, 0.0f).cutoff, 0.5f);
    EXPECT_EQ(ComputeNoteFactors(p, 72, 1.0f, 0.0f, 0.0f).cutoff, 1.0f);
    p.keyCutoff = -1.0f;
    EXPECT_EQ(ComputeNoteFactors(p, 24, 1.0f, 0.0f, 0.0f).cutoff, 1.0f);
    EXPECT_EQ(ComputeNoteFactors(p, 48, 1.0f, 0.0f, 0.0f).cutoff, 0.5f);
    EXPECT_EQ(ComputeNoteFactors(p, 72, 1.0f, 0.0f, 0.0f).cutoff, 0.0f);
    p.keyCutoff = -0.5f;  // half depth: 0.5 + 0.5 * (1 - k)
    EXPECT_EQ(ComputeNoteFactors(p, 60, 1.0f, 0.0f, 0.0f).cutoff, 0.625f);
    p.keyCutoff = 0.0f;
    p.keyPm = 1.0f;
    EXPECT_EQ(ComputeNoteFactors(p, 36, 1.0f, 0.0f, 0.0f).pm, 0.25f);
}

TEST(Modulation, RandomAndVelocityReachTheirOwnDestinations)
{
    SynthProgram p = ZeroDepthProgram();
    p.rndVolume = 1.0f;  // r1
    p.rndQ = 1.0f;       // r2
    p.velMod1 = 1.0f;
    p.rndMod2 = 0.5f;    // r2 at half depth
    const NoteFactors f = ComputeNoteFactors(p, 60, 0.5f, 0.25f, 0.75f);
    EXPECT_FLOAT_EQ(f.volume, 0.25f * 0.8f);
    EXPECT_FLOAT_EQ(f.resonance, 0.75f);
    EXPECT_FLOAT_EQ(f.shape1, 0.5f);
    EXPECT_FLOAT_EQ(f.shape2, 0.875f);
    EXPECT_EQ(f.cutoff, 1.0f);
    EXPECT_EQ(f.mix, 1.0f);
}

TEST(Modulation, PanFactorAveragesRandomAndVelocityPositions)
{
    SynthProgram p = ZeroDepthProgram();
    p.rndPan = 1.0f;
    EXPECT_FLOAT_EQ(ComputeNoteFactors(p, 60, 0.5f, 0.0f, 1.0f).pan, 0.75f);
    p.velPan = 1.0f;
    EXPECT_FLOAT_EQ(ComputeNoteFactors(p, 60, 0.0f, 0.0f, 0.0f).pan, 0.0f);
    EXPECT_FLOAT_EQ(ComputeNoteFactors(p, 60, 1.0f, 0.0f, 1.0f).pan, 1.0f);
}

TEST(Modulation, CorruptDepthsAreClamped)
{
    SynthProgram p = ZeroDepthProgram();
    p.velVolume = std::numeric_limits<float>::quiet_NaN();
    p.rndCutoff = 50.0f;
    p.keyPm = -1e30f;
    const NoteFactors f = ComputeNoteFactors(p, 24, 0.5f, 0.25f, 0.5f);
    EXPECT_FLOAT_EQ(f.volume, 0.8f);   // NaN depth acts as 0
    EXPECT_FLOAT_EQ(f.cutoff, 0.25f);  // depth held to 1
    EXPECT_FLOAT_EQ(f.pm, 1.0f);       // depth -1 at the lowest key
}

// Voice pan 0.5 is the centre; the master pan squeezes the voice's
// position into one half.
TEST(PanLaw, CentreSidesAndMasterPan)
{
    const struct
    {
        float voice, master, left, right;
    } cases[] = {
        {0.5f, 0.5f, 1.0f, 1.0f}, {1.0f, 0.5f, 0.0f, 1.5f},  {0.0f, 0.5f, 1.5f, 0.0f},
        {0.5f, 1.0f, 0.5f, 1.25f}, {0.5f, 0.0f, 1.25f, 0.5f}, {0.0f, 1.0f, 1.0f, 1.0f},
    };
    for (const auto& c : cases)
    {
        const PanGains g = PanLaw(c.voice, c.master);
        EXPECT_FLOAT_EQ(g.left, c.left) << c.voice << " " << c.master;
        EXPECT_FLOAT_EQ(g.right, c.right) << c.voice << " " << c.master;
    }
}
