#include "engine/EngineTables.h"

#include "engine/CRandom.h"
#include "engine/DspMath.h"
#include "engine/StableMath.h"

#include <cmath>

namespace
{

// The LFO sine takes pi to four decimals, so its table spans a hair less than
// a full turn; the wave must keep that exact shape.
constexpr double kLfoPi = 3.1415;

double LfoTri(int32_t i)
{
    if (i < 2048)
        return 0.5 + 0.5 * i / 2048.0;
    if (i < 6144)
        return 1.0 - (i - 2048) / 4096.0;
    return (i - 6144) / 4096.0;
}

double LfoSaw(int32_t i)
{
    if (i < 4096)
        return 0.5 + 0.5 * i / 4096.0;
    return (i - 4096) / 8192.0;
}

}  // namespace

EngineTables::EngineTables()
{
    CRandom random(kRandomSeed);
    for (int32_t i = 0; i < kSineSize; ++i)
    {
        sine[i] = static_cast<float>(StableSin(2.0 * kPi * i / kSineSize));
        noise[i] = static_cast<float>(random.Next() / static_cast<double>(CRandom::kMax) * 2.0 - 1.0);
    }
    for (int32_t i = 0; i < kLfoSize; ++i)
    {
        lfo[0][i] = static_cast<float>(0.5 + 0.5 * StableSin(2.0 * (i / static_cast<double>(kLfoSize)) * kLfoPi));
        lfo[1][i] = static_cast<float>(LfoTri(i));
        lfo[2][i] = static_cast<float>(LfoSaw(i));
        lfo[3][i] = i < kLfoSize / 2 ? 1.0f : 0.0f;
        lfo[4][i] = static_cast<float>(random.Next() / static_cast<double>(CRandom::kMax));
    }
}

const EngineTables& EngineTables::Get()
{
    // A function-local static is built exactly once, even under concurrent
    // first calls.
    static const EngineTables tables;
    return tables;
}
