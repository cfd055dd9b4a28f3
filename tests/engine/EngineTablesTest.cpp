#include "engine/EngineTables.h"

#include "engine/CRandom.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(EngineTables, SineHoldsOneCycle)
{
    const EngineTables& t = EngineTables::Get();
    EXPECT_EQ(t.sine[0], 0.0f);
    EXPECT_EQ(t.sine[16384], 1.0f);
    EXPECT_EQ(t.sine[49152], -1.0f);
    EXPECT_EQ(t.sine[12345], static_cast<float>(std::sin(6.283185307179586 * 12345 / 65536)));
}

TEST(EngineTables, NoiseIsTheFixedGeneratorSequenceInMinusOneToOne)
{
    const EngineTables& t = EngineTables::Get();
    CRandom random(EngineTables::kRandomSeed);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(t.noise[i], static_cast<float>(random.Next() / 32767.0 * 2.0 - 1.0)) << i;
}
