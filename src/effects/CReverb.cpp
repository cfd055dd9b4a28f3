#include "effects/CReverb.h"

#include "effects/EffectMath.h"
#include "engine/Lanes.h"
#include "engine/StableMath.h"
#include "engine/WithConstant.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

constexpr float kLeftSigns[CReverb::kLineCount] = {1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1};
constexpr float kRightSigns[CReverb::kLineCount] = {1, 1, -1, -1, 1, 1, -1, -1, 1, 1, -1, -1};
constexpr int32_t kModulationDepth = 6;  // samples
constexpr double kModulationHz = 2.0;
constexpr float kOutputScale = 0.167f;        // a little above 1/6
constexpr float kHouseholder = -0.16666667f;  // -2/12
constexpr int32_t kInitialTimeMs = 4000;
constexpr float kMaxDampingPole = 0.9f;

// Rows become columns: v[0] to v[3], four lines' samples, become four
// samples' lines, and back.
void Transpose(Lanes* v)
{
    const Lanes low01 = Shuffle<0, 4, 1, 5>(v[0], v[1]);
    const Lanes high01 = Shuffle<2, 6, 3, 7>(v[0], v[1]);
    const Lanes low23 = Shuffle<0, 4, 1, 5>(v[2], v[3]);
    const Lanes high23 = Shuffle<2, 6, 3, 7>(v[2], v[3]);
    v[0] = Shuffle<0, 1, 4, 5>(low01, low23);
    v[1] = Shuffle<2, 3, 6, 7>(low01, low23);
    v[2] = Shuffle<0, 1, 4, 5>(high01, high23);
    v[3] = Shuffle<2, 3, 6, 7>(high01, high23);
}

}  // namespace

CReverb::CReverb()
{
    for (int32_t k = 0; k < kModulatedLineCount; ++k)
    {
        modulated[k].SetBaseDelay(kLineLengths[k]);
        modulated[k].SetDepth(kModulationDepth);
        modulated[k].SetSpan(kPassLength);
        modulated[k].SetLfo(45.0 * k / 360.0, kModulationHz / sampleRate);
    }
    for (int32_t k = kModulatedLineCount; k < kLineCount; ++k)
        fixed[k - kModulatedLineCount].Setup(kLineLengths[k], kPassLength);
    preDelay.Setup(kPreDelayCapacity);
    SetTime(kInitialTimeMs);
}

void CReverb::SetTime(int32_t milliseconds)
{
    const int32_t time = milliseconds < kMinTimeMs ? kMinTimeMs : milliseconds;
    reverbTime = time;
    const float seconds = static_cast<float>(time) * 0.001f;
    // The high frequencies decay 2.4 times faster than the reverb time.
    const double ratio = (seconds / 2.4) / seconds;
    const double k = 1.0 - 1.0 / (ratio * ratio);
    const double ln10Exact = StableLog(10.0);
    const float ln10 = static_cast<float>(ln10Exact);
    for (int32_t i = 0; i < kLineCount; ++i)
    {
        // Line gain for a 60 dB fall over the reverb time.
        const float exponent = static_cast<float>(-3 * kLineLengths[i]) * (1.0f / sampleRate) / seconds;
        const float g = static_cast<float>(StablePow10(exponent));
        // The pole grows as the rate falls; below about 11 kHz it would pass 1
        // and the filter would blow up, so it stops at kMaxDampingPole.
        const float a =
            std::fmin(static_cast<float>((static_cast<float>(StableLog(g) / ln10Exact) * 20.0f * ln10 / 80.0f) * k),
                      kMaxDampingPole);
        damping[i].SetCoefficients((1.0f - a) * g, -a);
    }
    size = time / 100;
}

void CReverb::Reset()
{
    for (MSVRAP1ModDelayLine& line : modulated)
        line.Reset();
    for (MDelayLine& line : fixed)
        line.Reset();
    for (MLPF1a& filter : damping)
        filter.Reset();
    preDelay.Reset();
    running = false;
    silentSamples = 0;
}

