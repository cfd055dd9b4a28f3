#pragma once

#include "CSoundFileWriter.h"

#include <cstdint>
#include <string>
#include <vector>

// The command line of velmora-render, checked: every value in range, every
// option known. Parse fails with a one-line reason for anything else.
class CRenderOptions
{
public:
    static constexpr int32_t kMinRate = 8000;
    static constexpr int32_t kMaxRate = 192000;
    static constexpr int32_t kMaxBlock = 8192;
    static constexpr double kMaxTailSeconds = 600.0;

    bool Parse(int argc, const char* const* argv);
    const std::string& Error() const { return error; }
    static const char* HelpText();

    bool help = false;
    bool version = false;
    std::string input;   // empty: the built-in demo song
    std::string output;  // empty: render nothing
    bool formatGiven = false;
    CSoundFileWriter::Container container = CSoundFileWriter::Wav;
    CSoundFileWriter::Encoding encoding = CSoundFileWriter::Pcm24;
    int32_t sampleRate = 44100;
    int32_t blockSize = 256;
    double tailSeconds = 20.0;
    std::string plugin;   // empty: velmora.so beside the program
    std::string program;  // number or name; empty: none
    std::string bank;
    std::string preset;
    std::string saveBank;
    std::string savePreset;
    bool listPrograms = false;
    bool listParameters = false;
    // --set NAME=VALUE, in the order given.
    struct Setting
    {
        std::string name;
        std::string value;
    };
    std::vector<Setting> settings;
    std::string eachProgramFolder;

private:
    bool Fail(const std::string& message);

    std::string error;
};
