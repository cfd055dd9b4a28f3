#pragma once

#include "synth/ParameterTable.h"

#include <cstdint>

// The plug-in's ports and how a control port's value maps onto a parameter
// of the table. A control port carries the value as the editor displays it:
// the knob value, or for settings shown in their own units (knob value +
// displayShift) x displayStep. The bundle's Turtle, the plug-in and its UI all
// take ranges and conversions from here, so they cannot disagree.
namespace Lv2Ports
{
constexpr uint32_t kMidiIn = 0;
constexpr uint32_t kOutLeft = 1;
constexpr uint32_t kOutRight = 2;
constexpr uint32_t kFirstControl = 3;
constexpr uint32_t kCount = kFirstControl + kParameterTableSize;

// The port of a parameter index and back; -1 when the port is no control.
constexpr uint32_t ControlPort(int32_t parameter)
{
    return kFirstControl + static_cast<uint32_t>(parameter);
}
int32_t ParameterOfPort(uint32_t port);

// A knob value in port units.
float PortValue(const ParameterInfo& info, int32_t knob);
float PortMinimum(const ParameterInfo& info);
float PortMaximum(const ParameterInfo& info);
float PortDefault(const ParameterInfo& info);
// True when every port value is a whole number.
bool IsIntegerPort(const ParameterInfo& info);
// The knob value nearest to a port value, limited to the knob's range; false
// for NaN, which names no value. No allocation: audio thread.
bool KnobFromPort(const ParameterInfo& info, float value, int32_t& knob);
// The 0..1 host value of a knob value, as CPluginBase::SetParameter takes it,
// and the knob value nearest to a host value.
float Normalized(const ParameterInfo& info, int32_t knob);
int32_t KnobOfNormalized(const ParameterInfo& info, float normalized);
}  // namespace Lv2Ports
