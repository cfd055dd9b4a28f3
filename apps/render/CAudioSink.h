#pragma once

#include <cstdint>

// Where rendered stereo audio goes (a sound file, or memory in tests).
class CAudioSink
{
public:
    virtual ~CAudioSink() = default;
    virtual bool Write(const float* left, const float* right, int32_t frames) = 0;
};
