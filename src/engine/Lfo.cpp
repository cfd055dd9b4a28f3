#include "engine/Lfo.h"

#include "engine/VoiceParams.h"

namespace
{

constexpr double kFreeRangeMilliHertz = 19990.0;  // rate^2 scale
constexpr double kFreeFloorMilliHertz = 10.0;     // rate 0: 0.01 Hz
constexpr int32_t kMaxSyncCount = 1024;           // beats or divisions

int32_t SyncCount(int32_t value)
{
    if (value < 1)
        return 1;
    return value > kMaxSyncCount ? kMaxSyncCount : value;
}

}  // namespace

int32_t LfoWave(const SynthLfo& params)
{
    const int32_t wave = params.wave;
    return wave >= 0 && wave < EngineTables::kLfoWaveCount ? wave : 0;
}

double LfoIncrement(const SynthLfo& params, int32_t sampleRate, float tempo)
{
    constexpr double size = EngineTables::kLfoSize;
    if (!params.sync)
    {
        const double rate = UnitField(params.rate);
        return ((rate * rate * kFreeRangeMilliHertz + kFreeFloorMilliHertz) * 0.001 * size) / sampleRate;
    }
    const double cyclesPerBeat = SyncCount(params.syncDiv) / (4.0 * SyncCount(params.syncBeats));
    return (cyclesPerBeat * (tempo / 60.0) / sampleRate) * size;
}

void StartLfo(const LfoState& global, LfoState& voice, const SynthLfo& params)
{
    const int32_t wave = LfoWave(params);
    voice.table = EngineTables::Get().lfo[wave];
    voice.continuous = wave == EngineTables::kLfoRandomWave ? 0 : 1;
    if (params.restart)
    {
        voice.phase = 0.0;
        voice.countdown = -1.0;
    }
    else
    {
        voice.phase = global.phase;
        voice.countdown = global.countdown;
    }
}

void StartStep(LfoState& state, int32_t wave, CRandom& random)
{
    state.countdown = EngineTables::kLfoSize / state.increment;
    if (wave == EngineTables::kLfoRandomWave)
    {
        const double unit = random.Next() / static_cast<double>(CRandom::kMax);
        state.phase = static_cast<double>(static_cast<int32_t>(unit * EngineTables::kLfoSize));
    }
}

void AdvanceRandomLfo(LfoState& state, int32_t count)
{
    state.countdown -= count;
    // A state that has never been given a rate waits with its step pending.
    if (state.countdown < 1.0 && state.increment > 0.0)
    {
        state.countdown += EngineTables::kLfoSize / state.increment;
        state.phase += 1.0;
    }
}

void ResetLfo(LfoState& state)
{
    state.phase = 0.0;
    state.countdown = -1.0;
}
