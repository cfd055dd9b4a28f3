#include "effects/ChorusFx.h"

#include "effects/EffectMath.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr int32_t kIndexMask = ChorusFx::kBufferSize - 1;
constexpr float kBufferSizeF = static_cast<float>(ChorusFx::kBufferSize);

// Read positions outside the buffer moved in by one buffer length. Adding or
// subtracting 0 leaves the others as they are, as no position is -0.
Lanes WrapPosition(Lanes position)
{
    const LaneInts size = reinterpret_cast<LaneInts>(Lanes{} + kBufferSizeF);
    const Lanes below = reinterpret_cast<Lanes>((position < 0.0f) & size);
    const Lanes above = reinterpret_cast<Lanes>((position >= kBufferSizeF) & size);
    return position + below - above;
}

}  // namespace

ChorusFx::ChorusFx(const float* sineTable)
    : sine(sineTable), bufferLeft(kBufferSize, 0.0f), bufferRight(kBufferSize, 0.0f)
{
}

void ChorusFx::SetLevel(float newLevel)
{
    level = ClampSetting(newLevel, 0.0f, 1.0f);
}

void ChorusFx::SetDelay(int32_t milliseconds)
{
    delayMs = ClampSetting(milliseconds, 1, 150);
}

void ChorusFx::SetDepth(float newDepth)
{
    depth = ClampSetting(newDepth, 0.0f, 1.0f);
}

void ChorusFx::SetRate(float newRate)
{
    rate = ClampSetting(newRate, 100.0f, 10000.0f);
}

void ChorusFx::SetPhaseOffset(int32_t degrees)
{
    phaseOffset = WrapDegrees(degrees);
}

void ChorusFx::SetFeedback(float newFeedback)
{
    feedback = ClampSetting(newFeedback, -1.0f, 1.0f);
}

uint32_t ChorusFx::Run(const float* inL, const float* inR, float* outL, float* outR, int32_t n, Sweep sweep,
                       double& phase)
{
    float* left = bufferLeft.data();
    float* right = bufferRight.data();
    const float fb = feedback;
    int32_t write = writeIndex;
    LaneInts written{};
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes in = StereoLanes(inL[s], inR[s]);
        const Lanes lfo = StereoLanes(sine[static_cast<int32_t>(phase) & kIndexMask],
                                      sine[static_cast<int32_t>(sweep.lead + phase) & kIndexMask]);
        const float start = static_cast<float>(write) - sweep.delaySamples - 1.0f;
        const Lanes position = WrapPosition(sweep.swing * lfo + start);
        const LaneInts i = __builtin_convertvector(position, LaneInts);
        const int32_t iL = i[0];
        const int32_t iR = i[1];
        const Lanes a = StereoLanes(left[iL & kIndexMask], right[iR & kIndexMask]);
        const Lanes b = StereoLanes(left[(iL + 1) & kIndexMask], right[(iR + 1) & kIndexMask]);
        const Lanes v = a + (b - a) * (position - __builtin_convertvector(i, Lanes));
        const Lanes stored = FlushTiny(v * fb + in);
        left[write] = stored[0];
        right[write] = stored[1];
        written |= reinterpret_cast<LaneInts>(stored);
        const Lanes out = sweep.dry * in + sweep.wet * v;
        outL[s] = out[0];
        outR[s] = out[1];
        write = (write + 1) & kIndexMask;
        phase += sweep.increment;
    }
    writeIndex = write;
    return static_cast<uint32_t>(written[0] | written[1]);
}

void ChorusFx::Reset()
{
    std::fill(bufferLeft.begin(), bufferLeft.end(), 0.0f);
    std::fill(bufferRight.begin(), bufferRight.end(), 0.0f);
    silentWrites = kBufferSize;
}

void ChorusFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    const float delaySamples = std::min(static_cast<float>(delayMs) * sampleRate * 0.001f, kMaxDelaySamples);
    const float swing = delaySamples * depth;
    const double increment = rate * 0.001 * kBufferSize / sampleRate;
    const float wet = level * wetScale;
    const float dry = 1.0f - wet;
    const double lead = static_cast<float>(phaseOffset << 16) / 360.0;  // table steps

    uint32_t written = 0;
    double phase = lfoPhase;
    if (silentWrites >= kBufferSize && IsSilent(inL, inR, n))
    {
        // Both lines hold only zeros: every read, write and output is 0.
        PassSilence(inL, inR, outL, outR, n);
        phase = AdvancePhase(phase, increment, n);
        writeIndex = (writeIndex + n) & kIndexMask;
    }
    else
        written = Run(inL, inR, outL, outR, n, Sweep{delaySamples, swing, wet, dry, increment, lead}, phase);
    silentWrites = written != 0 ? 0 : std::min(silentWrites + n, kBufferSize);
    // Wrapped fully (not just once) so that long blocks at fast rates cannot
    // let the phase grow without bound.
    lfoPhase = phase - kBufferSize * std::floor(phase / kBufferSize);
}
