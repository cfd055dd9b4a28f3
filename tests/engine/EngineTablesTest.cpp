#include "engine/EngineTables.h"

#include "engine/CRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>

TEST(EngineTables, SineHoldsOneCycle)
{
    const EngineTables& t = EngineTables::Get();
    EXPECT_EQ(t.sine[0], 0.0f);
    EXPECT_EQ(t.sine[16384], 1.0f);
    EXPECT_EQ(t.sine[49152], -1.0f);
    EXPECT_EQ(t.sine[12345], static_cast<float>(std::sin(6.283185307179586 * 12345 / 65536)));
    EXPECT_NEAR(t.sine[32768], 0.0f, 1e-7f);
}

TEST(EngineTables, NoiseIsTheFixedGeneratorSequenceInMinusOneToOne)
{
    const EngineTables& t = EngineTables::Get();
    CRandom random(EngineTables::kRandomSeed);
    for (int32_t i = 0; i < 16; ++i)
        EXPECT_EQ(t.noise[i], static_cast<float>(random.Next() / 32767.0 * 2.0 - 1.0)) << i;
    double sum = 0.0;
    float low = 1.0f;
    float high = -1.0f;
    for (float v : t.noise)
    {
        sum += v;
        low = std::fmin(low, v);
        high = std::fmax(high, v);
    }
    EXPECT_GE(low, -1.0f);
    EXPECT_LE(high, 1.0f);
    EXPECT_LT(low, -0.999f);
    EXPECT_GT(high, 0.999f);
    EXPECT_NEAR(sum / 65536.0, 0.0, 0.02);
}

TEST(EngineTables, BuiltOnceAndSharedAcrossThreads)
{
    const EngineTables* first = nullptr;
    const EngineTables* second = nullptr;
    std::thread a([&] { first = &EngineTables::Get(); });
    std::thread b([&] { second = &EngineTables::Get(); });
    a.join();
    b.join();
    EXPECT_EQ(first, second);
    EXPECT_EQ(first, &EngineTables::Get());
    EXPECT_EQ(first->sine[16384], 1.0f);
}
