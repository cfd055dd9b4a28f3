#include "effects/CEffectChain.h"

#include "synth/SynthProgram.h"
#include "EffectSignals.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

// Every effect on, with settings that make each one audible: the waveshaper
// folds, the delay is short, the equaliser tilts.
SynthProgram AllEffectsProgram()
{
    SynthProgram p;
    std::memset(&p, 0, sizeof p);
    InitProgram(p);
    p.fxWaveshape = 0.8f;
    p.fxChorus = 0.7f;
    p.fxPhaser = 0.6f;
    p.fxDelay = 0.5f;
    p.fxReverb = 0.6f;
    p.fxEq = 0.9f;
    p.foldback = 0.7f;
    p.chorusDepth = 0.6f;
    p.chorusFeedback = 0.4f;
    p.phaserRate = 0.7f;
    p.phaserStages = 6;
    p.delayBeats = 1;
    p.delayDiv = 32;  // 2756 samples at 120 BPM
    p.delayLR = 0.3f;
    p.reverbSize = 15;
    p.eqLow = 180;
    p.eqMid = 40;
    p.eqHigh = 150;
    return p;
}

Stereo RunChain(CEffectChain& chain, const SynthProgram& program, Stereo in, int32_t blockSize)
{
    const int32_t n = static_cast<int32_t>(in.left.size());
    for (int32_t at = 0; at < n; at += blockSize)
        chain.Process(program, in.left.data() + at, in.right.data() + at, std::min(blockSize, n - at));
    return in;
}

Stereo NoiseInput(int32_t n)
{
    return {Noise(n, 0.9f, 11), Noise(n, 0.9f, 12)};
}

// The chain's effect levels in its fixed order.
float SynthProgram::*const kLevels[] = {&SynthProgram::fxWaveshape, &SynthProgram::fxChorus, &SynthProgram::fxPhaser,
                                        &SynthProgram::fxDelay,     &SynthProgram::fxReverb, &SynthProgram::fxEq};

// The effects of p applied one at a time in the given order, each by a chain
// of its own in which only that effect was ever raised.
Stereo ApplyInOrder(const SynthProgram& p, Stereo in, const std::vector<int>& order)
{
    for (int effect : order)
    {
        SynthProgram only = p;
        for (int other = 0; other < 6; ++other)
            only.*kLevels[other] = other == effect ? p.*kLevels[other] : 0.0f;
        CEffectChain chain;
        in = RunChain(chain, only, in, static_cast<int32_t>(in.left.size()));
    }
    return in;
}

}  // namespace

// Whether never raised or raised once and lowered again (its state running
// on), an effect at level 0 leaves the mix untouched.
TEST(CEffectChain, EveryEffectAtLevelZeroLeavesTheMixUntouched)
{
    SynthProgram silent = AllEffectsProgram();
    for (float SynthProgram::*level : kLevels)
        silent.*level = 0.0f;
    const Stereo in = NoiseInput(4096);
    CEffectChain fresh;
    EXPECT_EQ(RunChain(fresh, silent, in, 256).left, in.left);
    for (size_t i = 0; i < std::size(kLevels); ++i)
    {
        CEffectChain chain;
        SynthProgram program = silent;
        program.*kLevels[i] = 1.0f;
        EXPECT_NE(RunChain(chain, program, in, 256).left, in.left) << "effect " << i;
        const Stereo out = RunChain(chain, silent, in, 256);
        EXPECT_EQ(out.left, in.left) << "effect " << i;
        EXPECT_EQ(out.right, in.right) << "effect " << i;
    }
}

// In blocks of 300 samples, against each effect alone over one block.
TEST(CEffectChain, RunsTheEffectsInTheirFixedOrder)
{
    const SynthProgram program = AllEffectsProgram();
    const Stereo in = NoiseInput(8192);
    CEffectChain chain;
    const Stereo out = RunChain(chain, program, in, 300);

    const Stereo expected = ApplyInOrder(program, in, {0, 1, 2, 3, 4, 5});
    EXPECT_EQ(out.left, expected.left);
    EXPECT_EQ(out.right, expected.right);
}

