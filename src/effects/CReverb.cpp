#include "effects/CReverb.h"

#include "effects/EffectMath.h"
#include "engine/Lanes.h"
#include "engine/StableMath.h"

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

Lanes LoadLanes(const float* samples)
{
    Lanes lanes;
    std::memcpy(&lanes, samples, sizeof(lanes));
    return lanes;
}

void StoreLanes(float* samples, Lanes lanes)
{
    std::memcpy(samples, &lanes, sizeof(lanes));
}

// Rows become columns: four lines' samples become four samples' lines.
void Transpose(Lanes (&v)[kLaneCount])
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

// Four lines' first n samples (n a multiple of four), one line a lane.
void Transpose(const float (*lines)[CReverb::kPassLength], Lanes* across, int32_t n)
{
    for (int32_t s = 0; s < n; s += kLaneCount)
    {
        Lanes v[kLaneCount];
        for (int32_t l = 0; l < kLaneCount; ++l)
            v[l] = LoadLanes(&lines[l][s]);
        Transpose(v);
        std::memcpy(&across[s], v, sizeof(v));
    }
}

// The way back: n samples of four lanes to four lines.
void Transpose(const Lanes* across, float (*lines)[CReverb::kPassLength], int32_t n)
{
    for (int32_t s = 0; s < n; s += kLaneCount)
    {
        Lanes v[kLaneCount];
        std::memcpy(v, &across[s], sizeof(v));
        Transpose(v);
        for (int32_t l = 0; l < kLaneCount; ++l)
            StoreLanes(&lines[l][s], v[l]);
    }
}

}  // namespace

CReverb::CReverb()
{
    for (int32_t k = 0; k < kModulatedLineCount; ++k)
    {
        modulated[k].SetBaseDelay(kLineLengths[k]);
        modulated[k].SetDepth(kModulationDepth);
        modulated[k].SetLfo(45.0 * k / 360.0, kModulationHz / sampleRate);
    }
    for (int32_t k = kModulatedLineCount; k < kLineCount; ++k)
        fixed[k - kModulatedLineCount].Setup(kLineLengths[k]);
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
    for (int32_t s = 0; s < n; ++s)
    {
        mono[s] = (inL[s] + inR[s]) * 0.5f;
        preDelay.Write(mono[s]);
        delayed[s] = preDelay.Tap(preDelaySamples);
    }

    // The sums run four samples a vector, each lane adding in the order of
    // one sample; zeros fill the last vector.
    const int32_t padded = (n + kLaneCount - 1) / kLaneCount * kLaneCount;
    ReadLines(n, padded);
    Damp(n);
    for (int32_t s = n; s < padded; ++s)
    {
        mono[s] = delayed[s] = 0.0f;
        for (Lanes(&group)[kPassLength] : across)
            group[s] = Lanes{};
    }
    for (int32_t g = 0; g < kGroupCount; ++g)
        Transpose(across[g], lines + g * kLaneCount, padded);

    for (int32_t s = 0; s < padded; s += kLaneCount)
    {
        // The accumulators start from the undelayed mono input.
        Lanes left = LoadLanes(&mono[s]);
        Lanes right = left;
        Lanes sum = Lanes{0.0f, 0.0f, 0.0f, 0.0f};
        for (int32_t i = 0; i < kLineCount; ++i)
        {
            const Lanes y = LoadLanes(&lines[i][s]);
            left += y * kLeftSigns[i];
            right += y * kRightSigns[i];
            sum += y;
        }
        StoreLanes(&accL[s], left);
        StoreLanes(&accR[s], right);
        StoreLanes(&householder[s], kHouseholder * sum);
    }

    for (int32_t s = 0; s < n; ++s)
    {
        outL[s] = accL[s] * wetGain * kOutputScale + inL[s] * dryGain;
        outR[s] = accR[s] * wetGain * kOutputScale + inR[s] * dryGain;
        energy += accL[s] * accL[s] + accR[s] * accR[s];
    }

    // Line i takes line i + 1's output: the cyclic shift after the matrix.
    for (int32_t i = 0; i < kLineCount; ++i)
    {
        const float* next = lines[(i + 1) % kLineCount];
        for (int32_t s = 0; s < padded; s += kLaneCount)
            StoreLanes(&feed[s], LoadLanes(&next[s]) + LoadLanes(&householder[s]) + LoadLanes(&delayed[s]));
        if (i < kModulatedLineCount)
            modulated[i].Write(feed, n);
        else
            fixed[i - kModulatedLineCount].Write(feed, n);
    }
    return energy;
}

void CReverb::ReadLines(int32_t n, int32_t padded)
{
    // Every line's reads first, then its filter: the modulated reads stay
    // base - depth - 1 samples behind the write position, so nothing read
    // was written in this pass.
    static_assert(kPassLength <= kLineLengths[0] - kModulationDepth - 1);
    static_assert(kModulatedLineCount == kLaneCount + 2);
    MSVRAP1ModDelayLine* const firstFour[] = {&modulated[0], &modulated[1], &modulated[2], &modulated[3]};
    MSVRAP1ModDelayLine* const lastTwo[] = {&modulated[4], &modulated[5]};
    MSVRAP1ModDelayLine::TickSideBySide<kLaneCount>(firstFour, across[0], n);
    MSVRAP1ModDelayLine::TickSideBySide<2>(lastTwo, across[1], n);
    for (int32_t i = kModulatedLineCount; i < kLineCount; ++i)
        fixed[i - kModulatedLineCount].Read(lines[i], n);
    // The second group's free lanes take the first two fixed lines.
    for (int32_t s = 0; s < n; ++s)
    {
        across[1][s][2] = lines[6][s];
        across[1][s][3] = lines[7][s];
    }
    Transpose(lines + 2 * kLaneCount, across[2], padded);
}

void CReverb::Damp(int32_t n)
{
    // Each lane filters as MLPF1a::ProcessFlushed does.
    for (int32_t g = 0; g < kGroupCount; ++g)
    {
        const MLPF1a* filters = &damping[g * kLaneCount];
        Lanes gain = {};
        Lanes coefficient = {};
        Lanes memory = {};
        for (int32_t l = 0; l < kLaneCount; ++l)
        {
            gain[l] = filters[l].Gain();
            coefficient[l] = filters[l].Coefficient();
            memory[l] = filters[l].State();
        }
        for (int32_t s = 0; s < n; ++s)
        {
            memory = FlushLanes(gain * across[g][s] - coefficient * memory);
            across[g][s] = memory;
        }
        for (int32_t l = 0; l < kLaneCount; ++l)
            damping[g * kLaneCount + l].SetState(memory[l]);
    }
}
