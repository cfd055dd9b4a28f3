#include "effects/WaveshaperFx.h"

#include "EffectSignals.h"
#include "effects/EffectMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{

std::vector<float> Shape(const WaveshaperFx& shaper, std::vector<float> left)
{
    std::vector<float> right = left;
    shaper.Process(left.data(), right.data(), static_cast<int32_t>(left.size()));
    EXPECT_EQ(left, right);
    return left;
}

WaveshaperFx Shaper(float level, float amount)
{
    WaveshaperFx shaper;
    shaper.SetLevel(level);
    shaper.SetAmount(amount);
    return shaper;
}

}  // namespace

TEST(WaveshaperFx, AmountZeroLeavesTheBuffersUntouchedWhateverTheLevel)
{
    const std::vector<float> input = Noise(1000, 3.0f, 1);
    EXPECT_EQ(Shape(Shaper(1.0f, 0.0f), input), input);
    EXPECT_EQ(Shape(Shaper(0.5f, -1.0f), input), input);
    EXPECT_EQ(Shape(Shaper(1.0f, std::numeric_limits<float>::quiet_NaN()), input), input);
}

TEST(WaveshaperFx, FullAmountFoldsAtOneTwentieth)
{
    // t = 0.05, gain 1.67, fold period 0.2.
    const std::vector<float> out = Shape(Shaper(1.0f, 1.0f), {0.2f, -0.2f, 0.1f, 0.03f, 0.06f, -0.06f, 0.05f});
    EXPECT_NEAR(out[0], 0.0f, 1e-7);  // | |fmod(0.15, 0.2)| - 0.1 | - 0.05
    EXPECT_NEAR(out[1], 0.0f, 1e-7);
    EXPECT_NEAR(out[2], 0.0f, 1e-7);
    EXPECT_FLOAT_EQ(out[3], 0.03f * 1.67f);  // inside: make-up gain only
    EXPECT_FLOAT_EQ(out[4], 0.04f * 1.67f);  // 0.01 past the threshold folds back to 0.04
    EXPECT_FLOAT_EQ(out[5], -0.04f * 1.67f);
    EXPECT_FLOAT_EQ(out[6], 0.05f * 1.67f);  // the threshold itself passes
}

TEST(WaveshaperFx, LevelMixesShapedAndDry)
{
    // Half amount: t = 0.275, gain 1.335; 0.5 folds to 0.05.
    const std::vector<float> out = Shape(Shaper(0.25f, 0.5f), {0.5f, 0.1f});
    EXPECT_FLOAT_EQ(out[0], 0.05f * 0.25f * 1.335f + 0.75f * 0.5f);
    EXPECT_FLOAT_EQ(out[1], 0.1f * 0.25f * 1.335f + 0.75f * 0.1f);
}

// The fold's remainder is the library's, bit for bit: single-precision
// dividends of every size and sign against the periods the fold uses, exact
// multiples and quotients up to and past 2^24 included.
TEST(WaveshaperFx, RemainderIsTheLibrarysBitForBit)
{
    const std::vector<float> inputs = Noise(20000, 1.0f, 3);
    for (const float period : {0.2f, 0.2002f, 1.96f, 2.0f})
        for (size_t i = 0; i < inputs.size(); ++i)
        {
            const float scale = std::ldexp(1.0f, static_cast<int>(i % 60) - 20);
            for (const float a : {inputs[i] * scale, period * static_cast<float>(i % 97) * (i % 2 ? 1.0f : -1.0f),
                                  period * 16777216.0f * inputs[i], 0.0f, -0.0f})
            {
                const double ours = ExactRemainder(a, period);
                const double library = std::fmod(static_cast<double>(a), period);
                ASSERT_TRUE(ours == library && std::signbit(ours) == std::signbit(library)) << a << " % " << period;
            }
        }
    EXPECT_TRUE(std::isnan(ExactRemainder(std::numeric_limits<double>::infinity(), 0.2)));
}

// A block folds four samples at a time; each sample must come out as it does
// alone, huge, non-finite and exactly periodic samples among them.
TEST(WaveshaperFx, BlocksFoldAsSingleSamples)
{
    std::vector<float> input = Noise(403, 3.0f, 7);
    const float odd[] = {1e30f, -1e30f, std::numeric_limits<float>::infinity(), NAN, 0.475f, -0.0f, 0.095f, 1e6f};
    for (size_t i = 0; i < 8; ++i)
        input[37 * i + 3] = odd[i];
    const WaveshaperFx shaper = Shaper(0.7f, 0.9f);  // t = 0.095, period 0.38
    std::vector<float> left = input;
    std::vector<float> right = input;
    shaper.Process(left.data(), right.data(), static_cast<int32_t>(input.size()));
    for (size_t s = 0; s < input.size(); ++s)
    {
        float alone = input[s];
        float other = alone;
        shaper.Process(&alone, &other, 1);
        EXPECT_EQ(std::memcmp(&left[s], &alone, sizeof alone), 0) << s << ": " << input[s];
    }
}
