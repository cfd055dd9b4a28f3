#pragma once

#include "io/CPresetFile.h"
#include "CRenderOptions.h"
#include "CSequence.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class CVstInstrument;

// The work of velmora-render once its command line is parsed: reads the song
// and the preset files, loads the instrument, then lists, saves and renders
// as asked. Results and the summary go to stdout, errors as one line each to
// stderr, a progress bar to stderr only when it is a terminal.
class CRenderTool
{
public:
    // Exit statuses.
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;

    // defaultPlugin is used when the options name none.
    int Run(const CRenderOptions& options, const std::string& defaultPlugin);

private:
    struct Result
    {
        int64_t frames = 0;
        float peak = 0.0f;
        double wallSeconds = 0.0;
    };

    bool ReadPresetFile(const std::string& path, CPresetFile::Kind kind, CPresetFile& file);
    // Loads one instance and applies the bank, program and preset options to it.
    bool CreateInstance(CVstInstrument& instrument);
    bool ResolveProgram(CVstInstrument& instrument);
    bool ListPrograms(CVstInstrument& instrument);
    bool ListParameters(CVstInstrument& instrument);
    // The --set options, on the instance's current program.
    bool ApplySettings(CVstInstrument& instrument);
    bool SaveState(CVstInstrument& instrument, const std::string& path, CPresetFile::Kind kind);
    // Renders a sequence into one file. program >= 0 puts every channel on it.
    bool Render(const CSequence& sequence, const std::string& path, int32_t program, bool showProgress, Result& result);
    bool RenderEachProgram(CVstInstrument& setup);
    void PrintSummary(const std::string& path, const Result& result) const;
    bool Fail(const std::string& message);
    void Warn(const std::string& message);

    CRenderOptions options;
    std::string pluginPath;
    CSequence song;
    CPresetFile bank;
    CPresetFile preset;
    int32_t fixedProgram = -1;  // from --program, once resolved
    bool progressBar = false;
};
