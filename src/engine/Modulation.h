#pragma once

#include "synth/SynthProgram.h"

#include <cstdint>

// The fixed modulation matrix: how sources scale their destinations.

// Depth blend: source x (0..1) acting with depth a (0..1) gives x a + (1 - a),
// so depth 0 leaves the destination alone and modulation only scales down.
inline float Depth(float x, float a)
{
    return x * a + (1.0f - a);
}

// Key factor of a note: 0 below note 24, rising linearly to 1 at note 72.
float KeyFactor(int32_t note);

// The per-note factors, fixed at note-on from velocity, key and the two
// random values.
struct NoteFactors
{
    float volume;  // carries 0.8 headroom
    float pan;     // 0 left .. 1 right
    float cutoff;
    float resonance;
    float noise;
    float shape1;
    float shape2;
    float pm;
    float phase;
    float detune;
    float mix;
};

// velocity, r1 and r2 in 0..1; note 0..127. Depth fields outside their range
// are clamped.
NoteFactors ComputeNoteFactors(const SynthProgram& program, int32_t note, float velocity, float r1, float r2);

// Left and right gains of a stereo position.
struct PanGains
{
    float left;
    float right;
};

// position 0..1 (0.5 centre) squeezed by the master pan masterPan (0..1, 0.5
// centre) into one half, then turned into gains: the centre gives 1 and 1,
// hard right 0 and 1.5, hard left 1.5 and 0.
PanGains PanLaw(float position, float masterPan);
