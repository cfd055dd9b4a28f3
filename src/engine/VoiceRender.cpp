#include "engine/VoiceRender.h"

#include "engine/CLaneKernel.h"
#include "engine/CVoiceKernel.h"
#include "engine/CVoiceRun.h"

#include <array>
#include <utility>

namespace
{

using RenderOneFunction = void (*)(CVoiceRun&, float*, float*, int32_t);
using RenderTwoFunction = void (*)(CVoiceRun&, CVoiceRun&, float*, float*, int32_t);
using RenderLanesFunction = void (*)(CVoiceRun*, Voice* const*, float*, float*);

// The loops for a pair of waveforms, chosen once per stretch.
struct RenderLoops
{
    RenderOneFunction one;
    RenderTwoFunction two;
    RenderLanesFunction four;
    RenderLanesFunction eight;
};

template <class Osc1, class Osc2>
constexpr RenderLoops LoopsOf()
{
    return RenderLoops{&RenderOne<Osc1, Osc2>, &RenderTwo<Osc1, Osc2>, &RenderStretches<Osc1, Osc2, 1>,
                       &RenderStretches<Osc1, Osc2, 2>};
}

template <class Osc1>
constexpr RenderLoops LoopsFor(OscWave wave2)
{
    switch (wave2)
    {
    case kOscSaw:
        return LoopsOf<Osc1, CSawOSC>();
    case kOscSquare:
        return LoopsOf<Osc1, CSquareOSC>();
    case kOscPulse:
        return LoopsOf<Osc1, CPWMOSC>();
    case kOscPm:
        return LoopsOf<Osc1, CPMOSC>();
    case kOscSaw2:
        return LoopsOf<Osc1, CSAWPHSOSC>();
    default:
        return LoopsOf<Osc1, COSC>();
    }
}

RenderLoops PickLoops(const Voice& v)
{
    switch (v.osc1)
    {
    case kOscSaw:
        return LoopsFor<CSawOSC>(v.osc2);
    case kOscSquare:
        return LoopsFor<CSquareOSC>(v.osc2);
    case kOscPulse:
        return LoopsFor<CPWMOSC>(v.osc2);
    case kOscPm:
        return LoopsFor<CPMOSC>(v.osc2);
    case kOscSaw2:
        return LoopsFor<CSAWPHSOSC>(v.osc2);
    default:
        return LoopsFor<COSC>(v.osc2);
    }
}

void FinishAlone(CVoiceRun& run, float* left, float* right)
{
    const RenderLoops loops = PickLoops(run.TheVoice());
    while (run.Active())
    {
        const int32_t count = run.Left();
        loops.one(run, left + run.Offset(), right + run.Offset(), count);
        run.Advance(count);
    }
}

}  // namespace

bool RenderVoice(Voice& v, const RenderContext& context, float* left, float* right, int32_t frames)
{
    CVoiceRun run(v, context, frames);
    FinishAlone(run, left, right);
    return !v.Finished();
}

void RenderVoicePair(Voice& later, Voice& earlier, const RenderContext& context, float* left, float* right,
                     int32_t frames, VoicePairResult& result)
{
    CVoiceRun first(later, context, frames);
    CVoiceRun second(earlier, context, frames);
    const RenderLoops laterLoops = PickLoops(later);
    const RenderLoops earlierLoops = PickLoops(earlier);
    const bool sameWaves = later.osc1 == earlier.osc1 && later.osc2 == earlier.osc2;
    while (first.Active() && second.Active())
    {
        // Both runs stand at the same sample of the block.
        const int32_t count = first.Left() < second.Left() ? first.Left() : second.Left();
        float* l = left + first.Offset();
        float* r = right + first.Offset();
        if (sameWaves)
        {
            laterLoops.two(first, second, l, r, count);
        }
        else
        {
            laterLoops.one(first, l, r, count);
            earlierLoops.one(second, l, r, count);
        }
        first.Advance(count);
        second.Advance(count);
    }
    FinishAlone(first, left, right);
    FinishAlone(second, left, right);
    result.laterSounding = !later.Finished();
    result.earlierSounding = !earlier.Finished();
}

namespace
{

template <size_t... kIndex>
std::array<CVoiceRun, sizeof...(kIndex)> MakeRuns(Voice* const* voices, const RenderContext& context, int32_t frames,
                                                  std::index_sequence<kIndex...>)
{
    return {CVoiceRun(*voices[kIndex], context, frames)...};
}

// Renders kKernels times four voices side by side while all of them sound and
// share their waveforms; the rest of each voice is rendered alone.
template <int32_t kKernels>
void RenderGroup(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                 bool* sounding)
{
    constexpr int32_t kSize = kKernels * kVoiceQuad;
    bool sameWaves = true;
    for (int32_t l = 1; l < kSize; ++l)
        sameWaves = sameWaves && voices[l]->osc1 == voices[0]->osc1 && voices[l]->osc2 == voices[0]->osc2;
    if (!sameWaves && kKernels > 1)
    {
        // One quad after the other, as the voices would be rendered alone.
        for (int32_t k = 0; k < kKernels; ++k)
            RenderGroup<1>(voices + k * kVoiceQuad, context, left, right, frames, sounding + k * kVoiceQuad);
        return;
    }
    std::array<CVoiceRun, kSize> runs = MakeRuns(voices, context, frames, std::make_index_sequence<kSize>());
    // Voices with other waveforms add one after the other, as alone.
    if (sameWaves)
    {
        const RenderLoops loops = PickLoops(*voices[0]);
        (kKernels > 1 ? loops.eight : loops.four)(runs.data(), voices, left, right);
    }
    for (int32_t i = 0; i < kSize; ++i)
    {
        FinishAlone(runs[i], left, right);
        sounding[i] = !voices[i]->Finished();
    }
}

}  // namespace

void RenderVoiceQuad(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                     bool* sounding)
{
    RenderGroup<1>(voices, context, left, right, frames, sounding);
}

void RenderVoiceOctet(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                      bool* sounding)
{
    RenderGroup<2>(voices, context, left, right, frames, sounding);
}
