#include "engine/Modulation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <utility>

TEST(Modulation, DepthAndKeyFactor)
{
    EXPECT_EQ(Depth(0.3f, 0.0f), 1.0f);  // depth 0 leaves the destination
    EXPECT_EQ(Depth(0.3f, 1.0f), 0.3f);  // depth 1 follows the source
    EXPECT_FLOAT_EQ(Depth(0.5f, 0.5f), 0.75f);
    // The key factor rises from key 24 to key 72.
    const std::pair<int32_t, float> keys[] = {{0, 0.0f}, {24, 0.0f}, {48, 0.5f}, {60, 0.75f}, {72, 1.0f}, {127, 1.0f}};
    for (const auto& [key, factor] : keys)
        EXPECT_EQ(KeyFactor(key), factor) << key;
}

// One depth set per case, the rest 0; r1 and r2 are the note's two random
// values. The volume carries the 0.8 headroom.
TEST(Modulation, EachDepthReachesItsOwnFactor)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float SynthProgram::*depth;
        float value;
        int32_t key;
        float velocity, r1, r2;
        float NoteFactors::*factor;
        float expected;
    } cases[] = {
        {&SynthProgram::velVolume, 1.0f, 60, 64 / 127.0f, 0.5f, 0.5f, &NoteFactors::volume, 0.8f * 64 / 127},
        {&SynthProgram::keyCutoff, 1.0f, 72, 1.0f, 0.0f, 0.0f, &NoteFactors::cutoff, 1.0f},
        {&SynthProgram::keyCutoff, -1.0f, 72, 1.0f, 0.0f, 0.0f, &NoteFactors::cutoff, 0.0f},
        {&SynthProgram::keyCutoff, -0.5f, 60, 1.0f, 0.0f, 0.0f, &NoteFactors::cutoff, 0.625f},  // 0.5 + 0.5 (1 - k)
        {&SynthProgram::keyPm, 1.0f, 36, 1.0f, 0.0f, 0.0f, &NoteFactors::pm, 0.25f},
        {&SynthProgram::rndVolume, 1.0f, 60, 0.5f, 0.25f, 0.75f, &NoteFactors::volume, 0.25f * 0.8f},
        {&SynthProgram::rndMod2, 0.5f, 60, 0.5f, 0.25f, 0.75f, &NoteFactors::shape2, 0.875f},
        {&SynthProgram::rndPan, 1.0f, 60, 0.5f, 0.0f, 1.0f, &NoteFactors::pan, 0.75f},  // r2 and the centre averaged
        {&SynthProgram::velPan, 1.0f, 60, 0.0f, 0.0f, 0.0f, &NoteFactors::pan, 0.25f},
        // Corrupt depths: NaN acts as 0, the others are held to -1 .. 1.
        {&SynthProgram::velVolume, nan, 24, 0.5f, 0.25f, 0.5f, &NoteFactors::volume, 0.8f},
        {&SynthProgram::rndCutoff, 50.0f, 24, 0.5f, 0.25f, 0.5f, &NoteFactors::cutoff, 0.25f},
        {&SynthProgram::keyPm, -1e30f, 24, 0.5f, 0.25f, 0.5f, &NoteFactors::pm, 1.0f},
    };
    for (const auto& c : cases)
    {
        SynthProgram p;
        std::memset(&p, 0, sizeof p);
        InitProgram(p);
        p.*c.depth = c.value;
        const NoteFactors f = ComputeNoteFactors(p, c.key, c.velocity, c.r1, c.r2);
        EXPECT_FLOAT_EQ(f.*c.factor, c.expected) << "case " << (&c - cases);
    }
}

// Voice pan 0.5 is the centre; the master pan squeezes the voice's
// position into one half.
TEST(PanLaw, CentreSidesAndMasterPan)
{
    const struct
    {
        float voice, master, left, right;
    } cases[] = {
        {0.5f, 0.5f, 1.0f, 1.0f},  {1.0f, 0.5f, 0.0f, 1.5f},  {0.0f, 0.5f, 1.5f, 0.0f},
        {0.5f, 1.0f, 0.5f, 1.25f}, {0.5f, 0.0f, 1.25f, 0.5f}, {0.0f, 1.0f, 1.0f, 1.0f},
    };
    for (const auto& c : cases)
    {
        const PanGains g = PanLaw(c.voice, c.master);
        EXPECT_FLOAT_EQ(g.left, c.left) << c.voice << " " << c.master;
        EXPECT_FLOAT_EQ(g.right, c.right) << c.voice << " " << c.master;
    }
}
