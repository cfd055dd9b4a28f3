#pragma once

#include "engine/CRandom.h"
#include "engine/Envelope.h"
#include "engine/EngineTables.h"
#include "engine/Lanes.h"
#include "engine/Lfo.h"
#include "engine/Voice.h"

#include <cstdint>

// What the render of one voice reads and writes outside the voice.
struct RenderContext
{
    const EngineTables* tables;
    const EnvelopeLimits* limits;
    LfoState* globalLfos;  // the three free-running states; rates are written back
    CRandom* random;       // random LFO steps
    int32_t sampleRate;    // > 0
    float tempo;           // beats per minute, > 0
    float modWheel;        // 0..1
    float pitchBend;       // -1..1
};

// Adds frames samples of the voice into left and right, in sub-blocks of at
// most 32 samples cut at envelope segment ends and random LFO steps. Returns
// false as soon as the amplitude envelope has finished: the voice must leave
// the pool, and the rest of the block is not rendered for it.
bool RenderVoice(Voice& voice, const RenderContext& context, float* left, float* right, int32_t frames);

// Which voices of a pair still sound after the block.
struct VoicePairResult
{
    bool laterSounding;
    bool earlierSounding;
};

// Renders two voices over the same frames, exactly as RenderVoice would for
// later and then earlier, but side by side where both share their waveforms,
// which roughly doubles the throughput.
void RenderVoicePair(Voice& later, Voice& earlier, const RenderContext& context, float* left, float* right,
                     int32_t frames, VoicePairResult& result);

// Voices rendered side by side by RenderVoiceQuad.
constexpr int32_t kVoiceQuad = kLaneCount;

// Renders kVoiceQuad voices over the same frames, exactly as RenderVoice would
// one after the other in the given order, but side by side where all four
// share their waveforms. sounding[i] tells whether voices[i] still sounds.
void RenderVoiceQuad(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                     bool* sounding);

// Voices rendered side by side by RenderVoiceOctet.
constexpr int32_t kVoiceOctet = 2 * kVoiceQuad;

// As RenderVoiceQuad for kVoiceOctet voices: twice as many oscillator chains
// run interleaved, which hides more of their latency.
void RenderVoiceOctet(Voice* const* voices, const RenderContext& context, float* left, float* right, int32_t frames,
                      bool* sounding);
