#pragma once

#include <cstddef>
#include <cstdint>

// One program: every sound setting of the instrument. A 32-byte name followed
// by 32-bit words, in the order the patch format and the editor rely on. Float
// knob values are 0..1 (bipolar ones -1..1); integer fields hold the value
// shown. Each field is one aligned 32-bit word, so the audio thread may read a
// field while the editor writes it and always sees a whole value.
struct SynthLfo
{
    int32_t wave;       // 0..4: SIN, TRI, SAW, SQUARE, RND
    int32_t restart;    // 1: phase restarts with each note
    int32_t sync;       // 1: rate follows the tempo
    float rate;         // 0..1, square law to 0.01..20 Hz
    int32_t syncBeats;  // 1..32 beats ...
    int32_t syncDiv;    // ... of 1/syncDiv notes per cycle
};

struct SynthEnvelope
{
    float attack;  // 0..1, square law to 5 ms..10 s
    float decay;
    float sustain;  // level 0..1
    float release;
};

struct SynthProgram
{
    static constexpr int kNameBytes = 32;
    static constexpr int kMaxNameChars = kNameBytes - 1;
    static constexpr int kLfoCount = 4;
    static constexpr int kEnvelopeCount = 4;

    char name[kNameBytes];

    float volume;
    float pan;
    int32_t mono;
    int32_t legato;
    int32_t coarse;           // semitones -48..48
    float glide;              // never written by a control
    int32_t glideLegatoOnly;  // never written by a control

    int32_t wave1;  // 0..4: SAW, SQUARE, PULSE, PM, SAW2
    int32_t wave2;
    float mod1;
    float mod2;
    float ratio1;  // 8, 4, 2, 1, 0.5, 0.25 or 0.125
    float ratio2;
    float noise;
    float phase;
    int32_t coarse2;  // semitones -48..48, oscillator 1
    float detune;
    float mix;
    float pmAmount;
    float pmShape;
    int32_t pmRatio;  // 1, 2, 4, 8, 16
    float feedback;
    float feedbackShape;

    float velVolume;
    float velPan;
    float velCutoff;
    float velQ;
    float velPm;
    float velMod1;
    float velMod2;
    float velNoise;
    float velPhase;
    float velDetune;
    float velMix;

    float keyAux;     // stored, not used
    float keyCutoff;  // -1..1
    float keyPm;      // -1..1

    int32_t filterType;  // stored, not used
    float cutoff;
    float q;
    float blend;  // 0 low-pass, 0.5 band-pass, 1 high-pass
    int32_t filterScale;
    float filterEnv;

    SynthLfo lfo[kLfoCount];

    float lfo1Vibrato;
    float lfo1Tremolo;
    float lfo1Noise;  // never stored
    float lfo1Mix;    // never stored
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

    SynthEnvelope env[kEnvelopeCount];  // amplitude, filter, modulation, unused

    float e3Pm;
    float e3Phase;
    float e3Mod1;
    float e3Mod2;

    float fxChorus;
    float fxPhaser;
    float fxWaveshape;
    float fxEq;
    float fxDelay;
    float fxReverb;

    int32_t bendDown;  // semitones 0..12
    int32_t bendUp;

    float rndMix;
    float rndNoise;
    float rndDetune;
    float rndAux;  // stored, not used
    float rndVolume;
    float rndPan;
    float rndCutoff;
    float rndQ;
    float rndPhase;
    float rndPm;
    float rndMod1;
    float rndMod2;

    int32_t chorusDelay;  // milliseconds 1..150
    int32_t chorusPhase;  // degrees 0..180
    int32_t chorusRate;   // tenths of a hertz 1..100
    float chorusDepth;
    float chorusFeedback;  // -1..1

    float delayFeedback;
    float delayLR;
    int32_t delayBeats;  // 1..32
    int32_t delayDiv;    // 4, 8, 16 or 32

    int32_t reverbSize;      // tenths of a second 10..100
    int32_t reverbPreDelay;  // stored, not used

    float phaserRate;      // hertz
    float phaserFeedback;  // -1..1
    int32_t phaserPhase;   // degrees
    int32_t phaserStages;  // 1..16
    int32_t phaserLow;     // units of 20 Hz 1..1000
    int32_t phaserHigh;

    float foldback;

    int32_t eqLow;  // percent 0..200; never stored
    int32_t eqMid;
    int32_t eqHigh;
    int32_t eqFreqLow;   // units of 20 Hz 1..100
    int32_t eqFreqHigh;  // units of 20 Hz 40..500
    int32_t eqGain;      // percent 0..200
};

// The record is a plain sequence of 32-bit words after the name: 146 of them.
static_assert(sizeof(SynthLfo) == 24, "LFO block is six words");
static_assert(sizeof(SynthEnvelope) == 16, "envelope block is four words");
static_assert(sizeof(SynthProgram) == 32 + 146 * 4, "program record is the name and 146 words");
static_assert(offsetof(SynthProgram, volume) == 32, "fields start after the name");
static_assert(offsetof(SynthProgram, velVolume) == 32 + 23 * 4, "velocity block");
static_assert(offsetof(SynthProgram, lfo) == 32 + 43 * 4, "LFO blocks");
static_assert(offsetof(SynthProgram, env) == 32 + 82 * 4, "envelope blocks");
static_assert(offsetof(SynthProgram, fxChorus) == 32 + 102 * 4, "effect levels");
static_assert(offsetof(SynthProgram, chorusDelay) == 32 + 122 * 4, "effect settings");
static_assert(offsetof(SynthProgram, eqGain) == 32 + 145 * 4, "last field");

// Sets the defaults of every field on a zeroed record; the name stays empty.
void InitProgram(SynthProgram& program);

// Stores name into the program, cut to its first 31 characters.
void SetProgramName(SynthProgram& program, const char* name);
