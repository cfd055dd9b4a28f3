// The render tool as a user runs it: the built program, its exit status,
// its messages and the files it leaves behind.
#include "io/CFileStream.h"
#include "io/CMemoryStream.h"
#include "io/CPresetFile.h"
#include "synth/CSynth.h"
#include "synth/ParameterTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
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

bool LoadFile(const std::string& path, CPresetFile& file)
{
    CFileStream stream(path.c_str(), CFileStream::ReadOnly);
    return file.Load(stream);
}

std::string Quote(const std::string& path)
{
    return "'" + path + "'";
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string MidiBytes(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Format 1, 480 ticks per quarter at 120 BPM (a tick is 1/960 s). Track 2 plays
// channel 1 from 0.25 s to 0.75 s; track 3 selects program 3 on channel 2 and
// plays it from 0.5 s without ever releasing it.
std::string GateSong()
{
    const std::vector<uint8_t> bytes = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 3, 0x01, 0xE0,
        'M', 'T', 'r', 'k', 0, 0, 0, 11, 0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00,
        'M', 'T', 'r', 'k', 0, 0, 0, 14, 0x81, 0x70, 0x90, 60, 100, 0x83, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00,
        'M', 'T', 'r', 'k', 0, 0, 0, 12, 0x00, 0xC1, 3, 0x83, 0x60, 0x91, 64, 100, 0x00, 0xFF, 0x2F, 0x00,
    };
    return MidiBytes(bytes);
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
}

TEST(CRenderTool, HelpListsEveryOption)
{
    TempDir dir;
    const Outcome outcome = RunTool(dir, "--help");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_TRUE(outcome.err.empty());
    for (const char* option : {"--output", "--format", "--bits", "--rate", "--block", "--tail", "--plugin",
                               "--program", "--bank", "--preset", "--save-bank", "--save-preset", "--list-programs",
                               "--each-program", "--set", "--list-parameters", "--help", "--version"})
        EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
}

TEST(CRenderTool, VersionIsOneLine)
{
    TempDir dir;
    const Outcome outcome = RunTool(dir, "--version");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "velmora-render 1.2\n");
}

// Wrong command lines exit with 2, bad songs and plug-ins with 1; none leaves an output.
TEST(CRenderTool, RefusalsExitWithTheirStatusAndMessage)
{
    TempDir dir;
    const std::string out = " -o " + Quote(dir.File("out.wav"));
    const std::string text = dir.Write("text.mid", "this is not music");
    const std::string song = GateSong();
    const std::string cut = dir.Write("cut.mid", song.substr(0, song.size() - 5));
    const std::string fake = dir.Write("fake.so", "not a library");
    const std::string noEntry = FIXTURE_NOENTRY;
    const std::string effect = FIXTURE_EFFECT;
    const struct
    {
        std::string arguments;
        int status;
        std::string error;  // after "velmora-render: "; a line, or the start of one where it ends in "("
    } cases[] = {
        {"--bogus", 2, "unknown option --bogus (see --help)\n"},
        {"", 2, "nothing to do: give an output file with -o (see --help)\n"},
        {Quote(dir.File("missing.mid")) + out, 1, dir.File("missing.mid") + ": cannot open the file\n"},
        {Quote(text) + out, 1, text + ": not a MIDI file (no \"MThd\" header)\n"},
        {Quote(cut) + out, 1, cut + ": track 3 is truncated: its header says 12 bytes, 7 remain\n"},
        {"--plugin " + Quote(fake) + out, 1, fake + ": not a VST 2.4 plug-in ("},
        {"--plugin " + Quote(noEntry) + out, 1,
         noEntry + ": not a VST 2.4 plug-in (the library exports neither VSTPluginMain nor main)\n"},
        {"--plugin " + Quote(effect) + out, 1, effect + ": a VST 2.4 effect, not an instrument\n"},
        {"--plugin " + Quote(dir.File("none.so")) + out, 1, dir.File("none.so") + ": no such file\n"},
        {"--plugin / " + out, 1, "/: not a file\n"},
    };
    for (const auto& c : cases)
    {
        const Outcome outcome = RunTool(dir, c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments;
        const std::string expected = "velmora-render: " + c.error;
        if (c.error.back() == '(')
            EXPECT_EQ(outcome.err.rfind(expected, 0), 0u) << outcome.err;
        else
            EXPECT_EQ(outcome.err, expected);
        EXPECT_TRUE(outcome.out.empty()) << c.arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));
}

