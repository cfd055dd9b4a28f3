#include "engine/Oscillators.h"

#include "engine/EngineTables.h"

#include <gtest/gtest.h>

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

// Each waveform's sample and the state it keeps (a, b) for the next one.
TEST(Oscillators, EachWaveformFeedsItsStateBackAsWorkedByHand)
{
    float a = 0.3f;
    float b = 0.0f;
    EXPECT_EQ(CSawOSC::Compute(Sine(), 32.37, 0.0f, 1.0, a, b), At(32.37));  // amount 0: the plain sine
    EXPECT_EQ(a, At(32.37));

    a = 0.5f;
    float y = CSawOSC::Compute(Sine(), 32.1, 1.0f, 1.0, a, b);
    EXPECT_EQ(y, At(32.1 + 1.0f * kOscFeedback * 0.5f));
    EXPECT_EQ(a, y);

    a = -0.5f;  // square: the squared sample
    y = CSquareOSC::Compute(Sine(), 32.2, 0.5f, 1.0, a, b);
    EXPECT_EQ(y, At(32.2 + (0.25f * 0.5f) * kOscFeedback));
    EXPECT_EQ(a, y);

    a = b = 0.0f;  // pulse: the second sine offset by the width
    y = CPWMOSC::Compute(Sine(), 32.1, 1.0f, 1.0, a, b);
    EXPECT_EQ(a, At(32.1));
    EXPECT_EQ(b, At(32.1 + 0.05 + 0.45f));  // half a cycle
    EXPECT_EQ(y, (a - b) * 0.5f);
    a = b = 0.0f;
    CPWMOSC::Compute(Sine(), 32.1, 0.0f, 1.0, a, b);
    EXPECT_EQ(b, At(32.1 + 0.05));  // width 0: 0.05 cycle, not 0

    a = b = 0.0f;  // PM: modulated by a sine at the ratio
    y = CPMOSC::Compute(Sine(), 32.1, 0.5f, 2.0, a, b);
    EXPECT_EQ(a, At(32.1 * 2.0));
    EXPECT_EQ(y, At(32.1 + a * 0.5f));
    EXPECT_EQ(b, y);

    a = 0.25f;  // saw 2: two self-fed sines added
    b = -0.25f;
    y = CSAWPHSOSC::Compute(Sine(), 32.3, 0.5f, 4.0, a, b);
    const float p = At(32.3 * 4.0 + 0.25f * kOscFeedback);
    const float q = At(32.3 + -0.25f * kOscFeedback + 0.5f * 0.5f);
    EXPECT_EQ(a, p);
    EXPECT_EQ(b, q);
    EXPECT_EQ(y, (p + q) * 0.5f);
}
