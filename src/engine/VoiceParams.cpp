#include "engine/VoiceParams.h"

namespace
{

constexpr int32_t kMaxCoarse = 48;  // semitones either way
constexpr int32_t kMaxBend = 12;    // semitones
constexpr float kMinRatio = 0.125f;
constexpr float kMaxRatio = 8.0f;

int32_t ClampInt(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

double RatioField(float value)
{
    if (value != value)
        return 1.0;
    return value < kMinRatio ? kMinRatio : (value > kMaxRatio ? kMaxRatio : value);
}

}  // namespace

float UnitField(float value)
{
    if (!(value > 0.0f))
        return 0.0f;
    return value < 1.0f ? value : 1.0f;
}

float BipolarField(float value)
{
    if (value != value)
        return 0.0f;
    return value < -1.0f ? -1.0f : (value > 1.0f ? 1.0f : value);
}

VoiceParams ReadVoiceParams(const SynthProgram& p)
{
    VoiceParams v;
    v.volume = UnitField(p.volume);
    v.pan = UnitField(p.pan);
    v.coarse = ClampInt(p.coarse, -kMaxCoarse, kMaxCoarse);
    v.coarse2 = ClampInt(p.coarse2, -kMaxCoarse, kMaxCoarse);
    v.mod1 = UnitField(p.mod1);
    v.mod2 = UnitField(p.mod2);
    v.ratio1 = RatioField(p.ratio1);
    v.ratio2 = RatioField(p.ratio2);
    v.noise = UnitField(p.noise);
    v.phase = UnitField(p.phase);
    v.detune = UnitField(p.detune);
    v.mix = UnitField(p.mix);
    v.pmAmount = UnitField(p.pmAmount);
    v.pmShape = UnitField(p.pmShape);
    v.pmRatio = p.pmRatio;
    v.feedback = UnitField(p.feedback);
    v.feedbackShape = UnitField(p.feedbackShape);
    v.cutoff = UnitField(p.cutoff);
    v.q = UnitField(p.q);
    v.filterScale = p.filterScale;
    v.filterEnv = UnitField(p.filterEnv);
    v.lfo1Vibrato = UnitField(p.lfo1Vibrato);
    v.lfo1Tremolo = UnitField(p.lfo1Tremolo);
    v.lfo1Noise = UnitField(p.lfo1Noise);
    v.lfo1Mix = UnitField(p.lfo1Mix);
    v.lfo2Volume = UnitField(p.lfo2Volume);
    v.lfo2Pan = UnitField(p.lfo2Pan);
    v.lfo2Cutoff = UnitField(p.lfo2Cutoff);
    v.lfo2Q = UnitField(p.lfo2Q);
    v.lfo3Phase = UnitField(p.lfo3Phase);
    v.lfo3Pm = UnitField(p.lfo3Pm);
    v.lfo3Mod1 = UnitField(p.lfo3Mod1);
    v.lfo3Mod2 = UnitField(p.lfo3Mod2);
    v.mwLfo1Depth = UnitField(p.mwLfo1Depth);
    v.mwCutoff = UnitField(p.mwCutoff);
    v.mwPm = UnitField(p.mwPm);
    v.e3Pm = UnitField(p.e3Pm);
    v.e3Phase = UnitField(p.e3Phase);
    v.e3Mod1 = UnitField(p.e3Mod1);
    v.e3Mod2 = UnitField(p.e3Mod2);
    v.bendDown = ClampInt(p.bendDown, 0, kMaxBend);
    v.bendUp = ClampInt(p.bendUp, 0, kMaxBend);
    return v;
}