TEST(CRenderTool, MidiReachesThePluginOnTheExactSample)
{
    TempDir dir;
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("gate.wav");
    const Outcome outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' " + Quote(song) + " -o " +
                                             Quote(out) + " --bits 32 --rate 8000 --block 100 --tail 0.5");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.rfind("Wrote " + out + ": ", 0), 0u) << outcome.out;
    EXPECT_NE(outcome.out.find(", 8000 Hz, WAV 32-bit float, peak "), std::string::npos) << outcome.out;

    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    EXPECT_EQ(info.samplerate, 8000);
    ASSERT_EQ(info.channels, 2);
    auto left = [&](size_t frame) { return samples[2 * frame]; };
    auto right = [&](size_t frame) { return samples[2 * frame + 1]; };
    EXPECT_EQ(left(1999), 0.0f);
    EXPECT_EQ(left(2000), 0.125f);
    EXPECT_EQ(left(3999), 0.125f);
    EXPECT_EQ(left(4000), 0.25f);
    EXPECT_EQ(left(5999), 0.25f);
    // The song ends at 0.75 s (frame 6000) with channel 1's note-off; channel
    // 2's note, never released by the song, is released there too.
    EXPECT_EQ(left(6000), 0.0f);
    // Channel 2's instance was switched to program 3 at the start.
    EXPECT_EQ(right(0), 0.003f);
    // The right channel never falls silent, so the 0.5 s tail cap ends the
    // render 4000 frames after the song.
    EXPECT_EQ(info.frames, 10000);
}

TEST(CRenderTool, ProgramOptionOverridesTheSongsProgramChanges)
{
    TempDir dir;
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("gate.wav");
    Outcome outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' " + Quote(song) + " -o " +
                                       Quote(out) + " --bits 32 --rate 8000 --tail 0 --program 'gate 2'");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    ASSERT_GT(samples.size(), 2u);
    // Both channels' instances on program 2: 0.002 each.
    EXPECT_EQ(samples[1], 0.004f);

    outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' --list-programs");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.out, "  0* Gate 0\n  1  Gate 1\n  2  Gate 2\n  3  Gate 3\n");

    outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' -o " + Quote(out) + " --program 4");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, std::string("velmora-render: program 4 does not exist (") + FIXTURE_GATE +
                               " has programs 0 to 3)\n");
    outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' -o " + Quote(out) + " --program Lead");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, std::string("velmora-render: no program named \"Lead\" in ") + FIXTURE_GATE +
                               " (see --list-programs)\n");
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
                               ": the instrument produced an invalid sample (not a finite number) at frame 11025\n");
    EXPECT_EQ(TempDir::Read(out), "an older render");
    EXPECT_EQ(FilesIn(dir.Path()), (std::vector<std::string>{"gate.mid", "keep.wav"}));
}

TEST(CRenderTool, BadBankFilesAreRefusedBeforeRendering)
{
    TempDir dir;
    const std::string out = dir.Write("keep.wav", "older");
    const std::string wrong = dir.Write("wrong.fxb", "RIFF and then some bytes");
    Outcome outcome = RunTool(dir, "--bank " + Quote(wrong) + " -o " + Quote(out));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-render: " + wrong + ": not a VST preset or bank file (no \"CcnK\" magic)\n");

    CPresetFile bank;
    bank.kind = CPresetFile::Bank;
    bank.chunk = {1, 2, 3, 4};
    const std::string cut = dir.File("cut.fxb");
    {
        CFileStream stream(cut.c_str(), CFileStream::Create);
        ASSERT_TRUE(bank.Save(stream));
        stream.Write("x", 1);
    }
    outcome = RunTool(dir, "--bank " + Quote(cut) + " -o " + Quote(out));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err,
              "velmora-render: " + cut + ": wrong size: the header says 156 bytes follow it, the file has 157\n");

    outcome = RunTool(dir, "--bank " + Quote(dir.File("none.fxb")) + " -o " + Quote(out));
    EXPECT_EQ(outcome.err, "velmora-render: " + dir.File("none.fxb") + ": no such file\n");
    EXPECT_EQ(TempDir::Read(out), "older");
}