void CReverb::SetSampleRate(float rate)
{
    if (rate == sampleRate)
        return;
    sampleRate = rate;
    SetTime(reverbTime);
}

void CReverb::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    int32_t preDelaySamples = static_cast<int32_t>(static_cast<float>(preDelayMs) * sampleRate * 0.001f);
    if (preDelaySamples > kPreDelayCapacity)
        preDelaySamples = kPreDelayCapacity;

    if (!running)
    {
        if (IsSilent(inL, inR, n))
            return;
        float energy = 0.0f;
        for (int32_t s = 0; s < n; ++s)
            energy += inL[s] * inL[s] + inR[s] * inR[s];
        if (!(energy > 1e-10f))
            return;
        running = true;
        silentSamples = 0;
    }

    float blockEnergy = 0.0f;
    for (int32_t done = 0; done < n; done += kPassLength)
        blockEnergy = Pass(inL + done, inR + done, outL + done, outR + done, std::min(kPassLength, n - done),
                           preDelaySamples, blockEnergy);

    if (blockEnergy < 1e-10f)
    {
        silentSamples += n;
        if (silentSamples >= static_cast<int32_t>(2.0f * sampleRate))
            running = false;
    }
}

float CReverb::Pass(const float* inL, const float* inR, float* outL, float* outR, int32_t n, int32_t preDelaySamples,
                    float energy)
{
    PreDelay(inL, inR, n, preDelaySamples);
    // The sums run four samples a vector, each lane adding in the order of
    // one sample; zeros fill the last vector.
    const int32_t padded = (n + kLaneCount - 1) / kLaneCount * kLaneCount;
    ReadLines(n, padded);
    for (int32_t s = n; s < padded; ++s)
    {
        mono[s] = delayed[s] = 0.0f;
        for (float(&group)[kPassLength][kLaneCount] : across)
            StoreLanes(group[s], Lanes{});
    }
#ifdef VELMORA_WIDE_VECTORS
    if (wide && padded % 8 == 0)
        MixWide(padded);
    else
#endif
        Mix(padded);

    for (int32_t s = 0; s < n; ++s)
    {
        outL[s] = accL[s] * wetGain * kOutputScale + inL[s] * dryGain;
        outR[s] = accR[s] * wetGain * kOutputScale + inR[s] * dryGain;
    }
    // The padding adds +0, which leaves the (never negative) sum as it is.
    for (int32_t s = 0; s < padded; s += kLaneCount)
    {
        const Lanes left = LoadLanes(&accL[s]);
        const Lanes right = LoadLanes(&accR[s]);
        const Lanes power = left * left + right * right;
        for (int32_t l = 0; l < kLaneCount; ++l)
            energy += power[l];
    }

    for (MSVRAP1ModDelayLine& line : modulated)
        line.Wrote(n);
    for (MDelayLine& line : fixed)
        line.Wrote(n);
    return energy;
}

void CReverb::PreDelay(const float* inL, const float* inR, int32_t n, int32_t distance)
{
    for (int32_t s = 0; s < n; ++s)
        mono[s] = (inL[s] + inR[s]) * 0.5f;
    // A pre-delay shorter than the pass taps samples the pass writes; a
    // longer one taps first, as the writes may come round to its oldest.
    if (distance < n)
    {
        preDelay.Write(mono, n);
        preDelay.Tap(distance, delayed, n);
    }
    else
    {
        preDelay.Tap(distance - n, delayed, n);
        preDelay.Write(mono, n);
    }
}

