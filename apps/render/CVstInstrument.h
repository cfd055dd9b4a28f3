#pragma once

#include "CInstrument.h"

#include "host/CVstHost.h"

#include <cstdint>
#include <string>
#include <vector>

// A VST 2.4 instrument loaded through our test host and made ready to render:
// checked to be an instrument with audio outputs, given the sample rate and
// block size, and resumed. Renders stereo; a mono instrument is copied to both
// channels and outputs beyond the second are left out.
class CVstInstrument : public CInstrument
{
public:
    // False, with Error() as "<path>: <reason>", when the file is no VST 2.4 instrument.
    bool Load(const std::string& path, int32_t sampleRate, int32_t blockSize);
    const std::string& Error() const { return error; }

    CVstHost& Host() { return host; }
    int32_t ProgramCount() const { return host.NumPrograms(); }
    // The plug-in's name for a program (empty when it has none).
    std::string ProgramName(int32_t index);
    // The first program with this name: exact, else ignoring case; -1 when none.
    int32_t FindProgram(const std::string& name);

    int32_t EventCapacity() const override { return CVstHost::kMaxEventsPerBlock; }
    bool QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2) override;
    bool Process(float* left, float* right, int32_t frames) override;
    void SetProgram(int32_t index) override;
    void SetTempo(double bpm) override;

private:
    CVstHost host;
    std::string error;
    int32_t blockSize = 0;
    std::vector<float> spare;  // outputs beyond the second, blockSize each
    std::vector<float*> outputs;
};
