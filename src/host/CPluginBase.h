#pragma once

#include <cstdint>

class CAutomationHost;
class CStream;

// The host-independent face of the plug-in: everything the host adapter needs
// from the synthesizer, without any host type. Strings are heap strings
// (io/HeapString.h): a returned string belongs to the caller, a string passed
// in belongs to the receiver.
//
// Threads: ProcessBlock and HandleMidi are called on the audio thread,
// SetParameter on either thread, all others on the user-interface thread.
// Nothing here locks. SetSampleRate, SetBlockSize and Reset come before the
// first ProcessBlock.
class CPluginBase
{
public:
    static constexpr int32_t kDefaultBlockSize = 1024;

    CPluginBase() = default;
    virtual ~CPluginBase() = default;

    // One packed MIDI message: status in bits 0-7, data bytes in 8-15 and 16-23.
    virtual void HandleMidi(uint32_t message);
    // Renders frames samples, adding into outputs[0] and outputs[1]; inputs is ignored.
    virtual void ProcessBlock(float** inputs, float** outputs, int32_t frames);
    virtual void SetSampleRate(int32_t rate);
    // Stores the host's maximum block size and returns it.
    virtual int32_t SetBlockSize(int32_t size);
    virtual void SetProgram(int32_t index);
    virtual int32_t GetProgram();
    // Takes ownership of name.
    virtual void SetProgramName(int32_t index, char* name);
    virtual char* GetProgramName(int32_t index);
    // The number of parameters, fixed for the life of the core.
    virtual int32_t GetParameterCount();
    // value is 0..1; allocates and locks nothing.
    virtual void SetParameter(int32_t index, float value);
    virtual float GetParameter(int32_t index);
    virtual char* GetParameterName(int32_t index);
    virtual char* GetParameterDisplay(int32_t index);
    // The unit that follows the displayed value ("%", "ms"...).
    virtual char* GetParameterLabel(int32_t index);
    // Sets a parameter from typed text in the units of its display; false,
    // changing nothing, when the text is no value of the parameter.
    virtual bool SetParameterFromText(int32_t index, const char* text);
    virtual void SetTransport(bool playing);
    virtual void SetTempo(float bpm);
    // Silences everything at once: voices freed, held notes and the pedal
    // forgotten, effect tails and filter states cleared. Programs and
    // settings stay. Called when audio (re)starts and after a change of rate
    // or block size, so a host that restarts playback hears nothing stale.
    virtual void Reset();
    // Writes the bank (isPreset false) or the current program (true).
    virtual void SaveState(CStream* stream, bool isPreset);
    // Reads the bank or the current program back.
    virtual void LoadState(CStream* stream, bool isPreset);

    CPluginBase(const CPluginBase&) = delete;
    CPluginBase& operator=(const CPluginBase&) = delete;

    int32_t blockSize = kDefaultBlockSize;
    CAutomationHost* automation = nullptr;  // the adapter's; null: edits reach no host
};
