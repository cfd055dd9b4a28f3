#include "engine/VoiceRender.h"

#include "engine/Modulation.h"
#include "engine/VoiceParams.h"

#include <cmath>
#include <initializer_list>

namespace {

constexpr double kPitchBaseHertz = 13.75;  // pitch 0; note 69 is 440 Hz
constexpr int32_t kNoteToPitch = -9;
// ln 2 as the single-precision constant, widened.
const double kLn2 = static_cast<double>(static_cast<float>(0.6931471805599453));
constexpr double kPhaseGuard = 32.0;       // keeps table arguments positive
constexpr float kFlushBelow = 1e-10f;

float Flush(float value)
{
    return std::fabs(value) < kFlushBelow ? 0.0f : value;
}

// Everything the per-sample loop needs that is fixed for one sub-block.
struct SubBlock
{
    const VoiceParams* params;
    const float* sine;
    const float* noise;
    MStateVariableFilter::Weights weights;
    float wheel;
    float gainLeft;
    float gainRight;
    float slopeLeft;
    float slopeRight;
    bool stepping[Voice::kModulatorCount];
};

// A local copy of one envelope for the loop. An envelope that is not stepping
// in this sub-block gets zero steps, so one branch-free update serves both.
struct EnvelopeCursor
{
    float value;
    float step;
    float change;

    EnvelopeCursor(const Envelope& e, bool stepping)
        : value(e.value), step(stepping ? e.step : 0.0f), change(stepping ? e.stepChange : 0.0f)
    {
    }

    float Next()
    {
        const float current = value;
        value += step;
        step += change;
        return current;
    }

