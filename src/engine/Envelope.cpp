#include "engine/Envelope.h"

#include "engine/VoiceParams.h"

#include <cmath>
#include <limits>

namespace
{

constexpr int64_t kMinimumMilliseconds = 5;
constexpr int64_t kMaximumSeconds = 10;

int32_t SaturateCount(int64_t count)
{
    const int64_t largest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(count > largest ? largest : count);
}

// A segment of count samples from the current value to value + delta. With
// h = 1 / (2 count): after k samples the value is V + delta (2t - t^2), t = k /
// count, arriving with zero slope. A zero-length segment only waits for the
// render to advance the stage.
void StartSegment(Envelope& envelope, int32_t count, float delta)
{
    envelope.remaining = count;
    if (count <= 0)
    {
        envelope.remaining = 0;
        envelope.step = 0.0f;
        envelope.stepChange = 0.0f;
        return;
    }
    const float h = 1.0f / (2.0f * static_cast<float>(count));
    envelope.step = (h - h * h) * 4.0f * delta;
    envelope.stepChange = -8.0f * delta * h * h;
}

// knob^2 * maximum, truncated, at least the minimum.
int32_t TimedLength(const EnvelopeRange& limits, float knob)
{
    const double safe = UnitField(knob);
    const int32_t count = static_cast<int32_t>(safe * safe * limits.maximum);
    return count < limits.minimum ? limits.minimum : count;
}

}  // namespace

void EnvelopeLimits::SetSampleRate(int32_t rate)
{
    const int64_t samples = rate;
    const int32_t minimum = SaturateCount((samples * kMinimumMilliseconds + 500) / 1000);
    const int32_t maximum = SaturateCount(samples * kMaximumSeconds);
    for (EnvelopeRange& limits : range)
        limits = EnvelopeRange{minimum, maximum};
}

void StartEnvelope(const EnvelopeRange& limits, Envelope& envelope, const SynthEnvelope& params)
{
    envelope.active = true;
    envelope.stage = Envelope::kAttack;
    envelope.value = 0.0f;
    const double attack = UnitField(params.attack);
    if (attack == 0.0)
    {
        AdvanceEnvelope(limits, envelope, params);
        return;
    }
    const int32_t count = static_cast<int32_t>(std::floor(attack * attack * limits.maximum + 0.5));
    StartSegment(envelope, count, 1.0f);
}

void AdvanceEnvelope(const EnvelopeRange& limits, Envelope& envelope, const SynthEnvelope& params)
{
    switch (envelope.stage)
    {
    case Envelope::kAttack:
        envelope.stage = Envelope::kDecay;
        envelope.value = 1.0f;
        StartSegment(envelope, TimedLength(limits, params.decay), UnitField(params.sustain) - 1.0f);
        break;
    case Envelope::kDecay:
        envelope.stage = Envelope::kSustain;
        envelope.remaining = 0;
        envelope.active = false;
        break;
    case Envelope::kRelease:
        envelope.stage = Envelope::kFinished;
        envelope.remaining = 0;
        envelope.active = false;
        break;
    default:
        break;
    }
}

void ForceRelease(const EnvelopeRange& limits, Envelope& envelope, float time)
{
    envelope.active = true;
    envelope.stage = Envelope::kRelease;
    StartSegment(envelope, TimedLength(limits, time), -envelope.value);
}
