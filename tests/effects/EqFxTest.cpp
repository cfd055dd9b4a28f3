#include "effects/EqFx.h"

#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{

std::vector<float> Apply(EqFx& eq, std::vector<float> samples)
{
    std::vector<float> right = samples;
    eq.Process(samples.data(), right.data(), static_cast<int32_t>(samples.size()));
    EXPECT_EQ(samples, right);
    return samples;
}

// Gain of the equaliser for a sine at hertz, after the cascades settle.
double GainAt(int32_t low, int32_t mid, int32_t high, double hertz)
{
    EqFx eq;
    eq.SetLevel(1.0f);
    eq.SetGains(low, mid, high, 100);
    eq.SetFrequencies(880, 5000);
    eq.UpdateCoefficients();
    const double rate = 44100.0;
    const std::vector<float> out = Apply(eq, Sine(44100, hertz, rate, 0.5f));
    return Amplitude(out, 22050, 22050, hertz, rate) / 0.5;
}

}  // namespace

TEST(EqFx, UnityGainsAndFullLevelDelayTheInputByThreeSamples)
{
    EqFx eq;
    eq.SetLevel(1.0f);
    const std::vector<float> input = Noise(5000, 1.0f, 1);
    const std::vector<float> out = Apply(eq, input);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(out[i], 0.0f);
    for (size_t i = 3; i < input.size(); ++i)
        ASSERT_EQ(out[i], input[i - 3]) << "sample " << i;
    // The output gain scales everything.
    EqFx half;
    half.SetLevel(1.0f);
    half.SetGains(100, 100, 100, 50);
    EXPECT_FLOAT_EQ(Apply(half, {0.8f, 0.0f, 0.0f, 0.0f})[3], 0.4f);
}

// With the high band cut, the output is the high crossover's four-pole
// low-pass of the input: an impulse answers at once with hf^4, as the high
// band is taken from the same three-sample delay as the sum. The crossover
// goes no lower than 800 Hz.
TEST(EqFx, CutHighBandLeavesTheFourPoleLowPassAndItsCrossoverStopsAt800Hz)
{
    const auto dark = [](int32_t highHz, const std::vector<float>& input)
    {
        EqFx eq;
        eq.SetLevel(1.0f);
        eq.SetGains(100, 100, 0, 100);
        eq.SetFrequencies(880, highHz);
        eq.UpdateCoefficients();
        return Apply(eq, input);
    };
    const double hf = 2.0 * std::sin(3.14159265358979 * 5000.0 / 44100.0);
    EXPECT_NEAR(dark(5000, {1.0f, 0.0f})[0], hf * hf * hf * hf, 1e-6);
    const std::vector<float> noise = Noise(2000, 1.0f, 7);
    EXPECT_EQ(dark(100, noise), dark(800, noise));
}

TEST(EqFx, EachBandActsAroundItsCentreAndNotFarFromIt)
{
    // Low band: boosted at 50 Hz, untouched at 15 kHz.
    EXPECT_NEAR(GainAt(200, 100, 100, 50.0), 2.0, 0.05);
    EXPECT_NEAR(GainAt(200, 100, 100, 15000.0), 1.0, 0.01);
    // The cascades lag in phase, so a cut band leaves a residue: 12 dB at least.
    EXPECT_LT(GainAt(0, 100, 100, 50.0), 0.25);
    // High band: boosted at 15 kHz, untouched at 50 Hz.
    EXPECT_NEAR(GainAt(100, 100, 200, 15000.0), 2.0, 0.1);
    EXPECT_NEAR(GainAt(100, 100, 200, 50.0), 1.0, 0.01);
    EXPECT_LT(GainAt(100, 100, 0, 15000.0), 0.25);
    // Mid band: its cut is deepest between the crossovers, absent far below
    // and far above.
    const double centre = GainAt(100, 0, 100, 2100.0);
    EXPECT_LT(centre, 0.7);
    EXPECT_LT(centre, GainAt(100, 0, 100, 200.0));
    EXPECT_NEAR(GainAt(100, 0, 100, 30.0), 1.0, 0.05);
}

