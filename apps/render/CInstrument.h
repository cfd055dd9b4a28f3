#pragma once

#include <cstdint>

// One instrument instance as the renderer drives it: MIDI queued for the next
// Process at an offset into it, program selection and the host tempo between
// blocks. Process renders at most the block size given when it was made.
class CInstrument
{
public:
    virtual ~CInstrument() = default;

    // How many events one Process can take.
    virtual int32_t EventCapacity() const = 0;
    // False when no more events fit into the next Process.
    virtual bool QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2) = 0;
    // Renders frames samples into left and right, replacing what they held.
    virtual bool Process(float* left, float* right, int32_t frames) = 0;
    virtual void SetProgram(int32_t index) = 0;
    virtual void SetTempo(double bpm) = 0;
};
