#pragma once

#include "effects/MDelayLine.h"
#include "effects/MLPF1a.h"
#include "effects/MSVRAP1ModDelayLine.h"
#include "engine/Lanes.h"

#include <cstdint>

// Twelve-line feedback delay network: the mono sum of the input, after a
// 20 ms pre-delay, feeds twelve lines (six sine-modulated, six fixed) whose
// damped outputs return through a Householder matrix with a cyclic shift; two
// sign vectors take the stereo output from the lines. Idles (one energy sum
// per block) while its input is silent and it has been silent for 2 s.
class CReverb
{
public:
    static constexpr int32_t kLineCount = 12;
    static constexpr int32_t kModulatedLineCount = 6;
    static constexpr int32_t kPreDelayCapacity = 48000;  // samples: 20 ms up to 2.4 MHz
    static constexpr int32_t kMinTimeMs = 1000;

    CReverb();
    virtual ~CReverb() = default;

    // In place allowed (in == out).
    virtual void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n);

    // Clears every line, damping memory and the pre-delay; the reverb idles
    // until its input sounds again. Settings and LFO phases stay.
    void Reset();
    // Reverb time (60 dB decay) in milliseconds, raised to 1000 when smaller;
    // recomputes the twelve damping filters and the size.
    void SetTime(int32_t milliseconds);
    // A new rate changes the pre-delay at once and recomputes the damping so
    // that the reverb time holds; line lengths stay fixed in samples.
    void SetSampleRate(float rate);
    void SetWetGain(float gain) { wetGain = gain; }
    void SetDryGain(float gain) { dryGain = gain; }
    void SetSize(int32_t newSize) { size = newSize; }

    int32_t Time() const { return reverbTime; }
    int32_t Size() const { return size; }
    bool IsRunning() const { return running; }
    const MLPF1a& Damping(int32_t line) const { return damping[line]; }

    static constexpr int32_t kLineLengths[kLineCount] = {601,  691,  773,  839,  919,  997,
                                                         1061, 1093, 1129, 1151, 1171, 1187};

    // Samples a pass handles line by line: each line reads only what was
    // written before the pass (CReverb.cpp checks the bound).
    static constexpr int32_t kPassLength = 256;

private:
    static constexpr int32_t kGroupCount = kLineCount / kLaneCount;

    // Up to kPassLength samples; returns energy plus the pass's output energy,
    // added sample by sample.
    float Pass(const float* inL, const float* inR, float* outL, float* outR, int32_t n, int32_t preDelaySamples,
               float energy);
    // mono and delayed: the mono input before and after the pre-delay.
    void PreDelay(const float* inL, const float* inR, int32_t n, int32_t distance);
    // The twelve lines' next n samples, damped, into across. padded is n
    // rounded up to whole vectors.
    void ReadLines(int32_t n, int32_t padded);
    // The sums of across into accL, accR and, straight into the rings, the
    // next input of each line. The wide loop, built for AVX, takes eight
    // samples a step (padded a multiple of 8), in the plain loop's order.
    void Mix(int32_t padded);
#ifdef VELMORA_WIDE_VECTORS
    [[gnu::target("avx")]] void MixWide(int32_t padded);
#endif
    // Where each line's next input goes: straight into its ring.
    void LineInputs(float** inputs);

    float sampleRate = 44100.0f;
    int32_t reverbTime = 0;
    int32_t preDelayMs = 20;
    MSVRAP1ModDelayLine modulated[kModulatedLineCount];
    MDelayLine fixed[kLineCount - kModulatedLineCount];
    MLPF1a damping[kLineCount];
    MDelayLine preDelay;
    bool running = false;
    int32_t silentSamples = 0;
    int32_t size = 0;
    float dryGain = 0.0f;
    float wetGain = 1.0f;
    bool wide = WideVectorsRun();

    // Scratch of a pass, four-sample vectors apart from the tail. The filters
    // run on across: group g holds lines 4 g to 4 g + 3 side by side. Plain
    // floats, read and written through LoadLanes and StoreLanes: the synth
    // lives on the heap, which 32-bit Windows aligns to 8 bytes only, and a
    // vector member would be accessed with instructions that need 16.
    float across[kGroupCount][kPassLength][kLaneCount];
    float fixedPairs[kPassLength][2];
    float mono[kPassLength];
    float delayed[kPassLength];
    float accL[kPassLength];
    float accR[kPassLength];
    // The modulated lines' LFO table entries: lines 0 to 3, then 4 and 5.
    float lfoEntries[2][kPassLength][kLaneCount];
};

// The reverb as the synth holds it.
class CReverb2 final : public CReverb
{
};