    void StoreInto(Envelope& e, bool stepping) const
    {
        e.value = value;
        if (stepping)
        {
            e.step = step;
            e.stepChange = change;
        }
    }
};

template <class Osc1, class Osc2>
void RenderSamples(Voice& v, const SubBlock& s, float* left, float* right, int32_t n)
{
    const VoiceParams& p = *s.params;
    const NoteFactors& k = v.factors;

    EnvelopeCursor env1(v.envelopes[0], s.stepping[0]);
    EnvelopeCursor env2(v.envelopes[1], s.stepping[1]);
    EnvelopeCursor env3(v.envelopes[2], s.stepping[2]);
    const LfoState lfo1 = v.lfos[0];
    const LfoState lfo2 = v.lfos[1];
    const LfoState lfo3 = v.lfos[2];

    // Per-sub-block parts of the modulation products.
    const float lfo1Wheel = Depth(s.wheel, p.mwLfo1Depth);
    const float feedbackSquare = p.feedbackShape * p.feedbackShape;
    const float feedbackAmount = p.feedback * p.feedback * p.feedback;
    const float pmLinear = static_cast<float>(p.pmRatio) * (1.0f - p.pmShape);
    const float pmSquared = static_cast<float>(p.pmRatio) * p.pmShape;
    const float pmDepth = p.pmAmount * k.pm * Depth(s.wheel, p.mwPm);
    const float shape1Depth = k.shape1 * p.mod1;
    const float shape2Depth = p.mod2 * k.shape2;
    const float phaseDepth = k.phase * 0.5f * p.phase;
    const float mixDepth = p.mix * k.mix;
    const double cutoffDepth = static_cast<double>(k.cutoff * p.cutoff) * Depth(s.wheel, p.mwCutoff);
    const float resonanceDepth = p.q * k.resonance;
    const float noiseDepth = p.noise * p.noise * k.noise;
    const float volumeDepth = p.volume * k.volume;

    const double phase1 = v.phase1;
    const double increment1 = v.increment1;
    const double phase2 = v.phase2;
    const double increment2 = v.increment2;
    float a1 = v.state1a;
    float b1 = v.state1b;
    float a2 = v.state2a;
    float b2 = v.state2b;
    double lastOsc2 = v.lastOsc2;
    uint32_t noiseIndex = v.noiseIndex;
    MStateVariableFilter filter = v.filter;
    Smoother amplitude = v.amplitude;
    Smoother cutoff = v.cutoff;
    Smoother phase = v.phase;
    Smoother pm = v.pm;
    Smoother shape1 = v.shape1;
    Smoother shape2 = v.shape2;
    Smoother mix = v.mix;

    for (int32_t i = 0; i < n; ++i)
    {
        const float e1 = env1.Next();
        const float e2 = env2.Next();
        const float e3 = env3.Next();
        const float l1 = lfo1.Value(i);
        const float l2 = lfo2.Value(i);
        const float l3 = lfo3.Value(i);
        const float l1w = Depth(l1, lfo1Wheel);

        const float amount1 = shape1.Process(Depth(e3, p.e3Mod1) * shape1Depth * Depth(l3, p.lfo3Mod1));
        const float amount2 = shape2.Process(Depth(e3, p.e3Mod2) * shape2Depth * Depth(l3, p.lfo3Mod2));

        const float noiseSample = s.noise[noiseIndex & EngineTables::kNoiseMask];
        ++noiseIndex;

        const float feedback =
            static_cast<float>(lastOsc2 * lastOsc2 * feedbackSquare + (1.0f - feedbackSquare) * lastOsc2)
            * feedbackAmount;
        const float out1 = Osc1::Compute(s.sine, feedback + kPhaseGuard + i * increment1 + phase1, amount1,
                                         p.ratio1, a1, b1);
        const float phaseOffset = phase.Process(Depth(e3, p.e3Phase) * phaseDepth * Depth(l3, p.lfo3Phase));
        const float modulator = pmLinear * out1 + out1 * out1 * pmSquared;
        const float pmOffset =
            pm.Process(modulator * pmDepth * Depth(e3, p.e3Pm) * Depth(l3, p.lfo3Pm));
        const float offset2 = pmOffset + static_cast<float>(kPhaseGuard) + phaseOffset;
        const float out2 = Osc2::Compute(s.sine, offset2 + i * increment2 + phase2, amount2, p.ratio2, a2, b2);
        lastOsc2 = out2;

        const float x = mix.Process(Depth(l1w, p.lfo1Mix) * mixDepth);
        const float oscillators = (1.0f - x) * out1 + x * out2;
        const double c = Depth(e2, p.filterEnv) * cutoffDepth * Depth(l2, p.lfo2Cutoff);
        const float f = cutoff.Process(static_cast<float>(c * c));
        const float resonance = Depth(l2, p.lfo2Q) * resonanceDepth;
        const float d = MStateVariableFilter::Damping(resonance, f, p.filterScale);

        const float noise = noiseDepth * Depth(l1w, p.lfo1Noise) * noiseSample;
        const float sample = filter.Process((oscillators + noise) * 0.5f, f, d, s.weights);

        const float g = amplitude.Process(Depth(l2, p.lfo2Volume) * (e1 * volumeDepth) * Depth(l1w, p.lfo1Tremolo));
        left[i] += (s.gainLeft + i * s.slopeLeft) * sample * g;
        right[i] += (s.gainRight + i * s.slopeRight) * sample * g;
    }

    env1.StoreInto(v.envelopes[0], s.stepping[0]);
    env2.StoreInto(v.envelopes[1], s.stepping[1]);
    env3.StoreInto(v.envelopes[2], s.stepping[2]);
    v.state1a = a1;
    v.state1b = b1;
    v.state2a = a2;
    v.state2b = b2;
    v.lastOsc2 = lastOsc2;
    v.noiseIndex = noiseIndex;
    v.filter = filter;
    v.amplitude = amplitude;
    v.cutoff = cutoff;
    v.phase = phase;
    v.pm = pm;
    v.shape1 = shape1;
    v.shape2 = shape2;
    v.mix = mix;
}

using RenderFunction = void (*)(Voice&, const SubBlock&, float*, float*, int32_t);

template <class Osc1>
constexpr RenderFunction RenderFor(OscWave wave2)
{
    switch (wave2)
    {
    case kOscSaw: return &RenderSamples<Osc1, CSawOSC>;
    case kOscSquare: return &RenderSamples<Osc1, CSquareOSC>;
    case kOscPulse: return &RenderSamples<Osc1, CPWMOSC>;
    case kOscPm: return &RenderSamples<Osc1, CPMOSC>;
    case kOscSaw2: return &RenderSamples<Osc1, CSAWPHSOSC>;
    default: return &RenderSamples<Osc1, COSC>;
    }
}

// The sample loop for a pair of waveforms, chosen once per sub-block.
RenderFunction PickRender(OscWave wave1, OscWave wave2)
{
    switch (wave1)
    {
    case kOscSaw: return RenderFor<CSawOSC>(wave2);
    case kOscSquare: return RenderFor<CSquareOSC>(wave2);
    case kOscPulse: return RenderFor<CPWMOSC>(wave2);
    case kOscPm: return RenderFor<CPMOSC>(wave2);
    case kOscSaw2: return RenderFor<CSAWPHSOSC>(wave2);
    default: return RenderFor<COSC>(wave2);
    }
}

// Stereo position of the voice at sample i of the sub-block, as gains.
PanGains PanAt(const Voice& v, const VoiceParams& p, int32_t i)
{
    const float position = p.lfo2Pan * v.lfos[1].Value(i) + (1.0f - p.lfo2Pan) * v.factors.pan;
    return PanLaw(position, p.pan);
}

double Increment(double semitones, int32_t sampleRate)
{
    return std::exp(semitones / 12.0 * kLn2) * kPitchBaseHertz / sampleRate;
}

void FlushSmoothers(Voice& v)
{
    for (Smoother* s : {&v.amplitude, &v.cutoff, &v.phase, &v.pm, &v.shape1, &v.shape2, &v.mix})
        s->state = Flush(s->state);
}

}  // namespace

