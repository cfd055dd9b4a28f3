#pragma once

#include "engine/CRandom.h"
#include "engine/Envelope.h"
#include "engine/EngineTables.h"
#include "engine/Lfo.h"
#include "engine/Voice.h"

#include <cstdint>

// What the render of one voice reads and writes outside the voice.
struct RenderContext
{
    const EngineTables* tables;
    const EnvelopeLimits* limits;
    LfoState* globalLfos;   // the three free-running states; rates are written back
    CRandom* random;        // random LFO steps
    int32_t sampleRate;     // > 0
    float tempo;            // beats per minute, > 0
    float modWheel;         // 0..1
    float pitchBend;        // -1..1
};

// Longest stretch rendered with one pitch, pan slope and set of rates.
constexpr int32_t kMaxSubBlock = 32;

// Adds frames samples of the voice into left and right, in sub-blocks of at
// most 32 samples cut at envelope segment ends and random LFO steps. Returns
// false as soon as the amplitude envelope has finished: the voice must leave
// the pool, and the rest of the block is not rendered for it.
bool RenderVoice(Voice& voice, const RenderContext& context, float* left, float* right, int32_t frames);
