#include "engine/Smoother.h"

#include "engine/DspMath.h"
#include "engine/StableMath.h"

#include <cmath>

namespace
{

constexpr float kTwoPi = static_cast<float>(2.0 * kPi);
constexpr float kTimeSeconds = 0.0050000004f;  // 1 / 200 Hz

}  // namespace

void Smoother::Start(int32_t sampleRate)
{
    const float exponent = -kTwoPi / (static_cast<float>(sampleRate) * kTimeSeconds);
    coefficient = static_cast<float>(StableExp(static_cast<double>(exponent)));
    complement = 1.0f - coefficient;
    state = 0.0f;
}
