#include "engine/DspMath.h"

#include <gtest/gtest.h>

TEST(DspMath, FlushTinyZeroesOnlyBelowTheThreshold)
{
    EXPECT_EQ(FlushTiny(9e-11f), 0.0f);
    EXPECT_EQ(FlushTiny(-9e-11f), 0.0f);
    EXPECT_EQ(FlushTiny(1e-40f), 0.0f);
    EXPECT_EQ(FlushTiny(2e-10f), 2e-10f);
    EXPECT_EQ(FlushTiny(-0.5f), -0.5f);
}
