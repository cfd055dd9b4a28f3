#include "gui/draw/Colour.h"

#include <cmath>

uint32_t Mix(uint32_t a, uint32_t b, double t)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
    {
        const double from = static_cast<double>(a >> shift & 0xFF);
        const double to = static_cast<double>(b >> shift & 0xFF);
        double channel = std::floor(from + (to - from) * t + 0.5);
        channel = channel < 0.0 ? 0.0 : (channel > 255.0 ? 255.0 : channel);
        out |= static_cast<uint32_t>(channel) << shift;
    }
    return out;
}
