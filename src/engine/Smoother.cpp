#include "engine/Smoother.h"

#include <cmath>

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kTimeSeconds = 0.0050000004f;  // 1 / 200 Hz

}  // namespace

void Smoother::Start(int32_t sampleRate)
{
    const float exponent = -kTwoPi / (static_cast<float>(sampleRate) * kTimeSeconds);
    coefficient = static_cast<float>(std::exp(static_cast<double>(exponent)));
    complement = 1.0f - coefficient;
    state = 0.0f;
}
