#include "synth/SynthProgram.h"

#include <cstring>

void InitProgram(SynthProgram& p)
{
    p.volume = 0.5f;
    p.pan = 0.5f;
    p.mod1 = 1.0f;
    p.mod2 = 1.0f;
    p.ratio1 = 1.0f;
    p.ratio2 = 1.0f;
    p.mix = 0.5f;
    p.pmRatio = 1;
    p.cutoff = 1.0f;
    p.filterScale = 1;
    p.filterEnv = 1.0f;
    for (int i = 0; i < SynthProgram::kLfoCount; ++i)
    {
        SynthLfo& lfo = p.lfo[i];
        lfo.wave = i == 0 ? 1 : 0;
        lfo.restart = 1;
        lfo.rate = 0.57f;
        lfo.syncBeats = 1;
        lfo.syncDiv = 4;
    }
    for (int k = 0; k < SynthProgram::kEnvelopeCount; ++k)
    {
        SynthEnvelope& env = p.env[k];
        env.decay = 0.32f;
        env.sustain = 1.0f;
        env.release = k == 0 ? 0.0f : 1.0f;
    }
    p.bendDown = 2;
    p.bendUp = 2;
    p.chorusDelay = 20;
    p.chorusPhase = 90;
    p.chorusRate = 16;
    p.chorusDepth = 0.1f;
    p.delayFeedback = 0.5f;
    p.delayLR = 1.0f;
    p.delayBeats = 1;
    p.delayDiv = 4;
    p.reverbSize = 40;
    p.reverbPreDelay = 20;
    p.phaserRate = 0.1f;
    p.phaserFeedback = 0.5f;
    p.phaserStages = 4;
    p.phaserLow = 200;
    p.phaserHigh = 500;
    p.foldback = 0.5f;
    p.eqLow = 100;
    p.eqMid = 100;
    p.eqHigh = 100;
    p.eqFreqLow = 40;
    p.eqFreqHigh = 100;
    p.eqGain = 100;
}

void SetProgramName(SynthProgram& program, const char* name)
{
    std::memset(program.name, 0, sizeof program.name);
    if (!name)
        return;
    size_t n = 0;
    while (n < static_cast<size_t>(SynthProgram::kMaxNameChars) && name[n])
        ++n;
    std::memcpy(program.name, name, n);
}