void CReverb::ReadLines(int32_t n, int32_t padded)
{
    // Every line's reads first, then its filter: the modulated reads stay
    // base - depth - 1 samples behind the write position, so nothing read
    // was written in this pass.
    static_assert(kPassLength <= kLineLengths[0] - kModulationDepth - 1);
    static_assert(kModulatedLineCount == kLaneCount + 2);
    const float* fixedLines[kLineCount - kModulatedLineCount];
    for (int32_t i = 0; i < kLineCount - kModulatedLineCount; ++i)
        fixedLines[i] = fixed[i].ReadSpan(n);

    // The second group's free lanes take the first two fixed lines, paired
    // up sample by sample beforehand so that a sample's pair is one load;
    // the third group's input, the other four, is turned into one vector a
    // sample in place.
    for (int32_t s = 0; s < padded; s += kLaneCount)
    {
        const Lanes first = LoadLanes(fixedLines[0] + s);
        const Lanes second = LoadLanes(fixedLines[1] + s);
        StoreLanes(&fixedPairs[s][0], Shuffle<0, 4, 1, 5>(first, second));
        StoreLanes(&fixedPairs[s + 2][0], Shuffle<2, 6, 3, 7>(first, second));
        Lanes v[kLaneCount];
        for (int32_t l = 0; l < kLaneCount; ++l)
            v[l] = LoadLanes(fixedLines[2 + l] + s);
        Transpose(v);
        for (int32_t l = 0; l < kLaneCount; ++l)
            StoreLanes(across[2][s + l], v[l]);
    }

    // The three groups' recursions run in one loop, so that each fills the
    // others' waits.
    MSVRAP1ModDelayLine* const firstFour[] = {&modulated[0], &modulated[1], &modulated[2], &modulated[3]};
    MSVRAP1ModDelayLine* const lastTwo[] = {&modulated[4], &modulated[5]};
    MSVRAP1ModDelayLine::SideBySide<kLaneCount> four(firstFour);
    MSVRAP1ModDelayLine::SideBySide<2> two(lastTwo);
    MLPF1aLanes filters[kGroupCount] = {MLPF1aLanes(&damping[0]), MLPF1aLanes(&damping[kLaneCount]),
                                        MLPF1aLanes(&damping[2 * kLaneCount])};
    // Most passes end before any LFO phase wraps: their look-ups leave out
    // the wrap and the mask.
    WithConstant(four.StaysInTable(n) && two.StaysInTable(n),
                 [&](auto inTable)
                 {
                     four.template LookUp<inTable>(n, lfoEntries[0]);
                     two.template LookUp<inTable>(n, lfoEntries[1]);
                     for (int32_t s = 0; s < n; ++s)
                     {
                         StoreLanes(across[0][s], filters[0].ProcessFlushed(four.Next(LoadLanes(lfoEntries[0][s]))));
                         double pair;
                         std::memcpy(&pair, fixedPairs[s], sizeof(pair));
                         const Lanes fixedLanes = reinterpret_cast<Lanes>(Pairs{pair, 0.0});
                         StoreLanes(across[1][s], filters[1].ProcessFlushed(Shuffle<0, 1, 4, 5>(
                                                      two.Next(LoadLanes(lfoEntries[1][s])), fixedLanes)));
                         StoreLanes(across[2][s], filters[2].ProcessFlushed(LoadLanes(across[2][s])));
                     }
                 });
    four.Store();
    two.Store();
    for (int32_t g = 0; g < kGroupCount; ++g)
        filters[g].Store(&damping[g * kLaneCount]);
}

void CReverb::LineInputs(float** inputs)
{
    for (int32_t i = 0; i < kModulatedLineCount; ++i)
        inputs[i] = modulated[i].WriteSpan();
    for (int32_t i = kModulatedLineCount; i < kLineCount; ++i)
        inputs[i] = fixed[i - kModulatedLineCount].WriteSpan();
}

