#include "engine/Modulation.h"

#include "engine/VoiceParams.h"

#include <cmath>

namespace
{

constexpr int32_t kKeyLow = 24;    // key factor 0 up to here
constexpr float kKeySpan = 48.0f;  // ... and 1 this many notes higher
constexpr float kVolumeHeadroom = 0.8f;

// Signed key tracking: a positive depth keeps high notes and lowers low ones,
// a negative depth the reverse.
float KeyTrack(float key, float depth)
{
    const float tracked = depth >= 0.0f ? key : 1.0f - key;
    return Depth(tracked, std::fabs(depth));
}

}  // namespace

float KeyFactor(int32_t note)
{
    if (note < kKeyLow)
        return 0.0f;
    const float key = static_cast<float>(note - kKeyLow) / kKeySpan;
    return key < 1.0f ? key : 1.0f;
}

NoteFactors ComputeNoteFactors(const SynthProgram& program, int32_t note, float velocity, float r1, float r2)
{
    const float key = KeyFactor(note);
    const float rndPan = UnitField(program.rndPan);
    const float velPan = UnitField(program.velPan);
    NoteFactors f;
    f.volume =
        Depth(r1, UnitField(program.rndVolume)) * kVolumeHeadroom * Depth(velocity, UnitField(program.velVolume));
    f.pan = ((1.0f - rndPan) * 0.5f + rndPan * r2 + (1.0f - velPan) * 0.5f + velPan * velocity) * 0.5f;
    f.cutoff = Depth(velocity, UnitField(program.velCutoff)) * Depth(r1, UnitField(program.rndCutoff)) *
               KeyTrack(key, BipolarField(program.keyCutoff));
    f.resonance = Depth(r2, UnitField(program.rndQ)) * Depth(velocity, UnitField(program.velQ));
    f.noise = Depth(velocity, UnitField(program.velNoise)) * Depth(r1, UnitField(program.rndNoise));
    f.shape1 = Depth(velocity, UnitField(program.velMod1)) * Depth(r1, UnitField(program.rndMod1));
    f.shape2 = Depth(r2, UnitField(program.rndMod2)) * Depth(velocity, UnitField(program.velMod2));
    f.pm = Depth(r2, UnitField(program.rndPm)) * Depth(velocity, UnitField(program.velPm)) *
           KeyTrack(key, BipolarField(program.keyPm));
    f.phase = Depth(r2, UnitField(program.rndPhase)) * Depth(velocity, UnitField(program.velPhase));
    f.detune = Depth(velocity, UnitField(program.velDetune)) * Depth(r1, UnitField(program.rndDetune));
    f.mix = Depth(r2, UnitField(program.rndMix)) * Depth(velocity, UnitField(program.velMix));
    return f;
}

PanGains PanLaw(float position, float masterPan)
{
    const float m = 2.0f * masterPan - 1.0f;
    float x = position;
    if (m <= 0.0f)
        x = ((m + 1.0f) * 0.5f + 0.5f) * x;
    else
        x = (1.0f - 0.5f * m) * x + 0.5f * m;
    const float y = 2.0f * x - 1.0f;
    if (y >= 0.0f)
        return PanGains{1.0f - y, 1.0f + y * 0.5f};
    return PanGains{1.0f - y * 0.5f, 1.0f + y};
}
