#include "io/CPresetFile.h"

#include "io/ByteOrder.h"
#include "io/CFileStream.h"
#include "io/CStream.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace
{
constexpr uint32_t FourCC(const char (&text)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

constexpr uint32_t kContainerMagic = FourCC("CcnK");
constexpr uint32_t kPresetChunkMagic = FourCC("FPCh");
constexpr uint32_t kBankChunkMagic = FourCC("FBCh");
constexpr uint32_t kPresetParamsMagic = FourCC("FxCk");
constexpr uint32_t kBankParamsMagic = FourCC("FxBk");

// Version 1 presets; version 2 banks carry the current program.
constexpr uint32_t kPresetVersion = 1;
constexpr uint32_t kBankVersion = 2;

// Field offsets shared by both kinds.
constexpr int32_t kSizeAt = 4;
constexpr int32_t kTypeAt = 8;
constexpr int32_t kVersionAt = 12;
constexpr int32_t kIdAt = 16;
constexpr int32_t kPluginVersionAt = 20;
constexpr int32_t kCountAt = 24;
// Presets: name, then chunk size. Banks: current program, reserved bytes, chunk size.
constexpr int32_t kNameAt = 28;
constexpr int32_t kCurrentProgramAt = 28;

std::string Number(int64_t value)
{
    return std::to_string(value);
}
}

std::string CPresetFile::IdText(uint32_t id)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = static_cast<char>((id >> shift) & 0xFF);
        text += c >= 32 && c < 127 ? c : '?';
    }
    return text;
}

bool CPresetFile::Fail(const std::string& message)
{
    error = message;
    return false;
}

bool CPresetFile::Load(CStream& stream)
{
    error.clear();
    const int32_t size = stream.Size();
    if (size > kMaxFileBytes)
        return Fail("absurd size for a preset or bank file (" + Number(size) + " bytes)");
    std::vector<uint8_t> bytes(static_cast<size_t>(size > 0 ? size : 0));
    stream.Seek(0, CStream::FromStart);
    if (size > 0 && stream.Read(bytes.data(), size) != size)
        return Fail("could not be read completely");
    if (size < 12 || LoadU32BE(bytes.data()) != kContainerMagic)
        return Fail("not a VST preset or bank file (no \"CcnK\" magic)");

    const uint32_t type = LoadU32BE(&bytes[kTypeAt]);
    if (type == kPresetParamsMagic || type == kBankParamsMagic)
        return Fail("holds parameter values, not the chunk data this plug-in stores");
    if (type != kPresetChunkMagic && type != kBankChunkMagic)
        return Fail("unknown container type \"" + IdText(type) + "\"");
    const Kind found = type == kBankChunkMagic ? Bank : Preset;
    const int32_t header = found == Bank ? kBankHeaderBytes : kPresetHeaderBytes;
    if (size < header)
        return Fail("truncated: " + Number(size) + " bytes, the header alone takes " + Number(header));

    const uint32_t declared = LoadU32BE(&bytes[kSizeAt]);
    if (declared != static_cast<uint32_t>(size - 8))
        return Fail("wrong size: the header says " + Number(declared) + " bytes follow it, the file has " +
                    Number(size - 8));
    const uint32_t chunkSize = LoadU32BE(&bytes[header - 4]);
    if (chunkSize != static_cast<uint32_t>(size - header))
        return Fail("wrong chunk size: the header says " + Number(chunkSize) + " bytes, the file holds " +
                    Number(size - header));
    const uint32_t version = LoadU32BE(&bytes[kVersionAt]);
    if (version < 1 || version > 2)
        return Fail("unsupported container version " + Number(version));

    kind = found;
    pluginId = LoadU32BE(&bytes[kIdAt]);
    pluginVersion = static_cast<int32_t>(LoadU32BE(&bytes[kPluginVersionAt]));
    count = static_cast<int32_t>(LoadU32BE(&bytes[kCountAt]));
    currentProgram = 0;
    programName.clear();
    if (kind == Preset)
    {
        // A field filled to the end has lost its terminator: the name is
        // what fits before one, as Save stores it.
        const char* name = reinterpret_cast<const char*>(&bytes[kNameAt]);
        programName.assign(name, strnlen(name, kNameBytes - 1));
    }
    else if (version >= 2)
    {
        currentProgram = static_cast<int32_t>(LoadU32BE(&bytes[kCurrentProgramAt]));
    }
    chunk.assign(bytes.begin() + header, bytes.end());
    return true;
}

bool CPresetFile::Save(CStream& stream) const
{
    const int32_t header = kind == Bank ? kBankHeaderBytes : kPresetHeaderBytes;
    const int32_t chunkSize = static_cast<int32_t>(chunk.size());
    std::vector<uint8_t> bytes(static_cast<size_t>(header), 0);
    StoreU32BE(&bytes[0], kContainerMagic);
    StoreU32BE(&bytes[kSizeAt], static_cast<uint32_t>(header - 8 + chunkSize));
    StoreU32BE(&bytes[kTypeAt], kind == Bank ? kBankChunkMagic : kPresetChunkMagic);
    StoreU32BE(&bytes[kVersionAt], kind == Bank ? kBankVersion : kPresetVersion);
    StoreU32BE(&bytes[kIdAt], pluginId);
    StoreU32BE(&bytes[kPluginVersionAt], static_cast<uint32_t>(pluginVersion));
    StoreU32BE(&bytes[kCountAt], static_cast<uint32_t>(count));
    if (kind == Preset)
        std::memcpy(&bytes[kNameAt], programName.data(), std::min<size_t>(programName.size(), kNameBytes - 1));
    else
        StoreU32BE(&bytes[kCurrentProgramAt], static_cast<uint32_t>(currentProgram));
    StoreU32BE(&bytes[header - 4], static_cast<uint32_t>(chunkSize));
    if (stream.Write(bytes.data(), header) != header)
        return false;
    return chunkSize == 0 || stream.Write(chunk.data(), chunkSize) == chunkSize;
}

bool CPresetFile::LoadFile(const std::string& path)
{
    std::error_code code;
    if (!std::filesystem::is_regular_file(path, code))
        return Fail(std::filesystem::exists(path, code) ? "not a file" : "no such file");
    CFileStream stream(path.c_str(), CFileStream::ReadOnly);
    if (!stream.IsOpen())
        return Fail("cannot open the file");
    return Load(stream);
}

bool CPresetFile::SaveFile(const std::string& path)
{
    const std::string temporary = path + ".tmp";
    bool written;
    {
        CFileStream stream(temporary.c_str(), CFileStream::Create);
        if (!stream.IsOpen())
            return Fail("cannot create the file");
        written = Save(stream) && stream.Flush();
    }
    std::error_code code;
    // std::filesystem::rename replaces an existing file on every system (a
    // plain rename refuses to on Windows).
    if (written)
        std::filesystem::rename(temporary, path, code);
    if (!written || code)
    {
        std::filesystem::remove(temporary, code);
        return Fail("cannot write the file");
    }
    return true;
}
