// velmora-bench: renders the same dense passage through our instrument and a
// peer VST 2.4 instrument in this one process, several rounds, and prints the
// CPU seconds each spends per second of audio, and their ratio.
#include "CAudioSink.h"
#include "CRenderer.h"
#include "CSequence.h"
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
constexpr int kVoiceCounts[2] = {8, 32};

struct Settings
{
    std::string plugin;
    std::string peer = kPeerDefault;
    std::string program;  // ours; empty: the full program below
    int rounds = 5;
    double seconds = 10.0;
};

// Keeps nothing but the level of the passage's second half, to prove that
// the voices were still sounding.
class CLevelSink : public CAudioSink
{
public:
    explicit CLevelSink(int64_t from) : start(from) {}
    bool Write(const float* left, const float* right, int32_t frames) override
    {
        for (int32_t i = 0; i < frames; ++i, ++position)
            if (position >= start)
            {
                sum += static_cast<double>(left[i]) * left[i] + static_cast<double>(right[i]) * right[i];
                count += 2;
            }
        return true;
    }
    double RmsDecibels() const
    {
        return count > 0 && sum > 0.0 ? 10.0 * std::log10(sum / static_cast<double>(count)) : -INFINITY;
    }

private:
    int64_t start;
    int64_t position = 0;
    double sum = 0.0;
    int64_t count = 0;
};

// One chord of voices notes, struck at once and held for the whole passage.
// Keys are spread from C2 upwards in steps of two semitones.
CSequence Chord(int voices, double seconds)
{
    CSequence sequence;
    for (int i = 0; i < voices; ++i)
        sequence.Add(0.0, 0x90, static_cast<uint8_t>(36 + 2 * i), 100);
    sequence.lengthSeconds = seconds;
    return sequence;
}

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

struct Measure
{
    double cpuPerAudioSecond;
    double levelDecibels;
};

// Loads a fresh instance (not timed), then times the render alone.
bool Run(const std::string& path, const std::string& program, const std::vector<uint8_t>& chunk, int voices,
         double seconds, Measure& measure)
{
    CVstInstrument instrument;
    if (!instrument.Load(path, kSampleRate, kBlockSize))
    {
        std::fprintf(stderr, "velmora-bench: %s\n", instrument.Error().c_str());
        return false;
    }
    if (!program.empty())
    {
        char* end = nullptr;
        const long number = std::strtol(program.c_str(), &end, 10);
        const int32_t index = *end == 0 ? static_cast<int32_t>(number) : instrument.FindProgram(program);
        if (index < 0 || index >= instrument.ProgramCount())
        {
            std::fprintf(stderr, "velmora-bench: %s has no program \"%s\"\n", path.c_str(), program.c_str());
            return false;
        }
        instrument.SetProgram(index);
    }
    if (!chunk.empty())
        instrument.Host().SetChunk(chunk, true);
    CRenderer::Settings settings;
    settings.sampleRate = kSampleRate;
    settings.blockSize = kBlockSize;
    settings.maxTailSeconds = 0.0;
    CRenderer renderer(Chord(voices, seconds), settings);
    renderer.SetInstrument(0, &instrument);
    CLevelSink sink(static_cast<int64_t>(seconds * kSampleRate / 2));
    const double start = ThreadCpuSeconds();
    while (!renderer.Finished())
        if (!renderer.Step(sink))
        {
            std::fprintf(stderr, "velmora-bench: %s: %s\n", path.c_str(), renderer.Error().c_str());
            return false;
        }
    const double cpu = ThreadCpuSeconds() - start;
    measure.cpuPerAudioSecond = cpu / (static_cast<double>(renderer.FramesRendered()) / kSampleRate);
    measure.levelDecibels = sink.RmsDecibels();
    if (!std::isfinite(measure.levelDecibels) || measure.levelDecibels < -90.0)
    {
        std::fprintf(stderr, "velmora-bench: %s is silent while %d notes are held; the comparison would mean nothing\n",
                     path.c_str(), voices);
        return false;
    }
    return true;
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
                 "Usage: velmora-bench [--quick] [--rounds N] [--plugin PATH] [--program N|NAME] [--peer PATH]\n"
                 "\n"
                 "Renders a held chord of 8, then of 32 notes at 44100 Hz in 256-frame blocks\n"
                 "through our instrument (default: velmora.so beside this program, on a\n"
                 "fresh program with every effect on) and a peer\n"
                 "(default: %s), one after the other, and prints the\n"
                 "CPU seconds each spends per second of audio. The best of the rounds counts.\n"
                 "  --quick            one round of 2 seconds, to check that everything runs\n"
                 "  --rounds N         rounds of 10 seconds each, 1 to 100; default 5\n"
                 "  --plugin PATH      our instrument from another file\n"
                 "  --program N|NAME   play one of our bank's programs, as stored, instead\n"
                 "  --peer PATH        the VST 2.4 instrument to compare with\n",
                 kPeerDefault);
    return message ? 2 : 0;
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
        }
        else if (option == "--rounds" && hasValue)
        {
            settings.rounds = std::atoi(argv[++i]);
            if (settings.rounds < 1 || settings.rounds > 100)
                return Usage("--rounds takes 1 to 100");
        }
        else if (option == "--plugin" && hasValue)
            settings.plugin = argv[++i];
        else if (option == "--program" && hasValue)
            settings.program = argv[++i];
        else if (option == "--peer" && hasValue)
            settings.peer = argv[++i];
        else
            return Usage(("unknown option or missing value: " + option).c_str());
    }

    const std::vector<uint8_t> full = settings.program.empty() ? FullProgramChunk() : std::vector<uint8_t>();
    if (settings.program.empty() && full.empty())
    {
        std::fprintf(stderr, "velmora-bench: our core wrote no program chunk\n");
        return 1;
    }
    std::printf("ours: %s\n", settings.program.empty() ? "a fresh program with all six effects on"
                                                       : ("program " + settings.program).c_str());
    std::printf("%d round(s), %.0f s per render, %d Hz, %d-frame blocks\n", settings.rounds, settings.seconds,
                kSampleRate, kBlockSize);
    std::printf("%-6s %-7s %14s %14s %10s %10s\n", "round", "voices", "ours CPU s/s", "peer CPU s/s", "ours dB",
                "peer dB");
    double best[2][2] = {{INFINITY, INFINITY}, {INFINITY, INFINITY}};  // [voices][ours, peer]
    for (int round = 1; round <= settings.rounds; ++round)
        for (int v = 0; v < 2; ++v)
        {
            Measure ours, peer;
            if (!Run(settings.plugin, settings.program, full, kVoiceCounts[v], settings.seconds, ours) ||
                !Run(settings.peer, "", {}, kVoiceCounts[v], settings.seconds, peer))
                return 1;
            best[v][0] = std::min(best[v][0], ours.cpuPerAudioSecond);
            best[v][1] = std::min(best[v][1], peer.cpuPerAudioSecond);
            std::printf("%-6d %-7d %14.5f %14.5f %10.1f %10.1f\n", round, kVoiceCounts[v], ours.cpuPerAudioSecond,
                        peer.cpuPerAudioSecond, ours.levelDecibels, peer.levelDecibels);
            std::fflush(stdout);
        }
    std::printf("\nours:  %s\npeer:  %s\n", settings.plugin.c_str(), settings.peer.c_str());
    for (int v = 0; v < 2; ++v)
        std::printf("%2d voices: ours %.5f, peer %.5f CPU s per audio s; ours/peer = %.2f\n", kVoiceCounts[v],
                    best[v][0], best[v][1], best[v][0] / best[v][1]);
    return 0;
}
