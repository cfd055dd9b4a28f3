#include "engine/MStateVariableFilter.h"

#include "engine/CRandom.h"
#include "engine/Lanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(MStateVariableFilter, BlendCrossfadesNeighbouringOutputs)
{
    using W = MStateVariableFilter::Weights;
    const auto expect = [](float blend, W want) {
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
    EXPECT_NEAR(fullDamping, 0.02f, 1e-7f);
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
                EXPECT_TRUE(std::isfinite(peak));
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

TEST(MStateVariableFilter, FlushSendsTinyStateToZero)
{
    MStateVariableFilter filter{9e-11f, -9e-11f, 2e-10f};
    filter.FlushDenormals();
    EXPECT_EQ(filter.low, 0.0f);
    EXPECT_EQ(filter.band, 0.0f);
    EXPECT_EQ(filter.high, 2e-10f);
    filter.Reset();
    EXPECT_EQ(filter.high, 0.0f);
}

TEST(MStateVariableFilter, LanesMatchOneFilterPerLaneBitForBit)
{
    // Four voices side by side must sound exactly as four filters one after
    // the other, including where the low-cutoff easing switches on per lane.
    MStateVariableFilterOf<Lanes> lanes{};
    MStateVariableFilter single[kLaneCount] = {};
    const Lanes f = {0.16f, 0.159f, 0.05f, 0.7f};
    const Lanes r = {1.0f, 0.8f, 0.95f, 0.3f};
    const LaneInts compensate = {1, 0, 7, 1};
    const MStateVariableFilterOf<Lanes>::Weights w{{1.0f, 0.2f, 0.0f, 0.5f}, {0.0f, 0.8f, 1.0f, 0.3f},
                                                  {0.0f, 0.0f, 0.0f, 0.2f}};
    const Lanes d = MStateVariableFilterOf<Lanes>::Damping(r, f, compensate);
    CRandom random(11);
    for (int32_t i = 0; i < 2000; ++i)
    {
        Lanes x;
        for (int32_t l = 0; l < kLaneCount; ++l)
            x[l] = random.NextUnit() * 2.0f - 1.0f;
        const Lanes y = lanes.Process(x, f, d, w);
        for (int32_t l = 0; l < kLaneCount; ++l)
        {
            const float dl = MStateVariableFilter::Damping(r[l], f[l], compensate[l]);
            ASSERT_EQ(d[l], dl) << "lane " << l;
            const MStateVariableFilter::Weights wl{w.low[l], w.band[l], w.high[l]};
            ASSERT_EQ(y[l], single[l].Process(x[l], f[l], dl, wl)) << "lane " << l << " sample " << i;
        }
    }
}
