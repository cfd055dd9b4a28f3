#include "engine/Oscillators.h"

namespace
{

constexpr int32_t kOscTableSize = 16;

constexpr OscWave kOscTable[kOscTableSize] = {
    kOscSaw,    kOscSquare, kOscPulse,  kOscPm,     kOscSaw2,   kOscSilent, kOscSilent, kOscSilent,
    kOscSilent, kOscSilent, kOscSilent, kOscSilent, kOscSilent, kOscSilent, kOscSilent, kOscSilent,
};

}  // namespace

OscWave OscTable(int32_t wave)
{
    if (wave < 0 || wave >= kOscTableSize)
        return kOscSilent;
    return kOscTable[wave];
}
