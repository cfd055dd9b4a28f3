#include "engine/Smoother.h"

#include <gtest/gtest.h>

#include <cmath>

// A 200 Hz one-pole: c = exp(-2 pi 200 / 44100) = 0.971907.
TEST(Smoother, StartsFromZeroAndStepsByTheComplement)
{
    Smoother s;
    s.state = 5.0f;
    s.Start(44100);
    // The exponent in single precision, the exponential in double.
    EXPECT_EQ(s.coefficient,
              static_cast<float>(std::exp(static_cast<double>(-6.2831855f / (44100.0f * 0.0050000004f)))));
    EXPECT_NEAR(s.coefficient, 0.971907f, 1e-6f);
    EXPECT_EQ(s.complement, 1.0f - s.coefficient);
    EXPECT_EQ(s.state, 0.0f);  // every note glides in from 0
    const float c = s.coefficient;
    EXPECT_EQ(s.Process(1.0f), 1.0f - c);
    EXPECT_EQ(s.Process(1.0f), 1.0f * (1.0f - c) + (1.0f - c) * c);
    // ln(0.01) / ln(c) = 161.3 samples = 3.66 ms to 99 %.
    int32_t samples = 2;
    while (s.Process(1.0f) < 0.99f)
        ++samples;
    EXPECT_EQ(samples + 1, 162);
}
