#pragma once

#include "effects/CEffectLatch.h"
#include "effects/CReverb.h"
#include "effects/ChorusFx.h"
#include "effects/DelayFx.h"
#include "effects/EqFx.h"
#include "effects/MDCBlocker.h"
#include "effects/PhaserFx.h"
#include "effects/WaveshaperFx.h"

#include <cstdint>

struct SynthProgram;

// The six effects the voice mix passes through, in place and in a fixed
// order: waveshaper, chorus, phaser, delay, reverb, equaliser. Each block the
// chain copies the effects' settings from the current program. An effect runs
// from the first block in which its level is above 0 and in every block after
// that; at level 0 it passes its input unchanged while its lines and LFOs keep
// running. All sample memory is allocated here; Process allocates nothing.
class CEffectChain
{
public:
    // Highest sample rate at which every effect sounds as designed: the
    // buffers are sized for it. Higher rates are accepted; there the chorus
    // delay is shortened to what its buffer holds (above 213 kHz) and long
    // echoes are halved as at any rate.
    static constexpr int32_t kMaxSampleRate = 192000;

    CEffectChain();

    // Ignores rates below 1. Clears the equaliser; the other effects keep
    // their tails.
    void SetSampleRate(int32_t rate);
    // Passes the tempo to the delay; the caller filters it (0 < bpm < 500).
    void SetTempo(float bpm);

    // Clears every effect's lines and filter memories, so that nothing of
    // earlier sound is heard again; settings stay.
    void Reset();

    // Runs the chain over n samples of both buffers with the settings of
    // program. n <= 0 only copies the settings.
    void Process(const SynthProgram& program, float* left, float* right, int32_t n);
    // Process, then each channel through its DC blocker, with the same
    // samples as a ProcessPair call after Process.
    void Process(const SynthProgram& program, float* left, float* right, int32_t n, MDCBlocker& leftBlocker,
                 MDCBlocker& rightBlocker);

    const CReverb2& Reverb() const { return reverb; }
    const PhaserFx& Phaser() const { return phaser; }
    const DelayFx& Delay() const { return delay; }

private:
    // Every effect before the equaliser, then the equaliser's settings;
    // returns whether the equaliser runs. n >= 0.
    bool ProcessUpToEq(const SynthProgram& program, float* left, float* right, int32_t n);

    WaveshaperFx waveshaper;
    ChorusFx chorus;
    PhaserFx phaser;
    DelayFx delay;
    CReverb2 reverb;
    EqFx eq;
    CEffectLatch waveshaperLatch;
    CEffectLatch chorusLatch;
    CEffectLatch phaserLatch;
    CEffectLatch delayLatch;
    CEffectLatch reverbLatch;
    CEffectLatch eqLatch;
};
