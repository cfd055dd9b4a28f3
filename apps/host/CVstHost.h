#pragma once

#include "CPluginLibrary.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct AEffect;
struct VstTimeInfo;

// A minimal VST 2.4 host for one plug-in instance: loads any VST 2.4 plug-in
// library by path, answers its callback (version, time info with tempo,
// transport and position, MIDI wish; everything else 0) and drives it:
// setup, events, rendering, programs, names and chunks.
//
// Use: Load, SetSampleRate, SetBlockSize, Resume, then per block QueueMidi
// any number of times and Process. All calls on one thread. Several hosts
// may live in one process, each with its own instance.
class CVstHost
{
public:
    static constexpr int32_t kMaxEventsPerBlock = 512;
    static constexpr double kDefaultTempo = 120.0;  // beats per minute

    CVstHost();
    // Suspends and closes the plug-in, then unloads the library.
    ~CVstHost();

    // Loads the library at path, finds its entry (VSTPluginMain, else main),
    // creates the plug-in, opens it and sends it the sample rate and block
    // size set so far. False, with Error() telling why, when the file cannot
    // be loaded, has no entry or gives no valid plug-in.
    bool Load(const std::string& path);
    const std::string& Error() const { return error; }
    bool IsLoaded() const { return effect != nullptr; }

    // The plug-in record; null before a successful Load.
    AEffect* Effect() const { return effect; }
    int32_t NumPrograms() const;
    int32_t NumParams() const;
    int32_t NumInputs() const;
    int32_t NumOutputs() const;
    int32_t Flags() const;
    int32_t UniqueId() const;

    // Setup; the block size is the most frames one Process may render.
    void SetSampleRate(float rate);
    void SetBlockSize(int32_t frames);
    void Resume();
    void Suspend();

    // What the time info reports from the next block on.
    void SetTempo(double bpm);
    // A change of state is flagged in the next time info.
    void SetPlaying(bool playing);
    // The position reported, in samples; advances with every Process.
    double SamplePosition() const;
    // How often the plug-in asked for the time info.
    int32_t TimeQueries() const { return timeQueries; }
    // Whether the plug-in asked to receive MIDI.
    bool WantsMidi() const { return wantsMidi; }

    // Queues a MIDI event for the next Process, at offset samples into the
    // block. False when the block's queue is full.
    bool QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2);
    // Sends the queued events, then renders frames samples into outputs
    // (NumOutputs() channels, silent inputs). False, rendering nothing, when
    // frames exceeds the block size or no plug-in is loaded.
    bool Process(float** outputs, int32_t frames);

    int32_t GetProgram();
    void SetProgram(int32_t index);
    std::string GetProgramName();
    void SetProgramName(const std::string& name);
    // False when the plug-in has no name for that index.
    bool GetProgramNameIndexed(int32_t index, std::string& name);
    // The plug-in's state: the current program alone, or the whole bank.
    std::vector<uint8_t> GetChunk(bool programOnly);
    void SetChunk(const std::vector<uint8_t>& chunk, bool programOnly);

    // Any other request, sent as it is.
    intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

    CVstHost(const CVstHost&) = delete;
    CVstHost& operator=(const CVstHost&) = delete;

private:
    struct EventQueue;

    static intptr_t Callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    // The time info of the current block, for the plug-in to read.
    VstTimeInfo* TimeInfo();
    void Unload();

    CPluginLibrary library;
    AEffect* effect = nullptr;
    std::string error;
    float sampleRate = 44100.0f;
    int32_t blockSize = 0;
    std::vector<float> silence;  // NumInputs() silent channels of blockSize
    std::vector<float*> inputs;
    std::unique_ptr<EventQueue> queue;
    std::unique_ptr<VstTimeInfo> timeInfo;
    double tempo = kDefaultTempo;
    bool playing = false;
    bool transportChanged = false;
    double samplePosition = 0.0;
    int32_t timeQueries = 0;
    bool wantsMidi = false;
    bool resumed = false;
};