TEST(CRenderTool, BanksAndPresetsRoundTripThroughThePlugin)
{
    TempDir dir;
    const std::string first = dir.File("first.fxb");
    const std::string second = dir.File("second.fxb");
    Outcome outcome = RunTool(dir, "--save-bank " + Quote(first));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    outcome = RunTool(dir, "--bank " + Quote(first) + " --save-bank " + Quote(second));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(TempDir::Read(first), TempDir::Read(second));

    CPresetFile bank;
    ASSERT_TRUE(LoadFile(first, bank)) << bank.Error();
    EXPECT_EQ(bank.kind, CPresetFile::Bank);
    EXPECT_EQ(CPresetFile::IdText(bank.pluginId), "vlm1");
    EXPECT_EQ(bank.count, 64);
    EXPECT_FALSE(bank.chunk.empty());

    // A preset saved from program 5 names it and holds a program chunk.
    const std::string preset = dir.File("five.fxp");
    outcome = RunTool(dir, "--program 5 --save-preset " + Quote(preset) + " --list-programs");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    std::istringstream listing(outcome.out);
    std::string line;
    int lines = 0;
    std::string fifth;
    while (std::getline(listing, line))
        if (lines++ == 5)
            fifth = line;
    EXPECT_EQ(lines, 64);
    ASSERT_GE(fifth.size(), 5u);
    EXPECT_EQ(fifth.substr(0, 5), "  5* ");
    CPresetFile program;
    ASSERT_TRUE(LoadFile(preset, program)) << program.Error();
    EXPECT_EQ(program.kind, CPresetFile::Preset);
    EXPECT_EQ(program.programName, fifth.substr(5));
    EXPECT_LT(program.chunk.size(), bank.chunk.size());
}

TEST(CRenderTool, BankAndPresetFilesCarryThePluginsChunks)
{
    TempDir dir;
    const std::string gate = std::string("--plugin '") + FIXTURE_GATE + "' ";
    const std::string bankPath = dir.File("gate.fxb");
    const std::string presetPath = dir.File("gate.fxp");
    Outcome outcome = RunTool(dir, gate + "--program 2 --save-bank " + Quote(bankPath) + " --save-preset " +
                                       Quote(presetPath));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.empty());

    CPresetFile bank;
    ASSERT_TRUE(LoadFile(bankPath, bank)) << bank.Error();
    EXPECT_EQ(bank.kind, CPresetFile::Bank);
    EXPECT_EQ(CPresetFile::IdText(bank.pluginId), "fixt");
    EXPECT_EQ(bank.pluginVersion, 1);
    EXPECT_EQ(bank.count, 4);
    EXPECT_EQ(bank.currentProgram, 2);
    EXPECT_EQ(bank.chunk, (std::vector<uint8_t>{'G', 'B', 2}));
    CPresetFile preset;
    ASSERT_TRUE(LoadFile(presetPath, preset)) << preset.Error();
    EXPECT_EQ(preset.kind, CPresetFile::Preset);
    EXPECT_EQ(preset.programName, "Gate 2");
    EXPECT_EQ(preset.chunk, (std::vector<uint8_t>{'G', 'P', 2}));

    // Loading the bank reaches the plug-in: it lists program 2 as current.
    outcome = RunTool(dir, gate + "--bank " + Quote(bankPath) + " --list-programs");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.substr(0, 20), "  0  Gate 0\n  1  Gat");
    EXPECT_NE(outcome.out.find("  2* Gate 2\n"), std::string::npos);

    // The preset too, and it fixes the program of every channel of the song.
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("out.wav");
    outcome = RunTool(dir, gate + "--preset " + Quote(presetPath) + " " + Quote(song) + " --bits 32 --tail 0 -o " +
                               Quote(out));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    ASSERT_GT(samples.size(), 2u);
    EXPECT_EQ(samples[1], 0.004f);

    // Files of another plug-in, or of the other kind, are refused.
    outcome = RunTool(dir, "--bank " + Quote(bankPath) + " --list-programs");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-render: " + bankPath + ": saved by the plug-in \"fixt\", not by \"vlm1\"\n");
    outcome = RunTool(dir, gate + "--bank " + Quote(presetPath) + " --list-programs");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-render: " + presetPath + ": a preset file, not a bank\n");
    outcome = RunTool(dir, "--plugin '" + std::string(FIXTURE_NAN) + "' --preset " + Quote(presetPath) +
                               " --list-programs");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "velmora-render: " + presetPath + ": " + FIXTURE_NAN +
                               " keeps no chunk data, so it cannot load this file\n");
}

TEST(CRenderTool, DemoRendersAreByteIdentical)
{
    TempDir dir;
    const std::string a = dir.File("a.flac");
    const std::string b = dir.File("b.flac");
    const std::string options = " --rate 8000 --tail 0";
    Outcome outcome = RunTool(dir, "-o " + Quote(a) + options);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    outcome = RunTool(dir, "-o " + Quote(b) + options);
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(TempDir::Read(a), TempDir::Read(b));
    SF_INFO info;
    ReadFloats(a, info);
    // 30 s of song at 8000 Hz end on frame 240000; the render stops with the
    // first whole block past it.
    EXPECT_EQ(info.frames, 240128);
    EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
}

