#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CStream;

// A VST bank (.fxb) or single-program (.fxp) file as hosts exchange them: the
// "CcnK" container holding one opaque chunk that the plug-in itself wrote.
// Header fields are big-endian 32-bit words. Files holding plain parameter
// values instead of a chunk are recognised and refused with a message.
class CPresetFile
{
public:
    enum Kind
    {
        Preset = 0,  // one program: "FPCh"
        Bank = 1     // the whole bank: "FBCh"
    };

    // Header bytes before the chunk data, including its size word.
    static constexpr int32_t kPresetHeaderBytes = 60;
    static constexpr int32_t kBankHeaderBytes = 160;
    // The program name field of a preset, terminator included.
    static constexpr int32_t kNameBytes = 28;
    // Larger files are refused as damaged rather than read into memory.
    static constexpr int32_t kMaxFileBytes = 64 * 1024 * 1024;

    Kind kind = Preset;
    uint32_t pluginId = 0;  // the plug-in's unique id (four characters)
    int32_t pluginVersion = 0;
    int32_t count = 0;           // presets: parameter count; banks: program count
    int32_t currentProgram = 0;  // banks only (format version 2)
    std::string programName;     // presets only; at most 27 characters are stored
    std::vector<uint8_t> chunk;

    // Reads the whole stream. On failure returns false and Error() says what
    // is wrong, without the file's name.
    bool Load(CStream& stream);
    // Writes the file; false when the stream took fewer bytes.
    bool Save(CStream& stream) const;
    // Reads the file at path; on failure Error() says what is wrong, without the path.
    bool LoadFile(const std::string& path);
    // Writes the file at path through a temporary file beside it and a
    // rename, so that a failed save never leaves a broken file behind and an
    // existing file stays whole until the new one is complete.
    bool SaveFile(const std::string& path);

    const std::string& Error() const { return error; }

    // Four-character code as text ("vlm1"), unprintable bytes as '?'.
    static std::string IdText(uint32_t id);

private:
    bool Fail(const std::string& message);

    std::string error;
};
