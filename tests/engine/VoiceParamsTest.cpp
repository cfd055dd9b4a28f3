#include "engine/VoiceParams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

TEST(VoiceParams, FieldsBeyondTheirRangesAreHeldAtTheEnds)
{
    SynthProgram p;
    std::memset(&p, 0, sizeof p);
    p.volume = std::numeric_limits<float>::quiet_NaN();
    p.coarse = std::numeric_limits<int32_t>::max();
    p.coarse2 = std::numeric_limits<int32_t>::min();
    p.bendUp = -4;
    p.bendDown = 1000;
    p.ratio1 = std::numeric_limits<float>::quiet_NaN();
    p.ratio2 = 1e30f;
    p.feedback = 1e30f;
    p.detune = -2.0f;
    const VoiceParams v = ReadVoiceParams(p);
    EXPECT_EQ(v.volume, 0.0f);
    EXPECT_EQ(v.coarse, 48);
    EXPECT_EQ(v.coarse2, -48);
    EXPECT_EQ(v.bendUp, 0);
    EXPECT_EQ(v.bendDown, 12);
    EXPECT_EQ(v.ratio1, 1.0);
    EXPECT_EQ(v.ratio2, 8.0);
    EXPECT_EQ(v.feedback, 1.0f);
    EXPECT_EQ(v.detune, 0.0f);
}