// Through the DC blockers in the same call, as a ProcessPair call after the
// chain gives it: with the equaliser running, off, and repeating its settled
// output over silence, in blocks of odd lengths.
TEST(CEffectChain, IntoTheDCBlockersAsAfterTheChain)
{
    for (float eqLevel : {0.9f, 0.0f})
    {
        SynthProgram program = AllEffectsProgram();
        program.fxEq = eqLevel;
        program.fxReverb = 0.0f;  // lets the tail settle within the silence
        program.fxDelay = 0.0f;
        program.fxChorus = 0.0f;
        Stereo fused = NoiseInput(6000);
        fused.left.resize(60000, 0.0f);
        fused.right.resize(60000, 0.0f);
        Stereo apart = fused;
        CEffectChain one;
        CEffectChain other;
        MDCBlocker blockers[4];
        for (int32_t at = 0; at < 60000; at += 333)
        {
            const int32_t n = std::min(333, 60000 - at);
            one.Process(program, fused.left.data() + at, fused.right.data() + at, n, blockers[0], blockers[1]);
            other.Process(program, apart.left.data() + at, apart.right.data() + at, n);
            MDCBlocker::ProcessPair(blockers[2], blockers[3], apart.left.data() + at, apart.right.data() + at, n);
        }
        EXPECT_EQ(fused.left, apart.left) << eqLevel;
        EXPECT_EQ(fused.right, apart.right) << eqLevel;
        EXPECT_NE(fused.left[3000], 0.0f);
    }
}

TEST(CEffectChain, ResetLeavesNothingOfEarlierSound)
{
    const SynthProgram p = AllEffectsProgram();
    CEffectChain chain;
    RunChain(chain, p, NoiseInput(4096), 256);
    const Stereo tail = RunChain(chain, p, Stereo{std::vector<float>(512, 0.0f), std::vector<float>(512, 0.0f)}, 256);
    EXPECT_NE(tail.left[511], 0.0f);  // the tails ring on without a reset

    // What remains is the equaliser's anti-denormal offset, far below anything
    // audible (the synth's output stage flushes it to zero).
    chain.Reset();
    const Stereo after =
        RunChain(chain, p, Stereo{std::vector<float>(8192, 0.0f), std::vector<float>(8192, 0.0f)}, 256);
    for (size_t i = 0; i < after.left.size(); ++i)
        ASSERT_TRUE(std::fabs(after.left[i]) < 1e-6f && std::fabs(after.right[i]) < 1e-6f) << i;
}

TEST(CEffectChain, SampleRateChangesInTheMiddleOfATailStayFinite)
{
    // Strong but decaying feedback everywhere: several resonances in series
    // may lift the tail well above the input, but nothing may keep growing.
    CEffectChain chain;
    SynthProgram program = AllEffectsProgram();
    program.fxDelay = program.fxReverb = program.fxChorus = program.fxPhaser = 1.0f;
    program.delayFeedback = 0.9f;
    program.chorusFeedback = 0.9f;
    program.phaserFeedback = 1.0f;
    program.reverbSize = 100;
    RunChain(chain, program, NoiseInput(44100), 512);
    for (int32_t rate : {192000, 8000, 11025, 400000, 22050, 1, 44100})
    {
        chain.SetSampleRate(rate);
        const Stereo tail =
            RunChain(chain, program, {std::vector<float>(20000, 0.0f), std::vector<float>(20000, 0.0f)}, 512);
        ASSERT_TRUE(AllFinite(tail.left)) << rate;
        ASSERT_TRUE(AllFinite(tail.right)) << rate;
        for (float s : tail.left)
            ASSERT_LT(std::fabs(s), 1000.0f) << rate;
    }
}