TEST(EqFx, CrossoversAboveWhatTheRateCarriesStayStable)
{
    EqFx eq;
    eq.SetSampleRate(8000.0f);  // 10 kHz is beyond Nyquist here
    eq.SetLevel(1.0f);
    eq.SetGains(200, 200, 200, 200);
    eq.SetFrequencies(2000, 10000);
    eq.UpdateCoefficients();
    const std::vector<float> out = Apply(eq, Noise(80000, 1.0f, 4));
    ASSERT_TRUE(AllFinite(out));
    for (size_t i = 40000; i < out.size(); ++i)
        ASSERT_LT(std::fabs(out[i]), 50.0f);
}

TEST(EqFx, SkippedSilenceLeavesOutputAndStateAsARun)
{
    EqFx skipping;
    skipping.SetLevel(0.7f);
    skipping.SetGains(150, 60, 180, 120);
    skipping.UpdateCoefficients();
    EqFx running = skipping;
    const auto process = [](EqFx& eq, float* l, float* r) { eq.Process(l, r, 256); };
    const auto quiet = [](const EqFx& eq) { return eq.IsSettled(); };
    ExpectSkippedSilenceToMatchARun(skipping, running, process, quiet, Noise(2560, 0.5f, 6), 60);
}

#ifdef VELMORA_WIDE_VECTORS
// The wide loop runs wherever the processor has AVX; the Windows builds run
// the plain one. Both must leave the same bits, in the samples and in the
// state the next block starts from, whatever the settings and the input.
TEST(EqFx, WideLoopGivesThePlainLoopsBits)
{
    if (!WideVectorsRun())
        GTEST_SKIP() << "this processor has no AVX";
    struct PassOn
    {
        Lanes Next(Lanes in) const { return in; }
    } pass;
    struct Setting
    {
        float rate, level;
        int32_t low, mid, high, output, lowHz, highHz;
    };
    const Setting settings[] = {{44100.0f, 0.5f, 100, 100, 100, 100, 880, 5000},
                                {48000.0f, 1.0f, 0, 200, 37, 150, 20, 10000},
                                {22050.0f, 0.3f, 200, 0, 200, 60, 2000, 800},
                                {192000.0f, 0.9f, 150, 60, 180, 120, 440, 9000}};
    const float amplitudes[] = {0.5f, 1e-37f, 30.0f};
    const int32_t lengths[] = {1, 37, 256, 255};
    for (const Setting& setting : settings)
        for (const float amplitude : amplitudes)
        {
            EqFx narrow;
            narrow.SetSampleRate(setting.rate);
            narrow.SetLevel(setting.level);
            narrow.SetGains(setting.low, setting.mid, setting.high, setting.output);
            narrow.SetFrequencies(setting.lowHz, setting.highHz);
            narrow.UpdateCoefficients();
            EqFx wide = narrow;
            std::vector<float> left = Noise(549, amplitude, 3);
            std::vector<float> right = Noise(549, amplitude, 4);
            std::vector<float> wideLeft = left;
            std::vector<float> wideRight = right;
            int32_t at = 0;
            for (const int32_t n : lengths)
            {
                narrow.ProcessNarrowInto(pass, &left[at], &right[at], n);
                wide.ProcessWideInto(pass, &wideLeft[at], &wideRight[at], n);
                at += n;
            }
            EXPECT_EQ(0, std::memcmp(left.data(), wideLeft.data(), left.size() * sizeof(float)))
                << setting.rate << " Hz, amplitude " << amplitude;
            EXPECT_EQ(0, std::memcmp(right.data(), wideRight.data(), right.size() * sizeof(float)))
                << setting.rate << " Hz, amplitude " << amplitude;
        }
}
#endif
