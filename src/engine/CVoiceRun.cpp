#include "engine/CVoiceRun.h"

#include "engine/DspMath.h"
#include "engine/Modulation.h"
#include "engine/StableMath.h"

#include <cstring>
#include <initializer_list>

namespace
{

constexpr double kPitchBaseHertz = 13.75;  // pitch 0; note 69 is 440 Hz
constexpr int32_t kNoteToPitch = -9;
// ln 2 as the single-precision constant, widened.
const double kLn2 = static_cast<double>(static_cast<float>(0.6931471805599453));

void FlushSmoothers(Voice& v)
{
    for (Smoother* s : {&v.amplitude, &v.cutoff, &v.phase, &v.pm, &v.shape1, &v.shape2, &v.mix})
        s->state = FlushTiny(s->state);
}

}  // namespace

double CPitchCache::Increment(double semitones, int32_t sampleRate)
{
    if (!(semitones == lastSemitones))
    {
        lastSemitones = semitones;
        lastIncrement = StableExp(semitones / 12.0 * kLn2) * kPitchBaseHertz / sampleRate;
    }
    return lastIncrement;
}

PanGains CVoiceRun::PanAt(int32_t i)
{
    const VoiceParams& p = sub.params;
    const float position = p.lfo2Pan * voice.lfos[1].Value(i) + (1.0f - p.lfo2Pan) * voice.factors.pan;
    if (!panKnown || std::memcmp(&position, &panPosition, sizeof position) != 0)
    {
        panKnown = true;
        panPosition = position;
        panGains = PanLaw(position, p.pan);
    }
    return panGains;
}

CVoiceRun::CVoiceRun(Voice& v, const RenderContext& c, int32_t frames)
    : voice(v), context(c), program(*v.program), remaining(frames)
{
    sub.params = ReadVoiceParams(program);
    sub.weights = MStateVariableFilter::BlendWeights(program.blend);
    sub.sine = context.tables->sine;
    sub.noise = context.tables->noise;
    sub.wheel = context.modWheel;
    for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
    {
        const SynthLfo& lfoParams = program.lfo[l];
        sub.waves[l] = LfoWave(lfoParams);
        lfoIncrements[l] = LfoIncrement(lfoParams, context.sampleRate, context.tempo);
    }
    NextSubBlock();
}

void CVoiceRun::Advance(int32_t count)
{
    position += count;
    offset += count;
    if (position < sub.length)
        return;
    FinishSubBlock();
    NextSubBlock();
}

void CVoiceRun::NextSubBlock()
{
    for (;;)
    {
        if (remaining <= 0 || voice.Finished())
        {
            active = false;
            return;
        }
        StartSubBlock();
        if (sub.length > 0)
        {
            position = 0;
            active = true;
            return;
        }
        FinishSubBlock();
    }
}

void CVoiceRun::StartSubBlock()
{
    Voice& v = voice;
    const VoiceParams& params = sub.params;

    int32_t n = remaining < kMaxSubBlock ? remaining : kMaxSubBlock;
    for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
    {
        const Envelope& envelope = v.envelopes[e];
        if (envelope.active && envelope.remaining < n)
            n = envelope.remaining;
    }
    for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
    {
        const int32_t wave = sub.waves[l];
        const double increment = lfoIncrements[l];
        LfoState& lfo = v.lfos[l];
        LfoState& global = context.globalLfos[l];
        lfo.increment = increment;
        global.increment = increment;
        StartPendingStep(lfo, wave, *context.random);
        StartPendingStep(global, wave, *context.random);
        // A step always lies at least one sample ahead, so the render
        // moves on even when a cycle is shorter than a sample.
        if (wave == EngineTables::kLfoRandomWave && lfo.countdown < n)
        {
            const int32_t untilStep = static_cast<int32_t>(lfo.countdown);
            n = untilStep < 1 ? (n < 1 ? n : 1) : untilStep;
        }
    }

    // Pitch, fixed for the sub-block.
    double glide = 0.0;
    if (v.glideRemaining > 0)
    {
        if (v.glideRemaining < n)
            n = v.glideRemaining;
        glide = static_cast<double>(v.glideRemaining) / v.glideLength * v.glideOffset;
        v.glideRemaining -= n;
    }
    const float bend = context.pitchBend;
    const int32_t bendRange = bend >= 0.0f ? params.bendUp : params.bendDown;
    const float vibrato =
        Depth(context.modWheel, params.mwLfo1Depth) * params.lfo1Vibrato * (2.0f * v.lfos[0].Value(0) - 1.0f);
    const double pitch = v.note + params.coarse + kNoteToPitch + bend * bendRange + vibrato + glide;
    const double detune = params.detune * params.detune * v.factors.detune * 0.5f;
    v.increment1 = pitch1.Increment(params.coarse2 + pitch - detune, context.sampleRate);
    v.increment2 = pitch2.Increment(pitch + detune, context.sampleRate);

    sub.length = n;
    for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
        sub.stepping[e] = v.envelopes[e].active && v.envelopes[e].remaining > 0;
    if (n > 0)
    {
        const PanGains start = PanAt(0);
        const PanGains end = PanAt(n);
        sub.gainLeft = start.left;
        sub.gainRight = start.right;
        sub.slopeLeft = (end.left - start.left) / n;
        sub.slopeRight = (end.right - start.right) / n;
    }
}

void CVoiceRun::FinishSubBlock()
{
    Voice& v = voice;
    const int32_t n = sub.length;
    v.phase1 += n * v.increment1;
    v.phase2 += n * v.increment2;
    for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
    {
        Envelope& envelope = v.envelopes[e];
        if (!envelope.active)
            continue;
        envelope.remaining -= n;
        envelope.value = FlushTiny(envelope.value);
        if (envelope.remaining == 0)
            AdvanceEnvelope(context.limits->range[e], envelope, program.env[e]);
    }
    for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
        AdvanceLfo(v.lfos[l], sub.waves[l], n);
    v.filter.FlushDenormals();
    FlushSmoothers(v);
    remaining -= n;
}
