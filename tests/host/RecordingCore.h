#pragma once

#include "host/CPluginBase.h"
#include "io/CStream.h"
#include "io/HeapString.h"

#include <cstdint>
#include <string>
#include <vector>

// A core that records what the adapter asks of it. ProcessBlock writes a
// ramp of recognisable values (each call's frames numbered from 1) so tests
// can see which samples each call covered.
class RecordingCore : public CPluginBase
{
public:
    struct Call
    {
        std::string what;     // "block", "midi" or "reset"
        int32_t frames = 0;   // block
        uint32_t message = 0; // midi
    };

    ~RecordingCore() override { ++*destroyed; }

    void HandleMidi(uint32_t message) override { calls.push_back({"midi", 0, message}); }
    void ProcessBlock(float**, float** outputs, int32_t frames) override
    {
        calls.push_back({"block", frames, 0});
        for (int32_t i = 0; i < frames; ++i)
        {
            outputs[0][i] += static_cast<float>(i + 1);
            outputs[1][i] -= static_cast<float>(i + 1);
        }
    }
    void SetSampleRate(int32_t rate) override { sampleRates.push_back(rate); }
    void Reset() override { calls.push_back({"reset", 0, 0}); }
    void SetProgram(int32_t index) override { programs.push_back(index); program = index; }
    int32_t GetProgram() override { return program; }
    void SetProgramName(int32_t index, char* name) override
    {
        nameIndex = index;
        storedName = name;
        FreeString(name);
    }
    char* GetProgramName(int32_t index) override
    {
        nameRequests.push_back(index);
        return NewString(programName.c_str());
    }
    int32_t GetParameterCount() override { return kParameters; }
    void SetParameter(int32_t index, float value) override { parameterWrites.push_back({index, value}); }
    float GetParameter(int32_t index) override { return 0.25f * static_cast<float>(index); }
    char* GetParameterName(int32_t index) override { return NewString(("name " + std::to_string(index)).c_str()); }
    char* GetParameterDisplay(int32_t) override { return NewString("shown"); }
    char* GetParameterLabel(int32_t) override { return NewString(parameterLabel.c_str()); }
    bool SetParameterFromText(int32_t index, const char* text) override
    {
        parameterTexts.push_back({index, text});
        return std::string(text) == "good";
    }
    void SetTransport(bool playing) override { transports.push_back(playing); }
    void SetTempo(float bpm) override { tempos.push_back(bpm); }
    void SaveState(CStream* stream, bool isPreset) override
    {
        saves.push_back(isPreset);
        stream->Write(state.data(), static_cast<int32_t>(state.size()));
    }
    void LoadState(CStream* stream, bool isPreset) override
    {
        loads.push_back(isPreset);
        loaded.assign(static_cast<size_t>(stream->Size()), 0);
        stream->Read(loaded.data(), stream->Size());
    }

    static constexpr int32_t kParameters = 12;

    int32_t* destroyed = &ownDestroyed;
    int32_t ownDestroyed = 0;
    std::vector<Call> calls;
    std::vector<int32_t> sampleRates;
    std::vector<int32_t> programs;
    int32_t program = 0;
    int32_t nameIndex = -1;
    std::string storedName;
    std::string programName = "Program";
    std::vector<int32_t> nameRequests;
    std::vector<std::pair<int32_t, float>> parameterWrites;
    std::vector<std::pair<int32_t, std::string>> parameterTexts;
    std::string parameterLabel = "unit";
    std::vector<bool> transports;
    std::vector<float> tempos;
    std::vector<bool> saves;
    std::vector<bool> loads;
    std::string state = "STATE";
    std::string loaded;
};
