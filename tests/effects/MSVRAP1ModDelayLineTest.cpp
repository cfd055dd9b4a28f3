#include "effects/MSVRAP1ModDelayLine.h"

#include "engine/EngineTables.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{

// Runs input through the line (Tick, then Write per sample).
std::vector<float> Apply(MSVRAP1ModDelayLine& line, const std::vector<float>& input)
{
    std::vector<float> out;
    for (float x : input)
    {
        float y = 0.0f;
        line.Tick(&y, 1);
        out.push_back(y);
        line.Write(x);
    }
    return out;
}

}  // namespace

TEST(MSVRAP1ModDelayLine, LfoAtItsPeaksMovesTheTapByTheDepth)
{
    // A still LFO at a quarter cycle reads depth samples nearer the write
    // position; at three quarters, depth samples further away.
    for (const auto& [phase, expectedDelay] : {std::pair{0.25, 7}, std::pair{0.75, 13}})
    {
        MSVRAP1ModDelayLine line;
        line.SetBaseDelay(10);
        line.SetDepth(3);
        line.SetLfo(phase, 0.0);
        const std::vector<float> out = Apply(line, Impulse(40));
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(out[i], i == expectedDelay ? 1.0f : 0.0f) << "phase " << phase << " sample " << i;
    }
}

TEST(MSVRAP1ModDelayLine, FractionalTapIsAnAllpassWithThePlainFraction)
{
    // Table entry 5461 is sin(2 pi 5461 / 65536), a little under 0.5: with
    // depth 1 the tap sits that fraction of a sample nearer than 10, so
    // y[n] = x[n-10] + f (x[n-9] - y[n-1]).
    MSVRAP1ModDelayLine line;
    line.SetBaseDelay(10);
    line.SetDepth(1);
    line.SetLfo(5461.0 / 65536.0, 0.0);
    const float f = EngineTables::Get().sine[5461];
    ASSERT_GT(f, 0.49f);
    ASSERT_LT(f, 0.5f);
    const std::vector<float> out = Apply(line, Impulse(16));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(out[i], 0.0f);
    // The fraction is taken from position + f, so it carries that sum's rounding.
    EXPECT_NEAR(out[9], f, 1e-5);
    EXPECT_NEAR(out[10], 1.0f - f * f, 1e-5);
    EXPECT_NEAR(out[11], -f * (1.0f - f * f), 1e-5);
    EXPECT_NEAR(out[12], f * f * (1.0f - f * f), 1e-5);
}

TEST(MSVRAP1ModDelayLine, BlocksAsLongAsTheNearestReadMatchSingleSamples)
{
    // Base 20, depth 3: reads stay 16 samples behind the writes, so blocks of
    // 16 Ticks then 16 Writes give what single samples give, across wraps.
    MSVRAP1ModDelayLine line;
    line.SetBaseDelay(20);
    line.SetDepth(3);
    line.SetLfo(0.1, 0.013);
    MSVRAP1ModDelayLine blocked = line;
    const std::vector<float> input = Noise(160, 1.0f, 3);
    const std::vector<float> expected = Apply(line, input);
    std::vector<float> out(input.size());
    for (size_t s = 0; s < input.size(); s += 16)
    {
        blocked.Tick(&out[s], 16);
        blocked.Write(&input[s], 16);
    }
    EXPECT_EQ(out, expected);
}
