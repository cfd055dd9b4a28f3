#pragma once

#include <cstdint>

// The process-wide lookup tables of the voice engine: one sine cycle for the
// oscillators (and the chorus, phaser and reverb), a fixed run of noise, and
// the five LFO waves. Built once, on the first call of EngineTables::Get (the
// first synth constructed calls it), filled in double and stored as float,
// read-only afterwards. Safe when two synths are created at once.
struct EngineTables
{
    static constexpr int32_t kSineSize = 65536;  // entries per sine cycle
    static constexpr uint32_t kSineMask = kSineSize - 1;
    static constexpr int32_t kNoiseSize = 65536;
    static constexpr uint32_t kNoiseMask = kNoiseSize - 1;
    static constexpr int32_t kLfoSize = 8192;  // entries per LFO cycle
    static constexpr uint32_t kLfoMask = kLfoSize - 1;
    static constexpr int32_t kLfoWaveCount = 5;  // SIN, TRI, SAW, SQUARE, RND
    static constexpr int32_t kLfoRandomWave = 4;
    // The noise and the RND wave come from a generator with this fixed seed,
    // so every process and build holds the same tables.
    static constexpr uint32_t kRandomSeed = 0x56454C4Du;

    float sine[kSineSize];               // entry i = sin(2 pi i / 65536)
    float noise[kNoiseSize];             // uniform in -1..1
    float lfo[kLfoWaveCount][kLfoSize];  // values 0..1

    static const EngineTables& Get();

private:
    EngineTables();
};
