#include "effects/MLPF1a.h"

#include <gtest/gtest.h>

TEST(MLPF1a, StepResponseOfAOnePoleLowPassAndReplacedMemory)
{
    // Pole 0.5, DC gain 1: gain 0.5, coefficient -0.5.
    MLPF1a filter;
    filter.SetCoefficients(0.5f, -0.5f);
    EXPECT_EQ(filter.Process(1.0f), 0.5f);
    EXPECT_EQ(filter.Process(1.0f), 0.75f);
    EXPECT_EQ(filter.Process(1.0f), 0.875f);
    EXPECT_EQ(filter.Process(0.0f), 0.4375f);
    filter.SetCoefficients(1.0f, -0.5f);
    filter.SetState(2.0f);
    EXPECT_EQ(filter.Process(0.0f), 1.0f);
}
