#include "engine/MStateVariableFilter.h"

#include "engine/VoiceParams.h"

#include <cmath>

namespace {

constexpr float kFlushBelow = 1e-10f;

float Flush(float value)
{
    return std::fabs(value) < kFlushBelow ? 0.0f : value;
}

}  // namespace

MStateVariableFilter::Weights MStateVariableFilter::BlendWeights(float blend)
{
    const float b = UnitField(blend);
    if (b < 0.5f)
        return Weights{1.0f - 2.0f * b, 2.0f * b, 0.0f};
    return Weights{0.0f, 2.0f * (1.0f - b), 2.0f * b - 1.0f};
}

void MStateVariableFilter::FlushDenormals()
{
    low = Flush(low);
    band = Flush(band);
    high = Flush(high);
}
