// The render tool as a user runs it: the built program, its exit status,
// its messages and the files it leaves behind.
#include "io/CMemoryStream.h"
#include "io/CPresetFile.h"
#include "synth/CSynth.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
struct Outcome
{
    int status;
    std::string out;
    std::string err;
};

// Runs the tool with arguments (already quoted where needed) in a scratch folder.
Outcome RunTool(const TempDir& dir, const std::string& arguments)
{
    const std::string out = dir.File("stdout.txt");
    const std::string err = dir.File("stderr.txt");
    const std::string command = std::string("'") + RENDER_TOOL + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    Outcome outcome = {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempDir::Read(out), TempDir::Read(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return outcome;
}

std::string Quote(const std::string& path)
{
    return "'" + path + "'";
}

const std::string kGate = std::string("--plugin '") + FIXTURE_GATE + "' ";

CPresetFile LoadPresetFile(const std::string& path)
{
    CPresetFile file;
    EXPECT_TRUE(file.LoadFile(path)) << path << ": " << file.Error();
    return file;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Format 1, 480 ticks per quarter at 120 BPM (a tick is 1/960 s). Track 2 plays
// channel 1 from 0.25 s to 0.75 s; track 3 selects program 3 on channel 2 and
// plays it from 0.5 s without ever releasing it.
std::string GateSong()
{
    const std::vector<uint8_t> bytes = {
        'M', 'T', 'h', 'd',  0,    0,    0,    6,    0,    1,    0,    3,    0x01, 0xE0, 'M',  'T',  'r',  'k',  0,
        0,   0,   11,  0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00, 'M',  'T',  'r',  'k',  0,
        0,   0,   14,  0x81, 0x70, 0x90, 60,   100,  0x83, 0x60, 0x80, 60,   0,    0x00, 0xFF, 0x2F, 0x00, 'M',  'T',
        'r', 'k', 0,   0,    0,    12,   0x00, 0xC1, 3,    0x83, 0x60, 0x91, 64,   100,  0x00, 0xFF, 0x2F, 0x00,
    };
    return std::string(bytes.begin(), bytes.end());
}

std::vector<float> ReadFloats(const std::string& path, SF_INFO& info)
{
    info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(file, nullptr) << path;
    if (!file)
        return {};
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);
    return samples;
}

// The right channel of the first frame of a gate render: 0.001 per program per channel.
float FirstRightSample(const std::string& path)
{
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(path, info);
    return samples.size() > 1 ? samples[1] : -1.0f;
}
}

// A wrong command line exits with 2, files, plug-ins, programs and settings
// that do not fit each other with 1; none leaves an output.
TEST(CRenderTool, RefusalsExitWithTheirStatusAndMessage)
{
    TempDir dir;
    const std::string out = " -o " + Quote(dir.File("out.wav"));
    const std::string ours = (std::filesystem::path(RENDER_TOOL).parent_path() / "velmora.so").string();
    CPresetFile gateBank;
    gateBank.kind = CPresetFile::Bank;
    gateBank.pluginId = 0x66697874;  // "fixt"
    gateBank.chunk = {'G', 'B', 1};
    const std::string bank = dir.File("gate.fxb");
    ASSERT_TRUE(gateBank.SaveFile(bank));
    CPresetFile gatePreset = gateBank;
    gatePreset.kind = CPresetFile::Preset;
    gatePreset.chunk = {'G', 'P', 1};
    const std::string preset = dir.File("gate.fxp");
    ASSERT_TRUE(gatePreset.SaveFile(preset));
    const struct
    {
        std::string arguments;
        int status;
        std::string error;  // after "velmora-render: "
    } cases[] = {
        {"--bogus", 2, "unknown option --bogus (see --help)"},
        {"--bank " + Quote(dir.File("none.fxb")) + out, 1, dir.File("none.fxb") + ": no such file"},
        {"--bank " + Quote(bank) + out, 1, bank + ": saved by the plug-in \"fixt\", not by \"vlm1\""},
        {kGate + "--bank " + Quote(preset) + out, 1, preset + ": a preset file, not a bank"},
        {"--plugin '" + std::string(FIXTURE_NAN) + "' --preset " + Quote(preset) + out, 1,
         preset + ": " + FIXTURE_NAN + " keeps no chunk data, so it cannot load this file"},
        {kGate + "--program 4" + out, 1,
         std::string("program 4 does not exist (") + FIXTURE_GATE + " has programs 0 to 3)"},
        {kGate + "--program Lead" + out, 1,
         std::string("no program named \"Lead\" in ") + FIXTURE_GATE + " (see --list-programs)"},
        {"--set 'Filter Cut=30'" + out, 1, "no parameter named \"Filter Cut\" in " + ours + " (see --list-parameters)"},
        {"--set 'Filter Cutoff=300'" + out, 1, "Filter Cutoff cannot be set to \"300\" (it takes 0 to 100 %)"},
        {"--set 'LFO1 Wave=SAW2'" + out, 1,
         "LFO1 Wave cannot be set to \"SAW2\" (it takes one of SIN, TRI, SAW, SQUARE, RND)"},
    };
    for (const auto& c : cases)
    {
        const Outcome outcome = RunTool(dir, c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments;
        EXPECT_EQ(outcome.err, "velmora-render: " + c.error + "\n");
        EXPECT_TRUE(outcome.out.empty()) << c.arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));
}

TEST(CRenderTool, MidiReachesThePluginOnTheExactSample)
{
    TempDir dir;
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("gate.wav");
    const Outcome outcome =
        RunTool(dir, kGate + Quote(song) + " -o " + Quote(out) + " --bits 32 --rate 8000 --block 100 --tail 0.5");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.rfind("Wrote " + out + ": ", 0), 0u) << outcome.out;
    EXPECT_NE(outcome.out.find(", 8000 Hz, WAV 32-bit float, peak "), std::string::npos) << outcome.out;

    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    EXPECT_EQ(info.samplerate, 8000);
    ASSERT_EQ(info.channels, 2);
    // Each channel's instance plays its own notes, mixed: channel 1 from
    // frame 2000, channel 2 from frame 4000.
    EXPECT_EQ(samples[2 * 1999], 0.0f);
    EXPECT_EQ(samples[2 * 2000], 0.125f);
    EXPECT_EQ(samples[2 * 3999], 0.125f);
    EXPECT_EQ(samples[2 * 4000], 0.25f);
    // Channel 2's instance was switched to program 3 at the start.
    EXPECT_EQ(samples[1], 0.003f);
    // The right channel never falls silent: the tail ends 0.5 s after the song.
    EXPECT_EQ(info.frames, 6000 + 4000);

    // A program chosen by (case-blind) name overrides the song's change: 0.002 on both channels.
    ASSERT_EQ(RunTool(dir, kGate + Quote(song) + " -o " + Quote(out) + " --bits 32 --tail 0 --program 'gate 2'").status,
              0);
    EXPECT_EQ(FirstRightSample(out), 0.004f);
}

