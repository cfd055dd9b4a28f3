// Cost of the dry voice render: 10 s of audio at 44.1 kHz in 256-sample
// blocks. Figures: xRealtime = audio seconds per CPU second (the real-time
// factor), cpuPerAudioSec = CPU seconds per audio second (the fraction of one
// core), cpuPerVoiceSec = the same per sounding voice. Each case runs five
// times; read the median on a busy machine.
#include "synth/CSynth.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace
{

constexpr int32_t kRate = 44100;
constexpr int32_t kBlock = 256;
constexpr double kSeconds = 10.0;
constexpr int32_t kFrames = static_cast<int32_t>(kRate * kSeconds);

// Both oscillators, cross-modulation, noise, a resonant modulated filter and
// all three LFOs and envelopes at work.
void MakeRichProgram(SynthProgram& p)
{
    std::memset(&p, 0, sizeof p);
    InitProgram(p);
    p.wave1 = 4;
    p.wave2 = 3;
    p.mod1 = 0.6f;
    p.mod2 = 0.7f;
    p.ratio2 = 2.0f;
    p.noise = 0.3f;
    p.detune = 0.2f;
    p.pmAmount = 0.4f;
    p.pmShape = 0.3f;
    p.feedback = 0.3f;
    p.feedbackShape = 0.5f;
    p.cutoff = 0.6f;
    p.q = 0.7f;
    p.blend = 0.3f;
    p.env[0] = SynthEnvelope{0.05f, 0.3f, 0.8f, 1.0f};
    p.env[1] = SynthEnvelope{0.1f, 0.5f, 0.3f, 0.8f};
    p.env[2] = SynthEnvelope{0.2f, 0.6f, 0.5f, 0.8f};
    p.lfo[0] = SynthLfo{0, 1, 0, 0.4f, 1, 4};
    p.lfo[1] = SynthLfo{1, 0, 0, 0.3f, 1, 4};
    p.lfo[2] = SynthLfo{4, 1, 1, 0.0f, 1, 8};
    p.lfo1Vibrato = 0.2f;
    p.lfo1Tremolo = 0.3f;
    p.lfo1Noise = 0.5f;
    p.lfo1Mix = 0.3f;
    p.lfo2Volume = 0.2f;
    p.lfo2Pan = 0.5f;
    p.lfo2Cutoff = 0.6f;
    p.lfo2Q = 0.3f;
    p.lfo3Phase = 0.5f;
    p.lfo3Pm = 0.5f;
    p.lfo3Mod1 = 0.5f;
    p.lfo3Mod2 = 0.5f;
    p.e3Pm = 0.5f;
    p.e3Mod1 = 0.5f;
    p.velCutoff = 0.5f;
    p.rndPan = 0.5f;
    p.keyCutoff = 0.5f;
}

void PlayChord(CSynth& synth, int32_t voices)
{
    for (int32_t i = 0; i < voices; ++i)
        synth.HandleMidi(0x90u | static_cast<uint32_t>(36 + i * 2) << 8 | 100u << 16);
}

void ReleaseChord(CSynth& synth, int32_t voices)
{
    for (int32_t i = 0; i < voices; ++i)
        synth.HandleMidi(0x80u | static_cast<uint32_t>(36 + i * 2) << 8);
}

// Renders the frames the way a host does: cleared buffers, 256 at a time.
void RenderSeconds(CSynth& synth, std::vector<float>& left, std::vector<float>& right, int32_t frames)
{
    for (int32_t start = 0; start < frames; start += kBlock)
    {
        const int32_t n = frames - start < kBlock ? frames - start : kBlock;
        std::memset(left.data(), 0, sizeof(float) * kBlock);
        std::memset(right.data(), 0, sizeof(float) * kBlock);
        float* outputs[2] = {left.data(), right.data()};
        synth.ProcessBlock(nullptr, outputs, n);
    }
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
}

void SetFigures(benchmark::State& state, int32_t voices)
{
    using benchmark::Counter;
    state.counters["xRealtime"] = Counter(kSeconds, Counter::kIsIterationInvariantRate);
    state.counters["cpuPerAudioSec"] = Counter(kSeconds, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["cpuPerVoiceSec"] =
        Counter(kSeconds * voices, Counter::kIsIterationInvariantRate | Counter::kInvert);
}

// Sounding voices held at their sustain.
void BM_HeldVoices(benchmark::State& state)
{
    const int32_t voices = static_cast<int32_t>(state.range(0));
    auto synth = std::make_unique<CSynth>();
    MakeRichProgram(*synth->currentProgram);
    PlayChord(*synth, voices);
    std::vector<float> left(kBlock), right(kBlock);
    for (auto _ : state)
        RenderSeconds(*synth, left, right, kFrames);
    SetFigures(state, voices);
}
BENCHMARK(BM_HeldVoices)
    ->Arg(1)
    ->Arg(8)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// 32 voices released at the start: a 10 s release fading into silence.
void BM_ReleaseTail(benchmark::State& state)
{
    const int32_t voices = 32;
    std::vector<float> left(kBlock), right(kBlock);
    for (auto _ : state)
    {
        state.PauseTiming();
        auto synth = std::make_unique<CSynth>();
        MakeRichProgram(*synth->currentProgram);
        PlayChord(*synth, voices);
        RenderSeconds(*synth, left, right, kRate);
        ReleaseChord(*synth, voices);
        state.ResumeTiming();
        RenderSeconds(*synth, left, right, kFrames);
    }
    SetFigures(state, voices);
}
BENCHMARK(BM_ReleaseTail)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// 32 voices whose only input is noise gated off half the time by a slow
// square LFO: the resonant filters ring down towards zero again and again,
// where unflushed state would sink into denormals.
void BM_SilentRingDown(benchmark::State& state)
{
    const int32_t voices = 32;
    auto synth = std::make_unique<CSynth>();
    SynthProgram& p = *synth->currentProgram;
    MakeRichProgram(p);
    p.wave1 = 5;
    p.wave2 = 5;
    p.noise = 1.0f;
    p.lfo[0] = SynthLfo{3, 1, 0, 0.15f, 1, 4};
    p.lfo1Noise = 1.0f;
    p.lfo1Vibrato = 0.0f;
    p.lfo1Tremolo = 0.0f;
    p.lfo2Cutoff = 0.0f;
    p.cutoff = 0.5f;
    p.q = 1.0f;
    p.filterScale = 0;
    PlayChord(*synth, voices);
    std::vector<float> left(kBlock), right(kBlock);
    for (auto _ : state)
        RenderSeconds(*synth, left, right, kFrames);
    SetFigures(state, voices);
}
BENCHMARK(BM_SilentRingDown)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Every effect of the chain on at its most expensive (all levels full, 16
// phaser stages, the longest chorus sweep and reverb, full feedback) behind
// the held voices: the whole instrument at work.
void BM_HeldVoicesWithEffects(benchmark::State& state)
{
    const int32_t voices = static_cast<int32_t>(state.range(0));
    auto synth = std::make_unique<CSynth>();
    SynthProgram& p = *synth->currentProgram;
    MakeRichProgram(p);
    p.fxWaveshape = p.fxChorus = p.fxPhaser = p.fxDelay = p.fxReverb = p.fxEq = 1.0f;
    p.foldback = 1.0f;
    p.chorusDelay = 150;
    p.chorusDepth = 1.0f;
    p.chorusFeedback = 1.0f;
    p.phaserStages = 16;
    p.phaserFeedback = 1.0f;
    p.delayFeedback = 1.0f;
    p.reverbSize = 100;
    PlayChord(*synth, voices);
    std::vector<float> left(kBlock), right(kBlock);
    for (auto _ : state)
        RenderSeconds(*synth, left, right, kFrames);
    SetFigures(state, voices);
}
BENCHMARK(BM_HeldVoicesWithEffects)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
