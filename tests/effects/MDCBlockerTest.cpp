#include "effects/MDCBlocker.h"

#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

constexpr double kRate = 44100.0;

// Gain in dB of a sine of frequency hz through a fresh blocker, measured
// by RMS over whole cycles once the start has settled.
double SineGainDb(double hz, double rate = kRate)
{
    MDCBlocker blocker;
    blocker.SetSampleRate(static_cast<float>(rate));
    const int32_t n = static_cast<int32_t>(rate) * 4;
    const std::vector<float> x = Sine(n, hz, rate, 1.0f);
    std::vector<float> y = x;
    blocker.Process(y.data(), n);
    return 10.0 * std::log10(Energy(y, n / 2, n / 2) / Energy(x, n / 2, n / 2));
}

}  // namespace

TEST(MDCBlocker, LeavesTheAudibleRangeAloneAtEveryRate)
{
    for (double rate : {44100.0, 96000.0})
    {
        EXPECT_NEAR(SineGainDb(1000.0, rate), 0.0, 0.01) << rate;
        EXPECT_NEAR(SineGainDb(10000.0, rate), 0.0, 0.01) << rate;
        EXPECT_GT(SineGainDb(20.0, rate), -0.3) << rate;
        EXPECT_LT(SineGainDb(1.0, rate), -10.0) << rate;  // the offset's neighbourhood goes
    }
}

TEST(MDCBlocker, AnOffsetDecaysToExactZeroAndResetForgetsIt)
{
    MDCBlocker blocker;
    blocker.SetSampleRate(static_cast<float>(kRate));
    std::vector<float> x(static_cast<size_t>(kRate) * 2, -0.15f);
    blocker.Process(x.data(), static_cast<int32_t>(x.size()));
    EXPECT_NEAR(x[0], -0.15f, 1e-4f);
    EXPECT_LT(std::fabs(x[static_cast<size_t>(kRate) / 2]), 1e-7f);  // 0.15 e^(-2 pi 5 Hz 0.5 s)
    EXPECT_EQ(x.back(), 0.0f);

    std::vector<float> silence(64, 0.0f);
    blocker.Process(silence.data(), 64);  // the input's fall from the offset
    EXPECT_GT(silence[0], 0.1f);
    blocker.Reset();
    silence.assign(64, 0.0f);
    blocker.Process(silence.data(), 64);
    for (float s : silence)
        ASSERT_EQ(s, 0.0f);
}
