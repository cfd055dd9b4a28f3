#include "effects/EffectMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

TEST(EffectMath, ClampSettingTakesNanAsZero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(ClampSetting(nan, -1.0f, 1.0f), 0.0f);
    EXPECT_EQ(ClampSetting(nan, 100.0f, 200.0f), 100.0f);
    EXPECT_EQ(ClampSetting(std::numeric_limits<float>::infinity(), 0.0f, 1.0f), 1.0f);
    EXPECT_EQ(ClampSetting(INT_MIN, 1, 150), 1);
    EXPECT_EQ(ClampSetting(151, 1, 150), 150);
    EXPECT_EQ(ClampSetting(20, 1, 150), 20);
}

TEST(EffectMath, WrapDegreesGivesZeroTo359)
{
    EXPECT_EQ(WrapDegrees(360), 0);
    EXPECT_EQ(WrapDegrees(-90), 270);
    EXPECT_EQ(WrapDegrees(INT_MIN), 232);  // -2147483648 = -5965232 x 360 - 128
    EXPECT_EQ(WrapDegrees(INT_MAX), 127);
}

TEST(EffectMath, SaturatingMultiplyNeverOverflows)
{
    EXPECT_EQ(SaturatingMultiply(44, 20), 880);
    EXPECT_EQ(SaturatingMultiply(-3, 20), -60);
    EXPECT_EQ(SaturatingMultiply(INT_MAX, 20), INT_MAX);
    EXPECT_EQ(SaturatingMultiply(INT_MIN, 20), INT_MIN);
}
