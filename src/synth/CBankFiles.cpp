#include "synth/CBankFiles.h"

#include "io/CMemoryStream.h"
#include "io/CPresetFile.h"
#include "io/HeapString.h"
#include "synth/CSynth.h"
#include "synth/PatchCheck.h"

bool CBankFiles::Fail(const std::string& path, const std::string& message)
{
    error = path + ": " + message;
    return false;
}

bool CBankFiles::Load(const std::string& path, bool isPreset)
{
    CPresetFile file;
    if (!file.LoadFile(path))
        return Fail(path, file.Error());
    if (isPreset && file.kind != CPresetFile::Preset)
        return Fail(path, "a bank file, not a program file");
    if (!isPreset && file.kind != CPresetFile::Bank)
        return Fail(path, "a program file, not a bank file");
    if (file.pluginId != kPluginId)
        return Fail(path, "saved by another plug-in (\"" + CPresetFile::IdText(file.pluginId) + "\")");
    std::string reason;
    if (!CheckPatchChunk(file.chunk.data(), file.chunk.size(), isPreset, reason))
        return Fail(path, reason);
    CMemoryStream stream;
    stream.Write(file.chunk.data(), static_cast<int32_t>(file.chunk.size()));
    stream.Seek(0, CStream::FromStart);
    synth.LoadState(&stream, isPreset);
    error.clear();
    return true;
}

bool CBankFiles::Save(const std::string& path, bool isPreset)
{
    CMemoryStream stream;
    synth.SaveState(&stream, isPreset);
    CPresetFile file;
    file.kind = isPreset ? CPresetFile::Preset : CPresetFile::Bank;
    file.pluginId = kPluginId;
    file.pluginVersion = kPluginVersion;
    file.count = isPreset ? kParameterCount : CSynth::kProgramCount;
    file.currentProgram = synth.GetProgram();
    char* name = synth.GetProgramName(synth.GetProgram());
    file.programName = name;
    FreeString(name);
    file.chunk.resize(static_cast<size_t>(stream.Size()));
    stream.Seek(0, CStream::FromStart);
    if (stream.Read(file.chunk.data(), stream.Size()) != stream.Size())
        return Fail(path, "cannot take the program data");
    if (!file.SaveFile(path))
        return Fail(path, file.Error());
    error.clear();
    return true;
}

bool CBankFiles::LoadBank(const std::string& path)
{
    return Load(path, false);
}

bool CBankFiles::SaveBank(const std::string& path)
{
    return Save(path, false);
}

bool CBankFiles::LoadProgram(const std::string& path)
{
    return Load(path, true);
}

bool CBankFiles::SaveProgram(const std::string& path)
{
    return Save(path, true);
}
