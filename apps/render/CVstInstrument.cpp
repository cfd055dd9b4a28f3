#include "CVstInstrument.h"

#include "host/VstAbi.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

namespace
{
bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) {
                                                  return std::tolower(static_cast<unsigned char>(x)) ==
                                                         std::tolower(static_cast<unsigned char>(y));
                                              });
}
}

bool CVstInstrument::Load(const std::string& path, int32_t sampleRate, int32_t frames)
{
    error.clear();
    std::error_code missing;
    if (!std::filesystem::is_regular_file(path, missing))
    {
        error = path + (std::filesystem::exists(path, missing) ? ": not a file" : ": no such file");
        return false;
    }
    if (!host.Load(path))
    {
        // The loader's reasons usually start with the path already.
        std::string reason = host.Error();
        if (reason.compare(0, path.size() + 2, path + ": ") == 0)
            reason.erase(0, path.size() + 2);
        error = path + ": not a VST 2.4 plug-in (" + reason + ")";
        return false;
    }
    if ((host.Flags() & effFlagsIsSynth) == 0)
    {
        error = path + ": a VST 2.4 effect, not an instrument";
        return false;
    }
    if ((host.Flags() & effFlagsCanReplacing) == 0)
    {
        error = path + ": the plug-in cannot render (no processReplacing)";
        return false;
    }
    if (host.NumOutputs() < 1)
    {
        error = path + ": the instrument has no audio outputs";
        return false;
    }
    blockSize = frames;
    host.SetSampleRate(static_cast<float>(sampleRate));
    host.SetBlockSize(frames);
    host.Resume();
    host.SetPlaying(true);

    const size_t extra = static_cast<size_t>(std::max(host.NumOutputs() - 2, 0));
    spare.assign(extra * static_cast<size_t>(frames) + 1, 0.0f);
    outputs.assign(static_cast<size_t>(std::max(host.NumOutputs(), 2)), nullptr);
    for (size_t i = 2; i < outputs.size(); ++i)
        outputs[i] = spare.data() + (i - 2) * static_cast<size_t>(frames);
    return true;
}

std::string CVstInstrument::ProgramName(int32_t index)
{
    std::string name;
    if (host.GetProgramNameIndexed(index, name))
        return name;
    // Plug-ins without indexed names: select the program to ask, then go back.
    const int32_t current = host.GetProgram();
    host.SetProgram(index);
    name = host.GetProgramName();
    host.SetProgram(current);
    return name;
}

int32_t CVstInstrument::FindProgram(const std::string& name)
{
    int32_t loose = -1;
    for (int32_t i = 0; i < ProgramCount(); ++i)
    {
        const std::string candidate = ProgramName(i);
        if (candidate == name)
            return i;
        if (loose < 0 && SameIgnoringCase(candidate, name))
            loose = i;
    }
    return loose;
}

bool CVstInstrument::QueueMidi(int32_t offset, uint8_t status, uint8_t data1, uint8_t data2)
{
    return host.QueueMidi(offset, status, data1, data2);
}

bool CVstInstrument::Process(float* left, float* right, int32_t frames)
{
    outputs[0] = left;
    outputs[1] = right;
    if (!host.Process(outputs.data(), frames))
        return false;
    if (host.NumOutputs() == 1)
        std::memcpy(right, left, sizeof(float) * static_cast<size_t>(frames));
    return true;
}

void CVstInstrument::SetProgram(int32_t index)
{
    host.SetProgram(index);
}

void CVstInstrument::SetTempo(double bpm)
{
    host.SetTempo(bpm);
}