bool RenderVoice(Voice& v, const RenderContext& context, float* left, float* right, int32_t frames)
{
    const SynthProgram& program = *v.program;
    const MStateVariableFilter::Weights weights = MStateVariableFilter::BlendWeights(program.blend);
    int32_t remaining = frames;
    while (remaining > 0)
    {
        const VoiceParams params = ReadVoiceParams(program);

        // Sub-block length: no segment end and no random LFO step inside.
        int32_t n = remaining < kMaxSubBlock ? remaining : kMaxSubBlock;
        for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
        {
            const Envelope& envelope = v.envelopes[e];
            if (envelope.active && envelope.remaining < n)
                n = envelope.remaining;
        }
        int32_t waves[Voice::kModulatorCount];
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
        {
            const SynthLfo& lfoParams = program.lfo[l];
            const int32_t wave = LfoWave(lfoParams);
            waves[l] = wave;
            const double increment = LfoIncrement(lfoParams, context.sampleRate, context.tempo);
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
        const float vibrato = Depth(context.modWheel, params.mwLfo1Depth) * params.lfo1Vibrato
                              * (2.0f * v.lfos[0].Value(0) - 1.0f);
        const double pitch = v.note + params.coarse + kNoteToPitch + bend * bendRange + vibrato + glide;
        const double detune = params.detune * params.detune * v.factors.detune * 0.5f;
        v.increment1 = Increment(params.coarse2 + pitch - detune, context.sampleRate);
        v.increment2 = Increment(pitch + detune, context.sampleRate);

        if (n > 0)
        {
            SubBlock s;
            s.params = &params;
            s.sine = context.tables->sine;
            s.noise = context.tables->noise;
            s.weights = weights;
            s.wheel = context.modWheel;
            const PanGains start = PanAt(v, params, 0);
            const PanGains end = PanAt(v, params, n);
            s.gainLeft = start.left;
            s.gainRight = start.right;
            s.slopeLeft = (end.left - start.left) / n;
            s.slopeRight = (end.right - start.right) / n;
            for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
                s.stepping[e] = v.envelopes[e].active && v.envelopes[e].remaining > 0;
            PickRender(v.osc1, v.osc2)(v, s, left, right, n);
        }

        v.phase1 += n * v.increment1;
        v.phase2 += n * v.increment2;
        for (int32_t e = 0; e < Voice::kModulatorCount; ++e)
        {
            Envelope& envelope = v.envelopes[e];
            if (!envelope.active)
                continue;
            envelope.remaining -= n;
            envelope.value = Flush(envelope.value);
            if (envelope.remaining == 0)
                AdvanceEnvelope(context.limits->range[e], envelope, program.env[e]);
        }
        for (int32_t l = 0; l < Voice::kModulatorCount; ++l)
            AdvanceLfo(v.lfos[l], waves[l], n);
        v.filter.FlushDenormals();
        FlushSmoothers(v);
        remaining -= n;
        left += n;
        right += n;
        if (v.Finished())
            return false;
    }
    return true;
}