void CReverb::Mix(int32_t padded)
{
    float* feed[kLineCount];
    LineInputs(feed);
    for (int32_t s = 0; s < padded; s += kLaneCount)
    {
        // Back to four samples a vector, one line after the other.
        Lanes y[kLineCount];
        for (int32_t g = 0; g < kGroupCount; ++g)
        {
            Lanes* v = &y[g * kLaneCount];
            for (int32_t l = 0; l < kLaneCount; ++l)
                v[l] = LoadLanes(across[g][s + l]);
            Transpose(v);
        }
        // The accumulators start from the undelayed mono input.
        Lanes left = LoadLanes(&mono[s]);
        Lanes right = left;
        Lanes sum = Lanes{0.0f, 0.0f, 0.0f, 0.0f};
        for (int32_t i = 0; i < kLineCount; ++i)
        {
            left += y[i] * kLeftSigns[i];
            right += y[i] * kRightSigns[i];
            sum += y[i];
        }
        StoreLanes(&accL[s], left);
        StoreLanes(&accR[s], right);
        const Lanes householder = kHouseholder * sum;
        const Lanes input = LoadLanes(&delayed[s]);
        // Line i takes line i + 1's output: the cyclic shift after the matrix.
        for (int32_t i = 0; i < kLineCount; ++i)
            StoreLanes(feed[i] + s, y[(i + 1) % kLineCount] + householder + input);
    }
}

#ifdef VELMORA_WIDE_VECTORS
void CReverb::MixWide(int32_t padded)
{
    float* feed[kLineCount];
    LineInputs(feed);
    for (int32_t s = 0; s < padded; s += 2 * kLaneCount)
    {
        // Each half as the plain loop's vectors: samples s to s + 3 below,
        // s + 4 to s + 7 above, transposed half by half.
        Eights y[kLineCount];
        for (int32_t g = 0; g < kGroupCount; ++g)
        {
            Eights v[kLaneCount];
            for (int32_t l = 0; l < kLaneCount; ++l)
                v[l] = __builtin_shufflevector(LoadLanes(across[g][s + l]), LoadLanes(across[g][s + 4 + l]), 0, 1, 2, 3,
                                               4, 5, 6, 7);
            const Eights low01 = __builtin_shufflevector(v[0], v[1], 0, 8, 1, 9, 4, 12, 5, 13);
            const Eights high01 = __builtin_shufflevector(v[0], v[1], 2, 10, 3, 11, 6, 14, 7, 15);
            const Eights low23 = __builtin_shufflevector(v[2], v[3], 0, 8, 1, 9, 4, 12, 5, 13);
            const Eights high23 = __builtin_shufflevector(v[2], v[3], 2, 10, 3, 11, 6, 14, 7, 15);
            Eights* lines = &y[g * kLaneCount];
            lines[0] = __builtin_shufflevector(low01, low23, 0, 1, 8, 9, 4, 5, 12, 13);
            lines[1] = __builtin_shufflevector(low01, low23, 2, 3, 10, 11, 6, 7, 14, 15);
            lines[2] = __builtin_shufflevector(high01, high23, 0, 1, 8, 9, 4, 5, 12, 13);
            lines[3] = __builtin_shufflevector(high01, high23, 2, 3, 10, 11, 6, 7, 14, 15);
        }
        Eights left;
        std::memcpy(&left, &mono[s], sizeof(left));
        Eights right = left;
        Eights sum = Eights{};
        for (int32_t i = 0; i < kLineCount; ++i)
        {
            left += y[i] * kLeftSigns[i];
            right += y[i] * kRightSigns[i];
            sum += y[i];
        }
        std::memcpy(&accL[s], &left, sizeof(left));
        std::memcpy(&accR[s], &right, sizeof(right));
        const Eights householder = kHouseholder * sum;
        Eights input;
        std::memcpy(&input, &delayed[s], sizeof(input));
        for (int32_t i = 0; i < kLineCount; ++i)
        {
            const Eights next = y[(i + 1) % kLineCount] + householder + input;
            std::memcpy(feed[i] + s, &next, sizeof(next));
        }
    }
}
#endif