TEST(CRenderTool, EachProgramWritesOneFilePerProgram)
{
    TempDir dir;
    const std::string folder = dir.File("programs");
    const Outcome outcome = RunTool(dir, std::string("--plugin '") + FIXTURE_GATE + "' --each-program " +
                                             Quote(folder) + " --rate 8000 --tail 0 --format flac --bits 16");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FilesIn(folder),
              (std::vector<std::string>{"00-gate-0.flac", "01-gate-1.flac", "02-gate-2.flac", "03-gate-3.flac"}));
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(folder + "/03-gate-3.flac", info);
    ASSERT_GT(samples.size(), 2u);
    EXPECT_NEAR(samples[1], 0.003f, 1.0f / 32768.0f);
}

// Ctrl-C or a kill in the middle of a render: the tool dies of the signal, as
// a shell expects, and takes its hidden temporary file with it.
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

namespace
{
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line))
        lines.push_back(line);
    return lines;
}

// The program a preset file holds, as our synth reads it.
SynthProgram PresetProgram(const std::string& path)
{
    CPresetFile file;
    EXPECT_TRUE(LoadFile(path, file)) << file.Error();
    CMemoryStream stream;
    stream.Write(file.chunk.data(), static_cast<int32_t>(file.chunk.size()));
    stream.Seek(0, CStream::FromStart);
    CSynth synth;
    synth.LoadState(&stream, true);
    return *synth.currentProgram;
}
}

TEST(CRenderTool, ListParametersGivesIndexNameRangeDefaultAndUnit)
{
    TempDir dir;
    const Outcome outcome = RunTool(dir, "--list-parameters");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.err.empty());
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), static_cast<size_t>(kParameterTableSize));
    EXPECT_EQ(lines[0], "  0  Oscillators Wave1         SAW|SQUARE|PULSE|PM|SAW2        default SAW");
    EXPECT_EQ(lines[13], " 13  Filter Cutoff             0..100                          default 100     %");
    EXPECT_EQ(lines[21], " 21  Master Mono               OFF|ON                          default OFF");
    EXPECT_EQ(lines[23], " 23  Master Coarse             -48..48                         default 0       st");
    EXPECT_EQ(lines[110], "110  Delay Time                1..32                           default 1");
}

TEST(CRenderTool, SetChangesTheCurrentProgramBeforeItIsSavedOrRendered)
{
    TempDir dir;
    const std::string preset = dir.File("set.fxp");
    Outcome outcome = RunTool(dir, "--program 4 --set 'Filter Cutoff=30' --set 'oscillators wave2=pm' --set "
                                   "'Chorus Delay= 35 ms' --save-preset " + Quote(preset));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const SynthProgram program = PresetProgram(preset);
    EXPECT_EQ(program.cutoff, 0.3f);
    EXPECT_EQ(program.wave2, 3);
    EXPECT_EQ(program.chorusDelay, 35);

    // Every instance of a render plays the setting, the song's change of
    // program on channel 2 ignored: no volume, no sound.
    const std::string song = dir.Write("gate.mid", GateSong());
    const std::string out = dir.File("quiet.wav");
    outcome = RunTool(dir, Quote(song) + " -o " + Quote(out) + " --bits 32 --rate 8000 --tail 0 --set 'Master Volume=0'");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    SF_INFO info;
    const std::vector<float> samples = ReadFloats(out, info);
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 0.0f);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), 0.0f);
    EXPECT_NE(outcome.out.find("peak -inf dBFS"), std::string::npos) << outcome.out;
}

TEST(CRenderTool, UnknownParametersAndBadValuesAreRefused)
{
    TempDir dir;
    const std::string out = " -o " + Quote(dir.File("out.wav"));
    const struct
    {
        std::string arguments;
        std::string error;
    } cases[] = {
        {"--set 'Filter Cut=30'", "no parameter named \"Filter Cut\" in "},
        {"--set 'Filter Cutoff=300'", "Filter Cutoff cannot be set to \"300\" (it takes 0 to 100 %)\n"},
        {"--set 'Filter Cutoff=loud'", "Filter Cutoff cannot be set to \"loud\" (it takes 0 to 100 %)\n"},
        {"--set 'LFO1 Wave=SAW2'", "LFO1 Wave cannot be set to \"SAW2\" (it takes one of SIN, TRI, SAW, SQUARE, RND)\n"},
    };
    for (const auto& c : cases)
    {
        const Outcome outcome = RunTool(dir, c.arguments + out);
        EXPECT_EQ(outcome.status, 1) << c.arguments;
        EXPECT_EQ(outcome.err.rfind("velmora-render: " + c.error, 0), 0u) << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << c.arguments;
    }
    const Outcome unknown = RunTool(dir, "--set 'Filter Cut=30'" + out);
    EXPECT_NE(unknown.err.find("velmora.so (see --list-parameters)\n"), std::string::npos) << unknown.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.wav")));
}
