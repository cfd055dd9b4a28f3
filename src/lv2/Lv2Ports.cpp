#include "lv2/Lv2Ports.h"

#include <cmath>

namespace Lv2Ports
{

int32_t ParameterOfPort(uint32_t port)
{
    if (port < kFirstControl || port >= kCount)
        return -1;
    return static_cast<int32_t>(port - kFirstControl);
}

float PortValue(const ParameterInfo& info, int32_t knob)
{
    return static_cast<float>((knob + info.displayShift) * info.displayStep);
}

float PortMinimum(const ParameterInfo& info)
{
    return PortValue(info, info.minimum);
}

float PortMaximum(const ParameterInfo& info)
{
    return PortValue(info, info.maximum);
}

float PortDefault(const ParameterInfo& info)
{
    return PortValue(info, info.defaultValue);
}

bool IsIntegerPort(const ParameterInfo& info)
{
    return info.kind != ParameterKind::Float && info.displayStep == std::floor(info.displayStep);
}

bool KnobFromPort(const ParameterInfo& info, float value, int32_t& knob)
{
    if (std::isnan(value))
        return false;
    const double position = static_cast<double>(value) / info.displayStep - info.displayShift;
    if (!(position > info.minimum))
        knob = info.minimum;
    else if (!(position < info.maximum))
        knob = info.maximum;
    else
        knob = RoundToKnob(position);
    return true;
}

float Normalized(const ParameterInfo& info, int32_t knob)
{
    return static_cast<float>(static_cast<double>(knob - info.minimum) / (info.maximum - info.minimum));
}

int32_t KnobOfNormalized(const ParameterInfo& info, float normalized)
{
    return info.minimum + RoundToKnob(static_cast<double>(normalized) * (info.maximum - info.minimum));
}

}  // namespace Lv2Ports
