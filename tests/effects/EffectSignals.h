#pragma once

#include "engine/CRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

// Deterministic test signals and measurements for the effect tests.

struct Stereo
{
    std::vector<float> left;
    std::vector<float> right;
};

// Runs an effect in place over copies of left and right.
template <class Effect>
Stereo Apply(Effect& effect, const std::vector<float>& left, const std::vector<float>& right)
{
    Stereo out{left, right};
    effect.Process(out.left.data(), out.right.data(), out.left.data(), out.right.data(),
                   static_cast<int32_t>(left.size()));
    return out;
}

// n samples of uniform noise in -amplitude..amplitude.
inline std::vector<float> Noise(int32_t n, float amplitude, uint32_t seed)
{
    CRandom random(seed);
    std::vector<float> samples(static_cast<size_t>(n));
    for (float& s : samples)
        s = (random.NextUnit() * 2.0f - 1.0f) * amplitude;
    return samples;
}

inline std::vector<float> Impulse(int32_t n, float height = 1.0f)
{
    std::vector<float> samples(static_cast<size_t>(n), 0.0f);
    samples[0] = height;
    return samples;
}

inline std::vector<float> Sine(int32_t n, double hertz, double sampleRate, float amplitude)
{
    std::vector<float> samples(static_cast<size_t>(n));
    for (int32_t i = 0; i < n; ++i)
        samples[i] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * hertz * i / sampleRate));
    return samples;
}

// Amplitude of the component at hertz in samples[from, from + count), by
// correlation with a sine and a cosine (exact for whole numbers of cycles).
inline double Amplitude(const std::vector<float>& samples, int32_t from, int32_t count, double hertz, double sampleRate)
{
    double re = 0.0;
    double im = 0.0;
    for (int32_t i = 0; i < count; ++i)
    {
        const double w = 2.0 * M_PI * hertz * (from + i) / sampleRate;
        re += samples[from + i] * std::cos(w);
        im += samples[from + i] * std::sin(w);
    }
    return 2.0 * std::sqrt(re * re + im * im) / count;
}

inline double Energy(const std::vector<float>& samples, int32_t from, int32_t count)
{
    double sum = 0.0;
    for (int32_t i = from; i < from + count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return sum;
}

inline bool AllFinite(const std::vector<float>& samples)
{
    for (float s : samples)
        if (!std::isfinite(s))
            return false;
    return true;
}

// Plays sound, silentBlocks blocks of 256 zeros, then sound again through two
// copies of an effect. The second copy's silent blocks begin with -0.0, which
// no effect takes for silence, so it runs every block the first may skip;
// process(effect, left, right) runs one block in place; quiet(effect) says
// whether the effect skips silence by then. Both outputs must be equal
// throughout: a skipped block leaves output and state as a run one.
template <class Effect, class Process, class Quiet>
void ExpectSkippedSilenceToMatchARun(Effect& skipping, Effect& running, Process process, Quiet quiet,
                                     const std::vector<float>& sound, int32_t silentBlocks)
{
    constexpr int32_t kBlock = 256;
    const auto play = [&](Effect& effect, std::vector<float> left, std::vector<float> right)
    {
        for (size_t s = 0; s < left.size(); s += kBlock)
            process(effect, left.data() + s, right.data() + s);
        return Stereo{left, right};
    };
    const Stereo first = play(skipping, sound, sound);
    EXPECT_EQ(first.left, play(running, sound, sound).left);
    std::vector<float> zeros(kBlock * static_cast<size_t>(silentBlocks), 0.0f);
    std::vector<float> marked = zeros;
    for (size_t s = 0; s < marked.size(); s += kBlock)
        marked[s] = -0.0f;
    const Stereo silence = play(skipping, zeros, zeros);
    const Stereo ran = play(running, marked, marked);
    EXPECT_TRUE(quiet(skipping));
    EXPECT_EQ(silence.left, ran.left);
    EXPECT_EQ(silence.right, ran.right);
    const Stereo again = play(skipping, sound, sound);
    const Stereo reference = play(running, sound, sound);
    EXPECT_EQ(again.left, reference.left);
    EXPECT_EQ(again.right, reference.right);
}
