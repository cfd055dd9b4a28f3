#include "engine/Oscillators.h"

#include "engine/EngineTables.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

const float* Sine()
{
    return EngineTables::Get().sine;
}

float At(double phase)
{
    return Sine()[static_cast<int64_t>(phase * 65535.0) & 0xFFFF];
}

}  // namespace

TEST(Oscillators, LookupSpansOneCycleOver65535Steps)
{
    EXPECT_EQ(SineLookup(Sine(), 0.0), Sine()[0]);
    EXPECT_EQ(SineLookup(Sine(), 0.5), Sine()[32767]);  // not 32768
    EXPECT_EQ(SineLookup(Sine(), 1.0), Sine()[65535]);
    EXPECT_EQ(SineLookup(Sine(), 32.25), Sine()[(static_cast<int64_t>(32.25 * 65535.0)) & 0xFFFF]);
}

TEST(Oscillators, SawWithAmountZeroIsThePlainSine)
{
    float a = 0.3f;
    float b = 0.0f;
    for (double phase : {32.0, 32.1, 32.37, 33.9})
    {
        EXPECT_EQ(CSawOSC::Compute(Sine(), phase, 0.0f, 1.0, a, b), At(phase));
        EXPECT_EQ(a, At(phase));
    }
}

TEST(Oscillators, SawFeedsBackItsLastSample)
{
    float a = 0.5f;
    float b = 0.0f;
    const float y = CSawOSC::Compute(Sine(), 32.1, 1.0f, 1.0, a, b);
    EXPECT_EQ(y, At(32.1 + 1.0f * kOscFeedback * 0.5f));
    EXPECT_EQ(a, y);
}

TEST(Oscillators, SquareFeedsBackTheSquaredSample)
{
    float a = -0.5f;
    float b = 0.0f;
    const float y = CSquareOSC::Compute(Sine(), 32.2, 0.5f, 1.0, a, b);
    EXPECT_EQ(y, At(32.2 + (0.25f * 0.5f) * kOscFeedback));
    EXPECT_EQ(a, y);
}

TEST(Oscillators, PulseOffsetsTheSecondSineByTheWidth)
{
    float a = 0.0f;
    float b = 0.0f;
    const float y = CPWMOSC::Compute(Sine(), 32.1, 1.0f, 1.0, a, b);
    EXPECT_EQ(a, At(32.1));
    EXPECT_EQ(b, At(32.1 + 0.05 + 0.45f));  // half a cycle
    EXPECT_EQ(y, (a - b) * 0.5f);
    a = b = 0.0f;
    CPWMOSC::Compute(Sine(), 32.1, 0.0f, 1.0, a, b);
    EXPECT_EQ(b, At(32.1 + 0.05));  // width 0: 0.05 cycle, not 0
}

TEST(Oscillators, PmModulatesBySineAtTheRatio)
{
    float a = 0.0f;
    float b = 0.0f;
    const float y = CPMOSC::Compute(Sine(), 32.1, 0.5f, 2.0, a, b);
    const float m = At(32.1 * 2.0);
    EXPECT_EQ(a, m);
    EXPECT_EQ(y, At(32.1 + m * 0.5f));
    EXPECT_EQ(b, y);
}

TEST(Oscillators, Saw2AddsTwoSelfFedSines)
{
    float a = 0.25f;
    float b = -0.25f;
    const float y = CSAWPHSOSC::Compute(Sine(), 32.3, 0.5f, 4.0, a, b);
    const float p = At(32.3 * 4.0 + 0.25f * kOscFeedback);
    const float q = At(32.3 + -0.25f * kOscFeedback + 0.5f * 0.5f);
    EXPECT_EQ(a, p);
    EXPECT_EQ(b, q);
    EXPECT_EQ(y, (p + q) * 0.5f);
}

TEST(OscTable, NumbersZeroToFourAreTheWaveformsAndTheRestIsSilent)
{
    EXPECT_EQ(OscTable(0), kOscSaw);
    EXPECT_EQ(OscTable(1), kOscSquare);
    EXPECT_EQ(OscTable(2), kOscPulse);
    EXPECT_EQ(OscTable(3), kOscPm);
    EXPECT_EQ(OscTable(4), kOscSaw2);
    for (int32_t wave : {5, 16, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
        EXPECT_EQ(OscTable(wave), kOscSilent) << wave;
}
