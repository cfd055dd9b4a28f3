#pragma once

#include <cstdint>

// MIDI controllers bound to host parameters by the player. Arming a
// parameter makes the next learnable controller that arrives its own; from
// then on that controller's 0..127 moves the parameter over its whole range.
// A controller moves one parameter, a parameter follows one controller.
//
// Threads: Arm and the Forget calls on the user-interface thread, Take on
// the audio thread; every shared value is one aligned 32-bit word, so either
// side sees a binding whole or not at all. Nothing allocates.
class CMidiLearn
{
public:
    static constexpr int32_t kControllers = 128;
    static constexpr int32_t kNone = -1;

    CMidiLearn();

    // Mod wheel, sustain pedal and the channel-mode messages keep their
    // meaning: controllers 1, 64 and 120..127 are never learned.
    static bool Learnable(int32_t controller);

    // The next learnable controller will move parameter (>= 0).
    void Arm(int32_t parameter);
    void Disarm() { armed = kNone; }
    int32_t Armed() const { return armed; }
    void Forget(int32_t parameter);
    void ForgetAll();

    // The parameter controller moves, binding it first when a parameter is
    // armed; kNone when it moves none.
    int32_t Take(int32_t controller);

    // The controller bound to parameter; kNone when there is none.
    int32_t ControllerOf(int32_t parameter) const;
    // The parameter bound to controller; kNone when there is none.
    int32_t ParameterOf(int32_t controller) const;
    int32_t BindingCount() const;
    // Binds without arming, replacing earlier bindings of either side; false
    // (binding nothing) for an unlearnable controller or a negative parameter.
    bool Bind(int32_t controller, int32_t parameter);

private:
    int32_t parameterOf[kControllers];
    int32_t armed = kNone;
};
