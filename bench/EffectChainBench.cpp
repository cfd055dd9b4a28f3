// Cost of the effect chain alone: 10 s of stereo audio at 44.1 kHz. Figures:
// xRealtime = audio seconds per CPU second, cpuPerAudioSec = CPU seconds per
// audio second (the fraction of one core the chain takes).
#include "effects/CEffectChain.h"

#include "engine/CRandom.h"
#include "synth/SynthProgram.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kRate = 44100;
constexpr double kSeconds = 10.0;
constexpr int32_t kFrames = static_cast<int32_t>(kRate * kSeconds);

SynthProgram DefaultProgram()
{
    SynthProgram p;
    std::memset(&p, 0, sizeof p);
    InitProgram(p);
    return p;
}

// Every effect on at its most expensive: all levels full, 16 phaser stages,
// the longest chorus sweep, full feedback and the longest reverb.
SynthProgram MaximumProgram()
{
    SynthProgram p = DefaultProgram();
    p.fxWaveshape = p.fxChorus = p.fxPhaser = p.fxDelay = p.fxReverb = p.fxEq = 1.0f;
    p.foldback = 1.0f;
    p.chorusDelay = 150;
    p.chorusDepth = 1.0f;
    p.chorusRate = 100;
    p.chorusFeedback = 1.0f;
    p.phaserStages = 16;
    p.phaserFeedback = 1.0f;
    p.phaserRate = 1.0f;
    p.delayFeedback = 1.0f;
    p.delayBeats = 3;
    p.reverbSize = 100;
    p.eqLow = p.eqMid = p.eqHigh = 200;
    return p;
}

// Every effect on, with feedback that lets the tail die: 1 s reverb, echoes
// and resonances that fall away.
SynthProgram DecayingProgram()
{
    SynthProgram p = MaximumProgram();
    p.chorusFeedback = 0.5f;
    p.phaserFeedback = 0.5f;
    p.delayFeedback = 0.5f;
    p.delayBeats = 1;
    p.reverbSize = 10;
    return p;
}

std::vector<float> Noise(int32_t n, uint32_t seed)
{
    CRandom random(seed);
    std::vector<float> samples(static_cast<size_t>(n));
    for (float& s : samples)
        s = random.NextUnit() * 1.6f - 0.8f;
    return samples;
}

// Runs frames samples through the chain in blocks; loud takes the input from
// a noise loop, otherwise silence.
void RunChain(CEffectChain& chain, const SynthProgram& program, int32_t frames, int32_t block, bool loud)
{
    static const std::vector<float> noiseLeft = Noise(kRate, 1);
    static const std::vector<float> noiseRight = Noise(kRate, 2);
    std::vector<float> left(static_cast<size_t>(block));
    std::vector<float> right(static_cast<size_t>(block));
    int32_t source = 0;
    for (int32_t start = 0; start < frames; start += block)
    {
        const int32_t n = frames - start < block ? frames - start : block;
        if (loud)
        {
            if (source + n > kRate)
                source = 0;
            std::memcpy(left.data(), noiseLeft.data() + source, sizeof(float) * n);
            std::memcpy(right.data(), noiseRight.data() + source, sizeof(float) * n);
            source += n;
        }
        else
        {
            std::memset(left.data(), 0, sizeof(float) * n);
            std::memset(right.data(), 0, sizeof(float) * n);
        }
        chain.Process(program, left.data(), right.data(), n);
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
}

void SetFigures(benchmark::State& state, double seconds)
{
    using benchmark::Counter;
    state.counters["xRealtime"] = Counter(seconds, Counter::kIsIterationInvariantRate);
    state.counters["cpuPerAudioSec"] = Counter(seconds, Counter::kIsIterationInvariantRate | Counter::kInvert);
}

// Loud noise through the whole chain at maximum, by host block size.
void BM_ChainMaximum(benchmark::State& state)
{
    auto chain = std::make_unique<CEffectChain>();
    const SynthProgram program = MaximumProgram();
    const int32_t block = static_cast<int32_t>(state.range(0));
    for (auto _ : state)
        RunChain(*chain, program, kFrames, block, true);
    SetFigures(state, kSeconds);
}
BENCHMARK(BM_ChainMaximum)->RangeMultiplier(4)->Range(32, 2048)->Unit(benchmark::kMillisecond);

// A fresh chain whose levels are all 0: the cost of effects never raised.
void BM_ChainAllOff(benchmark::State& state)
{
    auto chain = std::make_unique<CEffectChain>();
    const SynthProgram program = DefaultProgram();
    for (auto _ : state)
        RunChain(*chain, program, kFrames, 256, true);
    SetFigures(state, kSeconds);
}
BENCHMARK(BM_ChainAllOff)->Unit(benchmark::kMillisecond);

// Decaying settings, a fresh chain after 1 s of loud input: the loud
// reference times one more loud second; the tail times second k of silence
// (argument k). Tails sink through the range where unflushed state would turn
// denormal; no second of the tail may cost more than the loud one.
void BM_ChainDecayingLoud(benchmark::State& state)
{
    const SynthProgram program = DecayingProgram();
    for (auto _ : state)
    {
        state.PauseTiming();
        auto chain = std::make_unique<CEffectChain>();
        RunChain(*chain, program, kRate, 256, true);
        state.ResumeTiming();
        RunChain(*chain, program, kRate, 256, true);
    }
    SetFigures(state, 1.0);
}
BENCHMARK(BM_ChainDecayingLoud)->Unit(benchmark::kMillisecond);

void BM_ChainDecayingTailSecond(benchmark::State& state)
{
    const SynthProgram program = DecayingProgram();
    const int32_t second = static_cast<int32_t>(state.range(0));
    for (auto _ : state)
    {
        state.PauseTiming();
        auto chain = std::make_unique<CEffectChain>();
        RunChain(*chain, program, kRate, 256, true);
        RunChain(*chain, program, kRate * second, 256, false);
        state.ResumeTiming();
        RunChain(*chain, program, kRate, 256, false);
    }
    SetFigures(state, 1.0);
}
BENCHMARK(BM_ChainDecayingTailSecond)->DenseRange(0, 9, 1)->Unit(benchmark::kMillisecond);

// Maximum settings, 10 s of silence after 1 s of noise: the reverb keeps
// running (10 s time) and the full-feedback delay never dies.
void BM_ChainMaximumTail(benchmark::State& state)
{
    const SynthProgram program = MaximumProgram();
    for (auto _ : state)
    {
        state.PauseTiming();
        auto chain = std::make_unique<CEffectChain>();
        RunChain(*chain, program, kRate, 256, true);
        state.ResumeTiming();
        RunChain(*chain, program, kFrames, 256, false);
    }
    SetFigures(state, kSeconds);
}
BENCHMARK(BM_ChainMaximumTail)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
