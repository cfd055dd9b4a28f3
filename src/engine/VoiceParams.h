#pragma once

#include "synth/SynthProgram.h"

#include <cstdint>

// A knob field made safe for the engine: 0..1, with NaN and anything outside
// clamped in. Valid programs pass unchanged.
float UnitField(float value);

// A bipolar knob field: -1..1, NaN gives 0.
float BipolarField(float value);

// The sound fields a voice reads from its program, read once per sub-block
// (at most 32 samples) and clamped to the ranges the editor can set, so that
// a corrupt record cannot drive the engine to infinities, NaN or endless
// phases.
struct VoiceParams
{
    float volume;
    float pan;
    int32_t coarse;   // semitones -48..48
    int32_t coarse2;  // semitones -48..48
    float mod1;
    float mod2;
    double ratio1;  // 0.125..8
    double ratio2;
    float noise;
    float phase;
    float detune;
    float mix;
    float pmAmount;
    float pmShape;
    int32_t pmRatio;
    float feedback;
    float feedbackShape;
    float cutoff;
    float q;
    int32_t filterScale;
    float filterEnv;
    float lfo1Vibrato;
    float lfo1Tremolo;
    float lfo1Noise;
    float lfo1Mix;
    float lfo2Volume;
    float lfo2Pan;
    float lfo2Cutoff;
    float lfo2Q;
    float lfo3Phase;
    float lfo3Pm;
    float lfo3Mod1;
    float lfo3Mod2;
    float mwLfo1Depth;
    float mwCutoff;
    float mwPm;
    float e3Pm;
    float e3Phase;
    float e3Mod1;
    float e3Mod2;
    int32_t bendDown;  // semitones 0..12
    int32_t bendUp;
};

VoiceParams ReadVoiceParams(const SynthProgram& program);
