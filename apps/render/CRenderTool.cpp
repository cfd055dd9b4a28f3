#include "CRenderTool.h"

#include "CDemoSong.h"
#include "CInstrumentParameters.h"
#include "CMidiFile.h"
#include "CRenderer.h"
#include "CSoundFileWriter.h"
#include "CVstInstrument.h"

#include "host/VstAbi.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace
{
constexpr const char* kToolName = "velmora-render";

// "Soft Pad" -> "soft-pad": names that are safe in any file system.
std::string FileNamePart(const std::string& name)
{
    std::string out;
    for (char c : name)
    {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalnum(u))
            out += static_cast<char>(std::tolower(u));
        else if (!out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out.empty() ? "program" : out;
}

std::string Decibels(float peak)
{
    if (peak <= 0.0f)
        return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(static_cast<double>(peak)));
    return text;
}

class CProgressBar
{
public:
    explicit CProgressBar(bool enabled) : on(enabled) {}
    ~CProgressBar()
    {
        if (on && shown >= 0)
            std::fprintf(stderr, "\r%60s\r", "");
    }
    void Show(double fraction)
    {
        const int percent = static_cast<int>(fraction * 100.0);
        if (!on || percent == shown)
            return;
        shown = percent;
        char bar[41];
        const int filled = percent * 40 / 100;
        for (int i = 0; i < 40; ++i)
            bar[i] = i < filled ? '#' : '-';
        bar[40] = 0;
        std::fprintf(stderr, "\rRendering [%s] %3d%%", bar, percent);
        std::fflush(stderr);
    }

private:
    bool on;
    int shown = -1;
};
}

bool CRenderTool::Fail(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", kToolName, message.c_str());
    return false;
}

void CRenderTool::Warn(const std::string& message)
{
    std::fprintf(stderr, "%s: warning: %s\n", kToolName, message.c_str());
}

int CRenderTool::Run(const CRenderOptions& chosen, const std::string& defaultPlugin)
{
    options = chosen;
    pluginPath = options.plugin.empty() ? defaultPlugin : options.plugin;
    progressBar = ::isatty(STDERR_FILENO) != 0;

    if (!options.input.empty())
    {
        CMidiFile file;
        if (!file.Load(options.input))
        {
            Fail(file.Error());
            return kFailure;
        }
        song = CSequence::FromMidiFile(file);
    }
    else
    {
        song = CDemoSong::Song();
    }
    if (!options.bank.empty() && !ReadPresetFile(options.bank, CPresetFile::Bank, bank))
        return kFailure;
    if (!options.preset.empty() && !ReadPresetFile(options.preset, CPresetFile::Preset, preset))
        return kFailure;

    // The first instance answers the questions about the instrument and
    // proves that the setup works before anything is rendered.
    CVstInstrument setup;
    if (!CreateInstance(setup))
        return kFailure;
    if (options.listPrograms && !ListPrograms(setup))
        return kFailure;
    if (options.listParameters && !ListParameters(setup))
        return kFailure;
    if (!options.saveBank.empty() && !SaveState(setup, options.saveBank, CPresetFile::Bank))
        return kFailure;
    if (!options.savePreset.empty() && !SaveState(setup, options.savePreset, CPresetFile::Preset))
        return kFailure;
    if (!options.eachProgramFolder.empty() && !RenderEachProgram(setup))
        return kFailure;
    if (!options.output.empty())
    {
        Result result;
        if (!Render(song, options.output, fixedProgram, progressBar, result))
            return kFailure;
        PrintSummary(options.output, result);
    }
    return kSuccess;
}

bool CRenderTool::ReadPresetFile(const std::string& path, CPresetFile::Kind kind, CPresetFile& file)
{
    if (!file.LoadFile(path))
        return Fail(path + ": " + file.Error());
    if (file.kind != kind)
        return Fail(path + ": " +
                    (kind == CPresetFile::Bank ? "a preset file, not a bank" : "a bank file, not a preset"));
    return true;
}

