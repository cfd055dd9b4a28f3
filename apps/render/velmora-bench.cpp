// velmora-bench: plays the same passages through our instrument and a peer
// VST 2.4 instrument in this one process, the two interleaved, several rounds,
// and prints the CPU seconds each spends per second of audio and their ratio:
// silent tails after a short note, held chords of 1, 8 and 32 notes, and each
// of our factory programs with 8 notes.
#include "CVstInstrument.h"

#include "io/CMemoryStream.h"
#include "synth/CSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int32_t kSampleRate = 44100;
constexpr int32_t kBlockSize = 256;
constexpr const char* kPeerDefault = "/usr/lib/vst/amsynth_vst.so";
constexpr int kVoiceCounts[] = {1, 8, 32};
constexpr int kVoiceCountsSize = 3;
constexpr int kTableVoices = 8;
constexpr double kShortNoteSeconds = 0.25;
// Untimed after the short note: longer than the longest reverb (10 s) plus
// its 2 s of idle detection.
constexpr double kTailSeconds = 15.0;
constexpr double kSilenceTargetPercent = 0.05;

struct Settings
{
    std::string plugin;
    std::string peer = kPeerDefault;
    std::string program;  // ours; empty: the full program below
    int rounds = 5;
    double seconds = 10.0;
    double tableSeconds = 2.0;
    bool table = true;
};

// What one render plays: voices notes struck at once (keys from C2 upwards
// in steps of two semitones), released after releaseSeconds (never when
// negative); the clock runs only over the last timedSeconds.
struct Passage
{
    int voices;
    double releaseSeconds;
    double untimedSeconds;
    double timedSeconds;
};

struct Measure
{
    double cpuPerAudioSecond;
    double levelDecibels;  // over the second half of the timed part
};

// Our whole instrument at work: a fresh polyphonic program (its envelopes
// sustain) with all six effects switched on, as a program chunk written by our
// own core.
std::vector<uint8_t> FullProgramChunk()
{
    CSynth synth;
    SynthProgram& program = *synth.currentProgram;
    // Defaults are laid over a cleared record (the factory program may be mono).
    program = SynthProgram{};
    InitProgram(program);
    program.fxWaveshape = 0.2f;
    program.fxChorus = 0.4f;
    program.fxPhaser = 0.3f;
    program.fxDelay = 0.35f;
    program.fxReverb = 0.4f;
    program.fxEq = 0.5f;
    CMemoryStream stream;
    synth.SaveState(&stream, true);
    if (stream.length <= 0)
        return {};
    return std::vector<uint8_t>(stream.Data(), stream.Data() + stream.length);
}

