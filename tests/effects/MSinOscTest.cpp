#include "effects/MSinOsc.h"
#include "effects/EffectMath.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MSinOsc, FollowsTheSineFromItsStartPhase)
{
    MSinOsc osc;
    osc.Setup(441.0f, 44100.0f, 90.0f);  // period 100 samples
    for (int n = 1; n <= 99; ++n)
    {
        const double expected = std::sin(kPi / 2.0 + 2.0 * kPi * n / 100.0);
        ASSERT_NEAR(osc.Tick(), expected, 1e-6) << "sample " << n;
    }
    EXPECT_EQ(osc.Tick(), 1.0f);  // the first peak
    // At 0 degrees the first sample is an eighth of a cycle up the rising slope.
    osc.Setup(1000.0f, 8000.0f, 0.0f);
    EXPECT_NEAR(osc.Tick(), std::sin(kPi / 4.0), 1e-6);
}
