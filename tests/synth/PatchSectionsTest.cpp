#include "synth/PatchSections.h"

#include <gtest/gtest.h>

#include <limits>

TEST(PatchSections, OnlyTheSevenRatiosAreAllowed)
{
    for (float ratio : {8.0f, 4.0f, 2.0f, 1.0f, 0.5f, 0.25f, 0.125f})
        EXPECT_TRUE(PatchFormat::IsAllowedRatio(ratio)) << ratio;
    for (float ratio : {0.0f, 3.0f, 16.0f, 0.0625f, -1.0f, 1.0000001f})
        EXPECT_FALSE(PatchFormat::IsAllowedRatio(ratio)) << ratio;
    EXPECT_FALSE(PatchFormat::IsAllowedRatio(std::numeric_limits<float>::quiet_NaN()));
}