double ThreadCpuSeconds()
{
    timespec now = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Loads a fresh instance, sets its program (index >= 0) or chunk (not empty)
// untimed, then plays the passage; the clock reads twice, around the timed part.
class CBenchRun
{
public:
    bool Load(const std::string& path, int32_t program, const std::vector<uint8_t>& chunk)
    {
        if (!instrument.Load(path, kSampleRate, kBlockSize))
        {
            std::fprintf(stderr, "velmora-bench: %s\n", instrument.Error().c_str());
            return false;
        }
        if (program >= 0)
            instrument.SetProgram(program);
        if (!chunk.empty())
            instrument.Host().SetChunk(chunk, true);
        return true;
    }

    CVstInstrument& Instrument() { return instrument; }

    bool Play(const Passage& passage, Measure& measure)
    {
        const int64_t releaseFrame =
            passage.releaseSeconds < 0.0 ? -1 : static_cast<int64_t>(passage.releaseSeconds * kSampleRate);
        const int64_t timedFrom = static_cast<int64_t>(passage.untimedSeconds * kSampleRate);
        const int64_t timedFrames = static_cast<int64_t>(passage.timedSeconds * kSampleRate);
        for (int i = 0; i < passage.voices; ++i)
            instrument.QueueMidi(0, 0x90, static_cast<uint8_t>(36 + 2 * i), 100);
        int64_t position = 0;
        while (position < timedFrom)
            if (!Block(passage.voices, releaseFrame, position, false))
                return false;
        const double start = ThreadCpuSeconds();
        const int64_t levelFrom = timedFrom + timedFrames / 2;
        while (position < timedFrom + timedFrames)
            if (!Block(passage.voices, releaseFrame, position, position >= levelFrom))
                return false;
        const double cpu = ThreadCpuSeconds() - start;
        measure.cpuPerAudioSecond = cpu / passage.timedSeconds;
        measure.levelDecibels =
            count > 0 && sum > 0.0 ? 10.0 * std::log10(sum / static_cast<double>(count)) : -INFINITY;
        return true;
    }

private:
    bool Block(int voices, int64_t releaseFrame, int64_t& position, bool measureLevel)
    {
        if (releaseFrame >= position && releaseFrame < position + kBlockSize)
            for (int i = 0; i < voices; ++i)
                instrument.QueueMidi(static_cast<int32_t>(releaseFrame - position), 0x80,
                                     static_cast<uint8_t>(36 + 2 * i), 0);
        if (!instrument.Process(left, right, kBlockSize))
        {
            std::fprintf(stderr, "velmora-bench: the instrument failed to process a block\n");
            return false;
        }
        position += kBlockSize;
        if (measureLevel)
            for (int32_t i = 0; i < kBlockSize; ++i)
            {
                sum += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
                count += 2;
            }
        return true;
    }

    CVstInstrument instrument;
    float left[kBlockSize] = {};
    float right[kBlockSize] = {};
    double sum = 0.0;
    int64_t count = 0;
};

bool Run(const std::string& path, int32_t program, const std::vector<uint8_t>& chunk, const Passage& passage,
         Measure& measure)
{
    CBenchRun run;
    return run.Load(path, program, chunk) && run.Play(passage, measure);
}

// A chord that must sound in its second half: a silent one would compare nothing.
bool RunChord(const std::string& path, int32_t program, const std::vector<uint8_t>& chunk, const Passage& passage,
              Measure& measure)
{
    if (!Run(path, program, chunk, passage, measure))
        return false;
    if (!std::isfinite(measure.levelDecibels) || measure.levelDecibels < -90.0)
    {
        std::fprintf(stderr, "velmora-bench: %s is silent while %d notes are held; the comparison would mean nothing\n",
                     path.c_str(), passage.voices);
        return false;
    }
    return true;
}

// Our program by number or name; -1 with a message when there is none.
int32_t FindOurProgram(const std::string& path, const std::string& program)
{
    CVstInstrument instrument;
    if (!instrument.Load(path, kSampleRate, kBlockSize))
    {
        std::fprintf(stderr, "velmora-bench: %s\n", instrument.Error().c_str());
        return -1;
    }
    char* end = nullptr;
    const long number = std::strtol(program.c_str(), &end, 10);
    const int32_t index = *end == 0 ? static_cast<int32_t>(number) : instrument.FindProgram(program);
    if (index < 0 || index >= instrument.ProgramCount())
    {
        std::fprintf(stderr, "velmora-bench: %s has no program \"%s\"\n", path.c_str(), program.c_str());
        return -1;
    }
    return index;
}

std::vector<std::string> OurProgramNames(const std::string& path)
{
    CVstInstrument instrument;
    std::vector<std::string> names;
    if (instrument.Load(path, kSampleRate, kBlockSize))
        for (int32_t i = 0; i < instrument.ProgramCount(); ++i)
            names.push_back(instrument.ProgramName(i));
    return names;
}

std::string DefaultPlugin()
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "velmora.so";
    const std::string path(self, static_cast<size_t>(length));
    return path.substr(0, path.find_last_of('/') + 1) + "velmora.so";
}

int Usage(const char* message)
{
    if (message)
        std::fprintf(stderr, "velmora-bench: %s\n", message);
    std::fprintf(message ? stderr : stdout,
                 "Usage: velmora-bench [--quick] [--rounds N] [--no-table] [--plugin PATH] [--program N|NAME]\n"
                 "                     [--peer PATH]\n"
                 "\n"
                 "At 44100 Hz in 256-frame blocks, through our instrument (default: velmora.so\n"
                 "beside this program, on a fresh program with every effect on) and a peer\n"
                 "(default: %s), interleaved, prints the CPU seconds each\n"
                 "spends per second of audio; the best of the rounds counts:\n"
                 "  - silence: one short note, then %.0f s for its tails to die; ours only, as a\n"
                 "    share of one core (target below %.2f%%)\n"
                 "  - held chords of 1, 8 and 32 notes\n"
                 "  - each of our programs, as stored, with 8 notes (the peer on its first)\n"
                 "  --quick            one round of 2 s (0.5 s per program), to check that everything runs\n"
                 "  --rounds N         rounds of 10 s each (2 s per program), 1 to 100; default 5\n"
                 "  --no-table         leave out the per-program table\n"
                 "  --plugin PATH      our instrument from another file\n"
                 "  --program N|NAME   play one of our bank's programs, as stored, instead\n"
                 "  --peer PATH        the VST 2.4 instrument to compare with\n",
                 kPeerDefault, kTailSeconds, kSilenceTargetPercent);
    return message ? 2 : 0;
}

double Ratio(double ours, double peer)
{
    return peer > 0.0 ? ours / peer : INFINITY;
}