TEST(CRenderTool, AFailedRenderLeavesTheOlderFileAndNoTemporary)
{
    TempDir dir;
    const std::string out = dir.Write("keep.wav", "an older render");
    const std::string song = dir.Write("gate.mid", GateSong());
    const Outcome outcome =
        RunTool(dir, std::string("--plugin '") + FIXTURE_NAN + "' " + Quote(song) + " -o " + Quote(out));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-render: " + out +
                               ": the instrument produced an invalid sample (not a finite number) at frame 0\n");
    EXPECT_EQ(TempDir::Read(out), "an older render");
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"gate.mid", "keep.wav"}));
}

TEST(CRenderTool, InterruptedRenderLeavesNoTemporaryFile)
{
    for (int signal : {SIGINT, SIGTERM})
    {
        TempDir dir;
        const std::string output = dir.File("demo.wav");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            // A high rate makes the render last long enough to be caught.
            ::execl(RENDER_TOOL, RENDER_TOOL, "--rate", "192000", "-o", output.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        bool started = false;
        for (int wait = 0; wait < 20000 && !started; ++wait)
        {
            started = FilesIn(dir.Path()).size() == 1;
            if (!started)
                ::usleep(1000);
        }
        ::kill(child, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(started) << "no temporary file appeared";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the render ended before the signal";
        EXPECT_EQ(WTERMSIG(status), signal);
        EXPECT_TRUE(FilesIn(dir.Path()).empty());
    }
}

TEST(CRenderTool, BankAndPresetFilesCarryThePluginsChunks)
{
    TempDir dir;
    const std::string bankPath = dir.File("gate.fxb");
    const std::string presetPath = dir.File("gate.fxp");
    Outcome outcome =
        RunTool(dir, kGate + "--program 2 --save-bank " + Quote(bankPath) + " --save-preset " + Quote(presetPath));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.empty());

    const CPresetFile bank = LoadPresetFile(bankPath);
    EXPECT_EQ(CPresetFile::IdText(bank.pluginId), "fixt");
    EXPECT_EQ(bank.count, 4);
    EXPECT_EQ(bank.currentProgram, 2);
    EXPECT_EQ(bank.chunk, (std::vector<uint8_t>{'G', 'B', 2}));
    const CPresetFile preset = LoadPresetFile(presetPath);
    EXPECT_EQ(preset.programName, "Gate 2");
    EXPECT_EQ(preset.chunk, (std::vector<uint8_t>{'G', 'P', 2}));

    // Loading the bank reaches the plug-in: it lists program 2 as current.
    outcome = RunTool(dir, kGate + "--bank " + Quote(bankPath) + " --list-programs");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "  0  Gate 0\n  1  Gate 1\n  2* Gate 2\n  3  Gate 3\n");

    // The preset too, and it fixes the program of every channel of the song.
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("out.wav");
    outcome = RunTool(dir, kGate + "--preset " + Quote(presetPath) + " " + Quote(song) + " --bits 32 --tail 0 -o " +
                               Quote(out));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FirstRightSample(out), 0.004f);
}

