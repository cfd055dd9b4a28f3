#include "synth/PatchSections.h"

namespace
{

void Zeros(CPatchWordVisitor& v, int count)
{
    for (int i = 0; i < count; ++i)
        v.Zero();
}

void VisitMaster(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("volume", p.volume);
    v.Float("pan", p.pan);
    v.Int("coarse", p.coarse);
    v.Int("mono", p.mono);
    v.Int("legato", p.legato);
    Zeros(v, 3);
}

void VisitWave(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Int("wave1", p.wave1);
    v.Float("mod1", p.mod1);
    v.Int("wave2", p.wave2);
    v.Float("mod2", p.mod2);
    v.Int("coarse2", p.coarse2);
    v.Float("detune", p.detune);
    v.Float("mix", p.mix);
    v.Float("phase", p.phase);
    v.Float("ratio1", p.ratio1);
    v.Float("ratio2", p.ratio2);
    Zeros(v, 6);
}

void VisitXmod(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("pmAmount", p.pmAmount);
    v.Float("pmShape", p.pmShape);
    v.Int("pmRatio", p.pmRatio);
    v.Float("feedback", p.feedback);
    v.Float("feedbackShape", p.feedbackShape);
    v.Float("noise", p.noise);
    Zeros(v, 10);
}

void VisitFilter(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Int("filterType", p.filterType);
    v.Float("cutoff", p.cutoff);
    v.Float("q", p.q);
    v.Float("blend", p.blend);
    Zeros(v, 4);
}

void VisitFilterScale(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("filterEnv", p.filterEnv);
    v.Int("filterScale", p.filterScale);
}

void VisitBend(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Int("bendDown", p.bendDown);
    v.Int("bendUp", p.bendUp);
}

void VisitFxLevels(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("fxChorus", p.fxChorus);
    v.Float("fxPhaser", p.fxPhaser);
    v.Float("fxDelay", p.fxDelay);
    v.Float("fxReverb", p.fxReverb);
    v.Float("fxWaveshape", p.fxWaveshape);
    v.Float("fxEq", p.fxEq);
    Zeros(v, 2);
}

void VisitEnvelope(SynthProgram& p, int index, CPatchWordVisitor& v)
{
    SynthEnvelope& e = p.env[index];
    v.Float("attack", e.attack);
    v.Float("decay", e.decay);
    v.Float("sustain", e.sustain);
    v.Float("release", e.release);
}

void VisitEnvelope3(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("e3Pm", p.e3Pm);
    v.Float("e3Phase", p.e3Phase);
    v.Float("e3Mod1", p.e3Mod1);
    v.Float("e3Mod2", p.e3Mod2);
}

void VisitLfo(SynthProgram& p, int index, CPatchWordVisitor& v)
{
    SynthLfo& l = p.lfo[index];
    v.Int("wave", l.wave);
    v.Int("restart", l.restart);
    v.Int("sync", l.sync);
    v.Float("rate", l.rate);
    v.Int("syncBeats", l.syncBeats);
    v.Int("syncDiv", l.syncDiv);
    Zeros(v, 2);
}

void VisitLfo1(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("lfo1Tremolo", p.lfo1Tremolo);
    v.Float("lfo1Vibrato", p.lfo1Vibrato);
    Zeros(v, 6);
}

void VisitLfo2(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("lfo2Volume", p.lfo2Volume);
    v.Float("lfo2Pan", p.lfo2Pan);
    v.Float("lfo2Cutoff", p.lfo2Cutoff);
    v.Float("lfo2Q", p.lfo2Q);
    Zeros(v, 4);
}

void VisitLfo3(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("lfo3Phase", p.lfo3Phase);
    v.Float("lfo3Pm", p.lfo3Pm);
    v.Float("lfo3Mod1", p.lfo3Mod1);
    v.Float("lfo3Mod2", p.lfo3Mod2);
    Zeros(v, 4);
}

void VisitVelocity(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("velVolume", p.velVolume);
    v.Float("velPan", p.velPan);
    v.Float("velCutoff", p.velCutoff);
    v.Float("velQ", p.velQ);
    v.Zero();
    v.Float("velPm", p.velPm);
    v.Float("velMod1", p.velMod1);
    v.Float("velMod2", p.velMod2);
    v.Float("velPhase", p.velPhase);
    v.Float("velDetune", p.velDetune);
    v.Float("velNoise", p.velNoise);
    v.Float("velMix", p.velMix);
    Zeros(v, 4);
}

void VisitKey(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("keyAux", p.keyAux);
    v.Float("keyCutoff", p.keyCutoff);
    v.Float("keyPm", p.keyPm);
    Zeros(v, 5);
}

void VisitRandom(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("rndVolume", p.rndVolume);
    v.Float("rndPan", p.rndPan);
    v.Float("rndCutoff", p.rndCutoff);
    v.Float("rndQ", p.rndQ);
    v.Zero();
    v.Float("rndPm", p.rndPm);
    v.Float("rndMod1", p.rndMod1);
    v.Float("rndMod2", p.rndMod2);
    v.Float("rndPhase", p.rndPhase);
    v.Float("rndDetune", p.rndDetune);
    v.Float("rndNoise", p.rndNoise);
    v.Float("rndMix", p.rndMix);
    v.Float("rndAux", p.rndAux);
    Zeros(v, 3);
}

void VisitModWheel(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("mwLfo1Depth", p.mwLfo1Depth);
    v.Float("mwCutoff", p.mwCutoff);
    v.Float("mwPm", p.mwPm);
    Zeros(v, 5);
}

void VisitChorus(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Int("chorusDelay", p.chorusDelay);
    v.Float("chorusDepth", p.chorusDepth);
    v.Int("chorusRate", p.chorusRate);
    v.Int("chorusPhase", p.chorusPhase);
    v.Float("chorusFeedback", p.chorusFeedback);
    Zeros(v, 3);
}

void VisitDelay(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("delayFeedback", p.delayFeedback);
    v.Int("delayBeats", p.delayBeats);
    v.Int("delayDiv", p.delayDiv);
    v.Float("delayLR", p.delayLR);
}

void VisitReverb(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Int("reverbPreDelay", p.reverbPreDelay);
    v.Int("reverbSize", p.reverbSize);
    Zeros(v, 2);
}

void VisitWaveshape(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("foldback", p.foldback);
    Zeros(v, 3);
}

void VisitPhaser(SynthProgram& p, int, CPatchWordVisitor& v)
{
    v.Float("phaserRate", p.phaserRate);
    v.Float("phaserFeedback", p.phaserFeedback);
    v.Int("phaserPhase", p.phaserPhase);
    v.Int("phaserStages", p.phaserStages);
    v.Int("phaserLow", p.phaserLow);
    v.Int("phaserHigh", p.phaserHigh);
    Zeros(v, 2);
}

}  // namespace