// Our programs at kTableVoices notes, each against the peer's default program
// played just before it; the peer's best over the whole table is the divisor.
bool PrintTable(const Settings& settings)
{
    const std::vector<std::string> names = OurProgramNames(settings.plugin);
    const int32_t programs = static_cast<int32_t>(names.size());
    std::vector<double> best(static_cast<size_t>(programs), INFINITY);
    double peerBest = INFINITY;
    const Passage passage = {kTableVoices, -1.0, 0.0, settings.tableSeconds};
    for (int round = 1; round <= settings.rounds; ++round)
        for (int32_t p = 0; p < programs; ++p)
        {
            Measure ours, peer;
            if (!Run(settings.peer, -1, {}, passage, peer) || !Run(settings.plugin, p, {}, passage, ours))
                return false;
            peerBest = std::min(peerBest, peer.cpuPerAudioSecond);
            best[static_cast<size_t>(p)] = std::min(best[static_cast<size_t>(p)], ours.cpuPerAudioSecond);
        }
    std::printf("\nour programs, %d notes, %.1f s each, best of %d round(s); peer %.5f CPU s/s\n", kTableVoices,
                settings.tableSeconds, settings.rounds, peerBest);
    std::printf("%-4s %-24s %12s %10s\n", "#", "program", "ours CPU s/s", "ours/peer");
    int32_t worst = 0;
    for (int32_t p = 0; p < programs; ++p)
    {
        const size_t i = static_cast<size_t>(p);
        std::printf("%-4d %-24s %12.5f %10.2f\n", p, names[i].c_str(), best[i], Ratio(best[i], peerBest));
        if (best[i] > best[static_cast<size_t>(worst)])
            worst = p;
    }
    if (programs > 0)
        std::printf("worst: %d \"%s\", ours/peer = %.2f\n", worst, names[static_cast<size_t>(worst)].c_str(),
                    Ratio(best[static_cast<size_t>(worst)], peerBest));
    return true;
}
}

int main(int argc, char** argv)
{
    Settings settings;
    settings.plugin = DefaultPlugin();
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "-h" || option == "--help")
            return Usage(nullptr);
        if (option == "--quick")
        {
            settings.rounds = 1;
            settings.seconds = 2.0;
            settings.tableSeconds = 0.5;
        }
        else if (option == "--rounds" && hasValue)
        {
            settings.rounds = std::atoi(argv[++i]);
            if (settings.rounds < 1 || settings.rounds > 100)
                return Usage("--rounds takes 1 to 100");
        }
        else if (option == "--no-table")
            settings.table = false;
        else if (option == "--plugin" && hasValue)
            settings.plugin = argv[++i];
        else if (option == "--program" && hasValue)
            settings.program = argv[++i];
        else if (option == "--peer" && hasValue)
            settings.peer = argv[++i];
        else
            return Usage(("unknown option or missing value: " + option).c_str());
    }

    int32_t program = -1;
    if (!settings.program.empty() && (program = FindOurProgram(settings.plugin, settings.program)) < 0)
        return 1;
    const std::vector<uint8_t> full = program < 0 ? FullProgramChunk() : std::vector<uint8_t>();
    if (program < 0 && full.empty())
    {
        std::fprintf(stderr, "velmora-bench: our core wrote no program chunk\n");
        return 1;
    }
    std::printf("ours: %s\n",
                program < 0 ? "a fresh program with all six effects on" : ("program " + settings.program).c_str());
    std::printf("%d round(s), %.0f s per render, %d Hz, %d-frame blocks\n", settings.rounds, settings.seconds,
                kSampleRate, kBlockSize);
    std::printf("%-6s %-7s %14s %14s %10s %10s\n", "round", "voices", "ours CPU s/s", "peer CPU s/s", "ours dB",
                "peer dB");
    const Passage silence = {1, kShortNoteSeconds, kTailSeconds, settings.seconds};
    double silenceBest = INFINITY;
    double best[kVoiceCountsSize][2];  // [voices][ours, peer]
    std::fill(&best[0][0], &best[0][0] + 2 * kVoiceCountsSize, INFINITY);
    for (int round = 1; round <= settings.rounds; ++round)
    {
        Measure quiet;
        if (!Run(settings.plugin, program, full, silence, quiet))
            return 1;
        silenceBest = std::min(silenceBest, quiet.cpuPerAudioSecond);
        std::printf("%-6d %-7d %14.7f %14s\n", round, 0, quiet.cpuPerAudioSecond, "-");
        for (int v = 0; v < kVoiceCountsSize; ++v)
        {
            const Passage chord = {kVoiceCounts[v], -1.0, 0.0, settings.seconds};
            Measure ours, peer;
            if (!RunChord(settings.plugin, program, full, chord, ours) || !RunChord(settings.peer, -1, {}, chord, peer))
                return 1;
            best[v][0] = std::min(best[v][0], ours.cpuPerAudioSecond);
            best[v][1] = std::min(best[v][1], peer.cpuPerAudioSecond);
            std::printf("%-6d %-7d %14.5f %14.5f %10.1f %10.1f\n", round, kVoiceCounts[v], ours.cpuPerAudioSecond,
                        peer.cpuPerAudioSecond, ours.levelDecibels, peer.levelDecibels);
        }
        std::fflush(stdout);
    }
    std::printf("\nours:  %s\npeer:  %s\n", settings.plugin.c_str(), settings.peer.c_str());
    std::printf(" 0 voices: ours %.4f%% of a core, %.0f s after a %.2f s note (target below %.2f%%)\n",
                100.0 * silenceBest, kTailSeconds, kShortNoteSeconds, kSilenceTargetPercent);
    for (int v = 0; v < kVoiceCountsSize; ++v)
        std::printf("%2d voices: ours %.5f, peer %.5f CPU s per audio s; ours/peer = %.2f\n", kVoiceCounts[v],
                    best[v][0], best[v][1], Ratio(best[v][0], best[v][1]));
    std::fflush(stdout);
    return settings.table && !PrintTable(settings) ? 1 : 0;
}
