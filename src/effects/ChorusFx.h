#pragma once

#include "effects/EffectMath.h"
#include "engine/Lanes.h"

#include <cstdint>
#include <cstring>
#include <vector>

// Stereo chorus: each channel reads its own 65536-sample delay line at a
// delay swept by a sine LFO, with feedback, mixed with the dry signal. The
// right channel's LFO leads the left by a phase offset.
class ChorusFx
{
public:
    static constexpr int32_t kBufferSize = 65536;  // power of two: indices wrap by masking
    // Longest swept delay, in samples, that keeps the sweep (twice the delay)
    // inside the buffer. 150 ms at full depth fits up to 218 kHz; above that
    // the delay is shortened to this.
    static constexpr float kMaxDelaySamples = 32000.0f;

    // sineTable: 65536 floats of one sine cycle, read-only, outliving this.
    explicit ChorusFx(const float* sineTable);

    void SetSampleRate(float rate) { sampleRate = rate; }
    // Settings, limited to their editor ranges where a value outside is unsafe.
    void SetLevel(float level);            // 0..1
    void SetDelay(int32_t milliseconds);   // 1..150
    void SetDepth(float depth);            // 0..1
    void SetRate(float rate);              // chorusRate x 100: 100..10000 for 0.1..10 Hz
    void SetPhaseOffset(int32_t degrees);  // right LFO lead, taken modulo 360
    void SetFeedback(float feedback);      // -1..1

    // Clears both delay lines; settings and the LFO phase stay.
    void Reset();
    // In place allowed (in == out).
    void Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n);

    // True when Process would pass the block through without running the
    // lines: the input is silent and both lines hold only zeros.
    bool PassesSilence(const float* inL, const float* inR, int32_t n) const
    {
        return IsQuiet() && IsSilent(inL, inR, n);
    }

    // One block through the lines, a sample a call, as Process runs it when
    // it does not pass silence: for an owner that runs the next effect's
    // samples in the same loop. Construct, call Next once a sample, then End.
    class Block;

    double LfoPhase() const { return lfoPhase; }
    // True when both lines hold only zeros: silent blocks then skip the lines.
    bool IsQuiet() const { return silentWrites >= kBufferSize; }

private:
    // What Process derives from the settings once per block.
    struct Sweep
    {
        float delaySamples;
        float swing;  // largest change of the delay, in samples
        float wet;
        float dry;
        double increment;  // LFO table steps per sample
        double lead;       // right LFO lead in table steps
    };
    Sweep CurrentSweep() const;
    // One step of both lines, side by side, so that a step is written at once.
    struct Frame
    {
        float left;
        float right;
    };
    // The block's bookkeeping: written holds the bits of every sample
    // written, or-ed.
    void EndBlock(int32_t n, uint32_t written, double phase);

    const float* sine;
    float sampleRate = 44100.0f;
    float wetScale = 0.5f;
    float feedback = 0.0f;
    double lfoPhase = 0.0;   // in table steps, 0..65536 between blocks
    int32_t writeIndex = 0;  // shared by both channels: they always advance together
    // The lines: kBufferSize frames, then a copy of frame 0, so that a read
    // at the last frame finds the next one without wrapping its index.
    std::vector<Frame> frames;
    // Consecutive +0.0 samples written to both lines, up to kBufferSize:
    // then the lines hold nothing else.
    int32_t silentWrites = kBufferSize;
    float rate = 1600.0f;
    int32_t delayMs = 20;
    int32_t phaseOffset = 90;
    float depth = 0.1f;
    float level = 0.0f;
};

class ChorusFx::Block
{
public:
    Block(ChorusFx& chorus, int32_t n)
        : fx(chorus), sweep(chorus.CurrentSweep()), sine(chorus.sine), frames(chorus.frames.data()),
          fb(chorus.feedback), phase(chorus.lfoPhase), write(static_cast<uint32_t>(chorus.writeIndex)), length(n)
    {
    }

    // in: the stereo input in lanes 0 and 1; returns the output likewise.
    Lanes Next(Lanes in)
    {
        const Lanes lfo = Loaded(sine[static_cast<int32_t>(phase) & kIndexMask],
                                 sine[static_cast<int32_t>(sweep.lead + phase) & kIndexMask]);
        const int32_t at = static_cast<int32_t>(write & kIndexMask);
        const float start = static_cast<float>(at) - sweep.delaySamples - 1.0f;
        const Lanes position = WrapPosition(sweep.swing * lfo + start);
        const LaneInts i = __builtin_convertvector(position, LaneInts);
        const Frame* l = frames + (i[0] & kIndexMask);
        const Frame* r = frames + (i[1] & kIndexMask);
        const Lanes a = Loaded(l[0].left, r[0].right);
        const Lanes b = Loaded(l[1].left, r[1].right);
        const Lanes v = a + (b - a) * (position - __builtin_convertvector(i, Lanes));
        const Lanes stored = FlushTiny(v * fb + in);
        Put(frames[at], stored);
        if (at == 0)
            Put(frames[kBufferSize], stored);  // the copy of frame 0
        written |= reinterpret_cast<LaneInts>(stored);
        ++write;
        phase += sweep.increment;
        return sweep.dry * in + sweep.wet * v;
    }

    void End()
    {
        fx.writeIndex = static_cast<int32_t>(write & kIndexMask);
        fx.EndBlock(length, static_cast<uint32_t>(written[0] | written[1]), phase);
    }

private:
    static constexpr int32_t kIndexMask = kBufferSize - 1;

    // StereoLanes for two values read from memory. Each is set into a zeroed
    // vector and the two interleaved, which tells the compiler that lanes 2
    // and 3 are already zero: it then does not clear them again.
    static Lanes Loaded(float leftValue, float rightValue)
    {
        Lanes l{};
        Lanes r{};
        l[0] = leftValue;
        r[0] = rightValue;
        return Shuffle<0, 4, 1, 5>(l, r);
    }

    // Lanes 0 and 1 into a frame.
    static void Put(Frame& frame, Lanes stored) { std::memcpy(&frame, &stored, sizeof(frame)); }

    // Read positions below 0 moved in by one buffer length; the sign bit
    // picks them, as no position is -0, and adding 0 leaves the others as
    // they are. None reaches the length: at a sample rate of at least 0 the
    // delay is too, and the reads trail the write.
    static Lanes WrapPosition(Lanes position)
    {
        const LaneInts size = reinterpret_cast<LaneInts>(Lanes{} + static_cast<float>(kBufferSize));
        return position + reinterpret_cast<Lanes>((Bits(position) >> 31) & size);
    }

    ChorusFx& fx;
    const Sweep sweep;
    const float* sine;
    Frame* frames;
    const float fb;
    double phase;
    uint32_t write;  // masked where used
    const int32_t length;
    LaneInts written{};
};