namespace PatchFormat
{

// "master" declares 8 bytes but always carries 32; readers rely on the layout,
// never on its size field.
const PatchSection kSections[kSectionCount] = {
    {"master", 8, false, PatchSection::Fixed, VisitMaster},
    {kWaveTag, 64, true, PatchSection::Fixed, VisitWave},
    {"xmod", 64, true, PatchSection::Fixed, VisitXmod},
    {"filter", 32, true, PatchSection::Fixed, VisitFilter},
    {kFilterScaleTag, 8, true, PatchSection::Fixed, VisitFilterScale},
    {"pb", 8, false, PatchSection::Fixed, VisitBend},
    {"fx", 32, false, PatchSection::Fixed, VisitFxLevels},
    {"env", 68, false, PatchSection::Counted, VisitEnvelope},
    {"e3", 16, false, PatchSection::Fixed, VisitEnvelope3},
    {"lfo", 132, false, PatchSection::Counted, VisitLfo},
    {"lfo1", 32, true, PatchSection::Fixed, VisitLfo1},
    {"lfo2", 32, true, PatchSection::Fixed, VisitLfo2},
    {"lfo3", 32, true, PatchSection::Fixed, VisitLfo3},
    {"vel", 64, true, PatchSection::Fixed, VisitVelocity},
    {"key", 32, true, PatchSection::Fixed, VisitKey},
    {"rnd", 64, true, PatchSection::Fixed, VisitRandom},
    {"mw", 32, true, PatchSection::Fixed, VisitModWheel},
    {"chorus", 32, true, PatchSection::Fixed, VisitChorus},
    {"delay", 16, true, PatchSection::Fixed, VisitDelay},
    {"reverb", 16, true, PatchSection::Fixed, VisitReverb},
    {"waveshape", 16, true, PatchSection::Fixed, VisitWaveshape},
    {"phaser", 32, true, PatchSection::Fixed, VisitPhaser},
};

bool IsAllowedRatio(float ratio)
{
    return ratio == 8.0f || ratio == 4.0f || ratio == 2.0f || ratio == 1.0f || ratio == 0.5f || ratio == 0.25f ||
           ratio == 0.125f;
}

}  // namespace PatchFormat
