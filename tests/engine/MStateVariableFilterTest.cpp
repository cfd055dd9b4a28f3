#include "engine/MStateVariableFilter.h"

#include "engine/CRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MStateVariableFilter, BlendCrossfadesNeighbouringOutputs)
{
    using W = MStateVariableFilter::Weights;
    const auto expect = [](float blend, W want)
    {
        const W w = MStateVariableFilter::BlendWeights(blend);
        EXPECT_FLOAT_EQ(w.low, want.low) << blend;
        EXPECT_FLOAT_EQ(w.band, want.band) << blend;
        EXPECT_FLOAT_EQ(w.high, want.high) << blend;
    };
    expect(0.0f, W{1.0f, 0.0f, 0.0f});
    expect(0.25f, W{0.5f, 0.5f, 0.0f});
    expect(0.5f, W{0.0f, 1.0f, 0.0f});
    expect(0.75f, W{0.0f, 0.5f, 0.5f});
    expect(1.0f, W{0.0f, 0.0f, 1.0f});
    expect(std::numeric_limits<float>::quiet_NaN(), W{1.0f, 0.0f, 0.0f});
    expect(3.0f, W{0.0f, 0.0f, 1.0f});
    expect(-3.0f, W{1.0f, 0.0f, 0.0f});
}

TEST(MStateVariableFilter, DampingAndLowCutoffCompensation)
{
    // Full resonance: 1 - 0.98 with 0.98 taken from single precision.
    const float fullDamping = static_cast<float>(1.0 - static_cast<double>(0.98f));
    EXPECT_EQ(MStateVariableFilter::Damping(1.0f, 0.5f, 1), fullDamping);  // rings, never self-oscillates
    EXPECT_FLOAT_EQ(MStateVariableFilter::Damping(0.0f, 0.5f, 1), 1.0f);
    // At f = 0 three quarters of the resonance remain; at 0.16 all of it.
    EXPECT_FLOAT_EQ(MStateVariableFilter::Damping(1.0f, 0.0f, 1), 1.0f - 0.98f * 0.75f);
    EXPECT_FLOAT_EQ(MStateVariableFilter::Damping(1.0f, 0.08f, 1), 1.0f - 0.98f * 0.875f);
    EXPECT_EQ(MStateVariableFilter::Damping(1.0f, 0.16f, 1), fullDamping);
    // Without the flag the cutoff does not matter.
    EXPECT_EQ(MStateVariableFilter::Damping(1.0f, 0.0f, 0), fullDamping);
    EXPECT_FLOAT_EQ(MStateVariableFilter::Damping(0.5f, 0.01f, 0), 1.0f - 0.98f * 0.5f);
}

TEST(MStateVariableFilter, StepGoldenValues)
{
    MStateVariableFilter filter{};
    const MStateVariableFilter::Weights low{1.0f, 0.0f, 0.0f};
    // f 0.5, d 1, a unit step: hand-worked.
    EXPECT_EQ(filter.Process(1.0f, 0.5f, 1.0f, low), 0.0f);
    EXPECT_EQ(filter.high, 1.0f);
    EXPECT_EQ(filter.band, 0.5f);
    EXPECT_EQ(filter.Process(1.0f, 0.5f, 1.0f, low), 0.25f);
    EXPECT_EQ(filter.high, 0.25f);
    EXPECT_EQ(filter.band, 0.625f);
    const MStateVariableFilter::Weights mixed{0.5f, 0.25f, 0.25f};
    // low 0.25 + 0.5 * 0.625 = 0.5625; high 1 - 0.5625 - 0.625 = -0.1875;
    // band 0.625 - 0.09375 = 0.53125.
    EXPECT_EQ(filter.Process(1.0f, 0.5f, 1.0f, mixed), 0.5f * 0.5625f + 0.25f * 0.53125f + 0.25f * -0.1875f);
}

TEST(MStateVariableFilter, StableOverTheWholeCutoffAndResonanceRange)
{
    for (float f : {0.0001f, 0.01f, 0.16f, 0.5f, 0.9f, 1.0f})
    {
        for (float r : {0.0f, 0.5f, 0.9f, 1.0f})
        {
            for (int32_t scale : {0, 1})
            {
                MStateVariableFilter filter{};
                CRandom random(7);
                const float d = MStateVariableFilter::Damping(r, f, scale);
                const MStateVariableFilter::Weights all{1.0f, 1.0f, 1.0f};
                float peak = 0.0f;
                for (int32_t i = 0; i < 50000; ++i)
                {
                    const float x = random.NextUnit() * 2.0f - 1.0f;
                    peak = std::fmax(peak, std::fabs(filter.Process(x, f, d, all)));
                }
                // Bounded: the resonant peak gain is at most about 1 / d.
                EXPECT_LT(peak, 200.0f) << "f " << f << " r " << r;
                // ... and it decays once the input stops.
                if (f < 0.01f)
                    continue;
                for (int32_t i = 0; i < 300000 && std::fabs(filter.band) + std::fabs(filter.low) > 1e-3f; ++i)
                    filter.Process(0.0f, f, d, all);
                EXPECT_LT(std::fabs(filter.band) + std::fabs(filter.low), 1e-3f) << "f " << f << " r " << r;
            }
        }
    }
}
