#include "engine/StableMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Function = double (*)(double);

// The ranges the synth uses and beyond: pitch ratios, smoother and filter
// poles, reverb gains, oscillator phases. The error is relative to
// max(|exact|, floor), so sine and cosine are held to an absolute bound.
TEST(StableMath, CloseToTheLibraryOverTheirRanges)
{
    const struct
    {
        const char* name;
        Function ours;
        Function library;
        double low, high, floor, bound;
    } cases[] = {
        {"exp", StableExp, [](double x) { return std::exp(x); }, -700.0, 700.0, 0.0, 1e-15},
        {"exp", StableExp, [](double x) { return std::exp(x); }, -1.0, 1.0, 0.0, 1e-15},
        {"log", StableLog, [](double x) { return std::log(x); }, 1e-6, 10.0, 1.0, 1e-15},
        {"log", StableLog, [](double x) { return std::log(x); }, 0.5, 2.0, 1e-300, 1e-15},
        {"sin", StableSin, [](double x) { return std::sin(x); }, -20.0, 20.0, 1.0, 1e-15},
        {"sin", StableSin, [](double x) { return std::sin(x); }, -1e5, 1e5, 1.0, 1e-15},
        {"cos", StableCos, [](double x) { return std::cos(x); }, -20.0, 20.0, 1.0, 1e-15},
        {"pow10", StablePow10, [](double x) { return std::pow(10.0, x); }, -12.0, 12.0, 0.0, 6e-15},
    };
    constexpr int kCount = 200001;
    for (const auto& c : cases)
    {
        double largest = 0.0;
        for (int i = 0; i < kCount; ++i)
        {
            const double x = c.low + (c.high - c.low) * i / (kCount - 1);
            const double exact = c.library(x);
            largest = std::fmax(largest, std::fabs(c.ours(x) - exact) / std::fmax(std::fabs(exact), c.floor));
        }
        EXPECT_LT(largest, c.bound) << c.name << " over " << c.low << " to " << c.high;
    }
}

TEST(StableMath, ExactPointsAndLimits)
{
    EXPECT_EQ(StableExp(0.0), 1.0);
    EXPECT_EQ(StableLog(1.0), 0.0);
    EXPECT_EQ(StableSin(0.0), 0.0);
    EXPECT_EQ(StableCos(0.0), 1.0);
    EXPECT_EQ(StableExp(-1000.0), 0.0);
    EXPECT_TRUE(std::isfinite(StableExp(1000.0)));
    EXPECT_EQ(StableLog(0.0), -1e308);
    EXPECT_EQ(StableLog(-3.0), -1e308);
    EXPECT_NEAR(StableLog(4.9e-324), std::log(4.9e-324), 1e-12);  // the smallest subnormal
    EXPECT_NEAR(StableLog(1.7976931348623157e308), std::log(1.7976931348623157e308), 1e-12);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(StableExp(nan)));
    EXPECT_TRUE(std::isnan(StableLog(nan)));
}
