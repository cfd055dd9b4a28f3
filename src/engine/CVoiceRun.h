#pragma once

#include "engine/Modulation.h"
#include "engine/SubBlock.h"
#include "engine/VoiceFormulas.h"
#include "engine/VoiceRender.h"

#include <cmath>
#include <cstdint>

// The oscillator increment of the last pitch asked for: a held note without
// vibrato or glide asks for the same pitch in every sub-block.
class CPitchCache
{
public:
    // semitones above pitch 0 to cycles per sample.
    double Increment(double semitones, int32_t sampleRate);

private:
    double lastSemitones = NAN;  // never equal: the first call computes
    double lastIncrement = 0.0;
};

// One voice on its way through a block, a sub-block at a time. Sub-blocks
// hold at most 32 samples and end at every envelope segment end and random
// LFO step, so that pitch, pan slope and rates hold still inside one. The
// caller renders Left() samples of Sub() from Position(), at Offset() in the
// block, and calls Advance; rendering stops when Active() turns false.
class CVoiceRun
{
public:
    // The program cannot change during one call, so what is read from it
    // alone is read once per block rather than once per sub-block.
    CVoiceRun(Voice& v, const RenderContext& c, int32_t frames);

    // Samples are left to render in the current sub-block.
    bool Active() const { return active; }
    int32_t Left() const { return sub.length - position; }
    int32_t Position() const { return position; }
    int32_t Offset() const { return offset; }  // in the block
    const SubBlock& Sub() const { return sub; }
    Voice& TheVoice() { return voice; }
    // What holds for the voice through the block, worked out at the first
    // call: a voice rendered side by side with others never needs it.
    const VoiceBlockConstants& Constants()
    {
        if (!constantsKnown)
        {
            constants.Load(voice, sub);
            constantsKnown = true;
        }
        return constants;
    }

    void Advance(int32_t count);

private:
    void NextSubBlock();
    void StartSubBlock();
    void FinishSubBlock();
    // Stereo position of the voice at sample i of the sub-block, as gains. A
    // held position (no pan LFO) gives the gains of the call before.
    PanGains PanAt(int32_t i);

    Voice& voice;
    const RenderContext& context;
    const SynthProgram& program;
    double lfoIncrements[Voice::kModulatorCount];
    CPitchCache pitch1;
    CPitchCache pitch2;
    SubBlock sub = {};
    int32_t remaining;
    int32_t position = 0;
    int32_t offset = 0;
    bool active = false;
    bool panKnown = false;
    float panPosition = 0.0f;
    PanGains panGains = {};
    bool constantsKnown = false;
    VoiceBlockConstants constants;
};