bool CRenderTool::CreateInstance(CVstInstrument& instrument)
{
    if (!instrument.Load(pluginPath, options.sampleRate, options.blockSize))
        return Fail(instrument.Error());
    CVstHost& host = instrument.Host();
    const bool chunks = (host.Flags() & effFlagsProgramChunks) != 0;
    for (const CPresetFile* file : {&bank, &preset})
    {
        if (file->chunk.empty())
            continue;
        const std::string& path = file == &bank ? options.bank : options.preset;
        if (!chunks)
            return Fail(path + ": " + pluginPath + " keeps no chunk data, so it cannot load this file");
        if (file->pluginId != static_cast<uint32_t>(host.UniqueId()))
            return Fail(path + ": saved by the plug-in \"" + CPresetFile::IdText(file->pluginId) + "\", not by \"" +
                        CPresetFile::IdText(static_cast<uint32_t>(host.UniqueId())) + "\"");
    }
    if (!bank.chunk.empty())
    {
        host.SetChunk(bank.chunk, false);
        if (bank.currentProgram > 0 && bank.currentProgram < host.NumPrograms())
            host.SetProgram(bank.currentProgram);
    }
    if (!options.program.empty() && !ResolveProgram(instrument))
        return false;
    if (fixedProgram >= 0)
        host.SetProgram(fixedProgram);
    if (!preset.chunk.empty())
        host.SetChunk(preset.chunk, true);
    return ApplySettings(instrument);
}

bool CRenderTool::ApplySettings(CVstInstrument& instrument)
{
    CInstrumentParameters parameters(instrument.Host());
    for (const CRenderOptions::Setting& setting : options.settings)
    {
        const int32_t index = parameters.Find(setting.name);
        if (index < 0)
            return Fail("no parameter named \"" + setting.name + "\" in " + pluginPath + " (see --list-parameters)");
        if (!parameters.SetFromText(index, setting.value))
        {
            const std::string accepted = parameters.Accepted(index);
            return Fail(parameters.Name(index) + " cannot be set to \"" + setting.value + "\"" +
                        (accepted.empty() ? std::string() : " (it takes " + accepted + ")"));
        }
    }
    return true;
}

bool CRenderTool::ResolveProgram(CVstInstrument& instrument)
{
    if (fixedProgram >= 0)
        return true;
    const std::string& wanted = options.program;
    char* end = nullptr;
    const long number = std::strtol(wanted.c_str(), &end, 10);
    if (*end == 0)
    {
        if (number < 0 || number >= instrument.ProgramCount())
            return Fail("program " + wanted + " does not exist (" + pluginPath + " has programs 0 to " +
                        std::to_string(instrument.ProgramCount() - 1) + ")");
        fixedProgram = static_cast<int32_t>(number);
        return true;
    }
    fixedProgram = instrument.FindProgram(wanted);
    if (fixedProgram < 0)
        return Fail("no program named \"" + wanted + "\" in " + pluginPath + " (see --list-programs)");
    return true;
}

bool CRenderTool::ListPrograms(CVstInstrument& instrument)
{
    const int32_t current = instrument.Host().GetProgram();
    for (int32_t i = 0; i < instrument.ProgramCount(); ++i)
        std::printf("%3d%s %s\n", i, i == current ? "*" : " ", instrument.ProgramName(i).c_str());
    return std::fflush(stdout) == 0;
}

bool CRenderTool::ListParameters(CVstInstrument& instrument)
{
    CInstrumentParameters parameters(instrument.Host());
    for (int32_t i = 0; i < parameters.Count(); ++i)
        std::printf("%s\n", parameters.Describe(i).c_str());
    return std::fflush(stdout) == 0;
}

bool CRenderTool::SaveState(CVstInstrument& instrument, const std::string& path, CPresetFile::Kind kind)
{
    CVstHost& host = instrument.Host();
    if ((host.Flags() & effFlagsProgramChunks) == 0)
        return Fail(path + ": " + pluginPath + " keeps no chunk data to save");
    CPresetFile file;
    file.kind = kind;
    file.pluginId = static_cast<uint32_t>(host.UniqueId());
    file.pluginVersion = host.Effect()->version;
    file.count = kind == CPresetFile::Bank ? host.NumPrograms() : host.NumParams();
    file.currentProgram = host.GetProgram();
    file.programName = host.GetProgramName();
    file.chunk = host.GetChunk(kind == CPresetFile::Preset);
    if (file.chunk.empty())
        return Fail(path + ": the plug-in gave no chunk data");

    if (!file.SaveFile(path))
        return Fail(path + ": " + file.Error());
    return true;
}

