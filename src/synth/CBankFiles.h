#pragma once

#include "synth/ParameterTable.h"

#include <cstdint>
#include <string>

class CSynth;

// The bank and the current program as the standard VST bank (.fxb) and
// program (.fxp) files. A file that is no such container, was saved by
// another plug-in or holds damaged program data is refused before anything
// changes; saving never leaves a broken file behind. Error() then holds a
// message for the user. User-interface thread only.
class CBankFiles
{
public:
    // The host adapter's unique id ("vlm1", first character in the top byte)
    // and the version it reports.
    static constexpr uint32_t kPluginId = 0x766C6D31u;
    static constexpr int32_t kPluginVersion = 1;
    static constexpr int32_t kParameterCount = kParameterTableSize;

    explicit CBankFiles(CSynth& synth) : synth(synth) {}

    // Replaces the bank and selects the file's current program.
    bool LoadBank(const std::string& path);
    bool SaveBank(const std::string& path);
    // Replaces the current program.
    bool LoadProgram(const std::string& path);
    bool SaveProgram(const std::string& path);

    const std::string& Error() const { return error; }

private:
    bool Load(const std::string& path, bool isPreset);
    bool Save(const std::string& path, bool isPreset);
    bool Fail(const std::string& path, const std::string& message);

    CSynth& synth;
    std::string error;
};
