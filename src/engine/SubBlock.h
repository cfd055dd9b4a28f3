#pragma once

#include "engine/MStateVariableFilter.h"
#include "engine/Voice.h"
#include "engine/VoiceParams.h"

#include <cstdint>

// Longest stretch rendered with one pitch, pan slope and set of rates.
constexpr int32_t kMaxSubBlock = 32;

// Everything the per-sample loop of one voice needs that is fixed for one
// sub-block.
struct SubBlock
{
    VoiceParams params;
    const float* sine;
    const float* noise;
    MStateVariableFilter::Weights weights;
    float wheel;
    float gainLeft;
    float gainRight;
    float slopeLeft;
    float slopeRight;
    bool stepping[Voice::kModulatorCount];
    int32_t waves[Voice::kModulatorCount];
    int32_t length;
};
