#include "effects/ChorusFx.h"

#include "effects/EffectMath.h"

#include <algorithm>
#include <cmath>

ChorusFx::ChorusFx(const float* sineTable) : sine(sineTable), frames(kBufferSize + 1)
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

void ChorusFx::Reset()
{
    std::fill(frames.begin(), frames.end(), Frame{});
    silentWrites = kBufferSize;
}

ChorusFx::Sweep ChorusFx::CurrentSweep() const
{
    const float delaySamples = std::min(static_cast<float>(delayMs) * sampleRate * 0.001f, kMaxDelaySamples);
    const float wet = level * wetScale;
    return Sweep{delaySamples,
                 delaySamples * depth,
                 wet,
                 1.0f - wet,
                 rate * 0.001 * kBufferSize / sampleRate,
                 static_cast<float>(phaseOffset << 16) / 360.0};  // table steps
}

void ChorusFx::EndBlock(int32_t n, uint32_t written, double phase)
{
    silentWrites = written != 0 ? 0 : std::min(silentWrites + n, kBufferSize);
    // Wrapped fully (not just once) so that long blocks at fast rates cannot
    // let the phase grow without bound.
    lfoPhase = phase - kBufferSize * std::floor(phase / kBufferSize);
}

void ChorusFx::Process(const float* inL, const float* inR, float* outL, float* outR, int32_t n)
{
    if (PassesSilence(inL, inR, n))
    {
        // Both lines hold only zeros: every read, write and output is 0.
        PassSilence(inL, inR, outL, outR, n);
        writeIndex = (writeIndex + n) & (kBufferSize - 1);
        EndBlock(n, 0, AdvancePhase(lfoPhase, CurrentSweep().increment, n));
        return;
    }
    Block block(*this, n);
    for (int32_t s = 0; s < n; ++s)
    {
        const Lanes out = block.Next(StereoLanes(inL[s], inR[s]));
        outL[s] = out[0];
        outR[s] = out[1];
    }
    block.End();
}
