#include "engine/MStateVariableFilter.h"

#include "engine/VoiceParams.h"

template <>
MStateVariableFilter::Weights MStateVariableFilter::BlendWeights(float blend)
{
    const float b = UnitField(blend);
    if (b < 0.5f)
        return Weights{1.0f - 2.0f * b, 2.0f * b, 0.0f};
    return Weights{0.0f, 2.0f * (1.0f - b), 2.0f * b - 1.0f};
}
