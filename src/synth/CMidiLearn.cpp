#include "synth/CMidiLearn.h"

namespace
{

constexpr int32_t kModWheel = 1;
constexpr int32_t kSustainPedal = 64;
constexpr int32_t kFirstChannelMode = 120;

}  // namespace

CMidiLearn::CMidiLearn()
{
    ForgetAll();
}

bool CMidiLearn::Learnable(int32_t controller)
{
    return controller >= 0 && controller < kFirstChannelMode && controller != kModWheel && controller != kSustainPedal;
}

void CMidiLearn::Arm(int32_t parameter)
{
    armed = parameter >= 0 ? parameter : kNone;
}

void CMidiLearn::Forget(int32_t parameter)
{
    for (int32_t& bound : parameterOf)
    {
        if (bound == parameter)
            bound = kNone;
    }
    if (armed == parameter)
        armed = kNone;
}

void CMidiLearn::ForgetAll()
{
    for (int32_t& bound : parameterOf)
        bound = kNone;
    armed = kNone;
}

int32_t CMidiLearn::Take(int32_t controller)
{
    if (!Learnable(controller))
        return kNone;
    const int32_t waiting = armed;
    if (waiting != kNone)
    {
        Bind(controller, waiting);
        armed = kNone;
    }
    return parameterOf[controller];
}

int32_t CMidiLearn::ControllerOf(int32_t parameter) const
{
    for (int32_t controller = 0; controller < kControllers; ++controller)
    {
        if (parameterOf[controller] == parameter)
            return controller;
    }
    return kNone;
}

int32_t CMidiLearn::ParameterOf(int32_t controller) const
{
    return controller >= 0 && controller < kControllers ? parameterOf[controller] : kNone;
}

int32_t CMidiLearn::BindingCount() const
{
    int32_t count = 0;
    for (int32_t bound : parameterOf)
        count += bound != kNone ? 1 : 0;
    return count;
}

bool CMidiLearn::Bind(int32_t controller, int32_t parameter)
{
    if (!Learnable(controller) || parameter < 0)
        return false;
    for (int32_t& bound : parameterOf)
    {
        if (bound == parameter)
            bound = kNone;
    }
    parameterOf[controller] = parameter;
    return true;
}