TEST(CRenderTool, EachProgramWritesOneFilePerProgram)
{
    TempDir dir;
    const std::string folder = dir.File("programs");
    const Outcome outcome =
        RunTool(dir, kGate + "--each-program " + Quote(folder) + " --rate 8000 --tail 0 --format flac --bits 16");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FilesIn(folder),
              (std::vector<std::string>{"00-gate-0.flac", "01-gate-1.flac", "02-gate-2.flac", "03-gate-3.flac"}));
    EXPECT_NEAR(FirstRightSample(folder + "/03-gate-3.flac"), 0.003f, 1.0f / 32768.0f);
}

TEST(CRenderTool, SetChangesTheCurrentProgramBeforeItIsSavedOrRendered)
{
    TempDir dir;
    const std::string presetPath = dir.File("set.fxp");
    Outcome outcome = RunTool(dir, "--program 4 --set 'Filter Cutoff=30' --set 'oscillators wave2=pm' --set "
                                   "'Chorus Delay= 35 ms' --save-preset " +
                                       Quote(presetPath));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    // The program the preset holds, as our synth reads it.
    const CPresetFile preset = LoadPresetFile(presetPath);
    CMemoryStream stream;
    stream.Write(preset.chunk.data(), static_cast<int32_t>(preset.chunk.size()));
    stream.Seek(0, CStream::FromStart);
    CSynth synth;
    synth.LoadState(&stream, true);
    EXPECT_EQ(synth.currentProgram->cutoff, 0.3f);
    EXPECT_EQ(synth.currentProgram->wave2, 3);
    EXPECT_EQ(synth.currentProgram->chorusDelay, 35);

    // Every instance of a render plays the setting, the song's change of
    // program on channel 2 ignored: no volume, no sound.
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("quiet.wav");
    outcome = RunTool(dir, Quote(song) + " -o " + Quote(out) + " --bits 32 --tail 0 --set 'Master Volume=0'");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 0.0f);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), 0.0f);
    EXPECT_NE(outcome.out.find("peak -inf dBFS"), std::string::npos) << outcome.out;
}