bool CRenderTool::Render(const CSequence& sequence, const std::string& path, int32_t program, bool showProgress,
                         Result& result)
{
    // One instance per channel that plays; a song without events still gets
    // one, so that the render has a defined instrument.
    uint16_t channels = sequence.ChannelMask();
    if (channels == 0)
        channels = 1;
    std::array<std::unique_ptr<CVstInstrument>, CSequence::kChannels> instruments;
    CRenderer::Settings settings;
    settings.sampleRate = options.sampleRate;
    settings.blockSize = options.blockSize;
    settings.maxTailSeconds = options.tailSeconds;
    // A preset or settings shape the current program: the song keeps to it.
    settings.programChanges = program < 0 && preset.chunk.empty() && options.settings.empty();
    CRenderer renderer(sequence, settings);
    for (int channel = 0; channel < CSequence::kChannels; ++channel)
    {
        if ((channels >> channel & 1) == 0)
            continue;
        auto instrument = std::make_unique<CVstInstrument>();
        if (!CreateInstance(*instrument))
            return false;
        const std::string& start = sequence.startPrograms[static_cast<size_t>(channel)];
        if (program >= 0)
        {
            instrument->SetProgram(program);
            if (!preset.chunk.empty())
                instrument->Host().SetChunk(preset.chunk, true);
        }
        else if (settings.programChanges && !start.empty())
        {
            const int32_t found = instrument->FindProgram(start);
            if (found >= 0)
                instrument->SetProgram(found);
            else
                Warn(pluginPath + " has no program \"" + start + "\"; MIDI channel " + std::to_string(channel + 1) +
                     " plays its current program");
        }
        // The program just chosen gets the settings too.
        if (!ApplySettings(*instrument))
            return false;
        renderer.SetInstrument(channel, instrument.get());
        instruments[static_cast<size_t>(channel)] = std::move(instrument);
    }

    CSoundFileWriter writer;
    if (!writer.Open(path, options.container, options.encoding, options.sampleRate))
        return Fail(writer.Error());
    CProgressBar bar(showProgress);
    const auto start = std::chrono::steady_clock::now();
    while (!renderer.Finished())
    {
        if (!renderer.Step(writer))
            return Fail(writer.Error().empty() ? path + ": " + renderer.Error() : writer.Error());
        bar.Show(renderer.SongProgress());
    }
    if (!writer.Commit())
        return Fail(writer.Error());
    result.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.frames = renderer.FramesRendered();
    result.peak = renderer.Peak();
    return true;
}

bool CRenderTool::RenderEachProgram(CVstInstrument& setup)
{
    const std::string& folder = options.eachProgramFolder;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder, error))
        return Fail(folder + ": cannot create the folder");
    const CSequence phrase = options.input.empty() ? CDemoSong::Phrase() : song;
    const char* extension = options.container == CSoundFileWriter::Flac ? ".flac" : ".wav";
    for (int32_t program = 0; program < setup.ProgramCount(); ++program)
    {
        char number[16];
        std::snprintf(number, sizeof number, "%02d-", program);
        const std::string path = folder + "/" + number + FileNamePart(setup.ProgramName(program)) + extension;
        Result result;
        if (!Render(phrase, path, program, false, result))
            return false;
        PrintSummary(path, result);
    }
    return true;
}

void CRenderTool::PrintSummary(const std::string& path, const Result& result) const
{
    const double seconds = static_cast<double>(result.frames) / options.sampleRate;
    const double speed = result.wallSeconds > 0.0 ? seconds / result.wallSeconds : 0.0;
    const bool clipped = result.peak > 1.0f && options.encoding != CSoundFileWriter::Float32;
    std::printf("Wrote %s: %.1f s, %d Hz, %s, peak %s%s, %.1f times faster than real time\n", path.c_str(), seconds,
                options.sampleRate, CSoundFileWriter::Describe(options.container, options.encoding).c_str(),
                Decibels(result.peak).c_str(), clipped ? " (clipped)" : "", speed);
    std::fflush(stdout);
}
