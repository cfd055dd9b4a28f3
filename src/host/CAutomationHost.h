#pragma once

#include <cstdint>

// What the core tells its host about parameters, so that the host can
// record the player's knob moves as automation and show current values.
// Indices are those of the parameter table; values are the host's 0..1.
// Called on the user-interface thread only.
class CAutomationHost
{
public:
    virtual ~CAutomationHost() = default;

    // The player grabbed the parameter's control.
    virtual void BeginEdit(int32_t parameter) = 0;
    // Its new value, while grabbed.
    virtual void Automate(int32_t parameter, float normalized) = 0;
    // The player let go.
    virtual void EndEdit(int32_t parameter) = 0;
    // Any number of values changed at once (program change, chunk load):
    // the host should read them all again.
    virtual void UpdateDisplay() = 0;
};
