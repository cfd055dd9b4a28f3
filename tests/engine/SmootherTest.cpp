#include "engine/Smoother.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Smoother, CoefficientIsA200HertzPole)
{
    Smoother s;
    s.state = 5.0f;
    s.Start(44100);
    const float exponent = -6.2831855f / (44100.0f * 0.0050000004f);
    EXPECT_EQ(s.coefficient, static_cast<float>(std::exp(static_cast<double>(exponent))));
    EXPECT_NEAR(s.coefficient, 0.971907f, 1e-6f);
    EXPECT_EQ(s.complement, 1.0f - s.coefficient);
    EXPECT_EQ(s.state, 0.0f);  // every note glides in from 0
}

TEST(Smoother, StepsTowardsTheTarget)
{
    Smoother s;
    s.Start(44100);
    const float c = s.coefficient;
    EXPECT_EQ(s.Process(1.0f), 1.0f - c);
    EXPECT_EQ(s.Process(1.0f), 1.0f * (1.0f - c) + (1.0f - c) * c);
}

TEST(Smoother, Reaches99PercentAfterAbout3Point7Milliseconds)
{
    Smoother s;
    s.Start(44100);
    int32_t samples = 0;
    while (s.Process(1.0f) < 0.99f)
        ++samples;
    // ln(0.01) / ln(c) = 161.3 samples = 3.66 ms.
    EXPECT_EQ(samples + 1, 162);
}
