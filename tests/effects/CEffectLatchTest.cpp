#include "effects/CEffectLatch.h"

#include <gtest/gtest.h>

#include <limits>

TEST(CEffectLatch, OpensOnTheFirstPositiveLevelAndStaysOpen)
{
    CEffectLatch latch;
    EXPECT_FALSE(latch.Admit(0.0f));
    EXPECT_FALSE(latch.Admit(-1.0f));
    EXPECT_FALSE(latch.Admit(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_FALSE(latch.IsOpen());
    EXPECT_TRUE(latch.Admit(0.001f));
    EXPECT_TRUE(latch.Admit(0.0f));
    EXPECT_TRUE(latch.Admit(-5.0f));
    EXPECT_TRUE(latch.IsOpen());
}
