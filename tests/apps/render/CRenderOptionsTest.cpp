#include "CRenderOptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
bool ParseArgs(CRenderOptions& options, const std::vector<const char*>& args)
{
    std::vector<const char*> argv = {"velmora-render"};
    argv.insert(argv.end(), args.begin(), args.end());
    return options.Parse(static_cast<int>(argv.size()), argv.data());
}

std::string ErrorFor(const std::vector<const char*>& args)
{
    CRenderOptions options;
    EXPECT_FALSE(ParseArgs(options, args));
    return options.Error();
}
}

TEST(CRenderOptions, DefaultsRenderTheDemoAt44100In24Bits)
{
    CRenderOptions options;
    ASSERT_TRUE(ParseArgs(options, {"-o", "demo.wav"})) << options.Error();
    EXPECT_TRUE(options.input.empty());
    EXPECT_EQ(options.output, "demo.wav");
    EXPECT_EQ(options.container, CSoundFileWriter::Wav);
    EXPECT_EQ(options.encoding, CSoundFileWriter::Pcm24);
    EXPECT_EQ(options.sampleRate, 44100);
    EXPECT_EQ(options.blockSize, 256);
    EXPECT_EQ(options.tailSeconds, 20.0);
    EXPECT_TRUE(options.plugin.empty());
}

TEST(CRenderOptions, ReadsEveryValueOption)
{
    CRenderOptions options;
    ASSERT_TRUE(ParseArgs(options, {"song.mid", "--output", "out.bin", "--format", "flac", "--bits", "16", "--rate",
                                    "48000", "--block", "64", "--tail", "2.5", "--plugin", "x.so", "--program",
                                    "Soft Pad", "--bank", "a.fxb", "--preset", "b.fxp", "--save-bank", "c.fxb",
                                    "--save-preset", "d.fxp", "--each-program", "dir", "--list-programs"}))
        << options.Error();
    EXPECT_EQ(options.input, "song.mid");
    EXPECT_EQ(options.output, "out.bin");
    EXPECT_EQ(options.container, CSoundFileWriter::Flac);
    EXPECT_EQ(options.encoding, CSoundFileWriter::Pcm16);
    EXPECT_EQ(options.sampleRate, 48000);
    EXPECT_EQ(options.blockSize, 64);
    EXPECT_EQ(options.tailSeconds, 2.5);
    EXPECT_EQ(options.plugin, "x.so");
    EXPECT_EQ(options.program, "Soft Pad");
    EXPECT_EQ(options.bank, "a.fxb");
    EXPECT_EQ(options.preset, "b.fxp");
    EXPECT_EQ(options.saveBank, "c.fxb");
    EXPECT_EQ(options.savePreset, "d.fxp");
    EXPECT_EQ(options.eachProgramFolder, "dir");
    EXPECT_TRUE(options.listPrograms);
}

TEST(CRenderOptions, TheNameChoosesTheContainerAndHelpOrAListingIsEnough)
{
    CRenderOptions flac;
    ASSERT_TRUE(ParseArgs(flac, {"-o", "x.FLAC"}));
    EXPECT_EQ(flac.container, CSoundFileWriter::Flac);
    CRenderOptions floatWav;
    ASSERT_TRUE(ParseArgs(floatWav, {"-o", "x.wav", "--bits", "32"}));
    EXPECT_EQ(floatWav.encoding, CSoundFileWriter::Float32);
    CRenderOptions listing;
    EXPECT_TRUE(ParseArgs(listing, {"--list-programs"}));
    CRenderOptions help;
    EXPECT_TRUE(ParseArgs(help, {"--help"}));
    EXPECT_TRUE(help.help);
}

TEST(CRenderOptions, RefusesUnknownOptionsAndBadValues)
{
    const char* const nothing = "nothing to do: give an output file with -o (see --help)";
    const struct
    {
        std::vector<const char*> args;
        const char* error;
    } cases[] = {
        {{"--bogus"}, "unknown option --bogus (see --help)"},
        {{"-o"}, "option -o needs a value"},
        {{"-o", ""}, "option -o needs a value"},
        {{"-o", "x.wav", "--rate", "7999"}, "--rate takes a sample rate from 8000 to 192000, not \"7999\""},
        {{"-o", "x.wav", "--rate", "44100Hz"}, "--rate takes a sample rate from 8000 to 192000, not \"44100Hz\""},
        {{"-o", "x.wav", "--block", "0"}, "--block takes 1 to 8192 frames, not \"0\""},
        {{"-o", "x.wav", "--block", "8193"}, "--block takes 1 to 8192 frames, not \"8193\""},
        {{"-o", "x.wav", "--tail", "-1"}, "--tail takes 0 to 600 seconds, not \"-1\""},
        {{"-o", "x.wav", "--tail", "nan"}, "--tail takes 0 to 600 seconds, not \"nan\""},
        {{"-o", "x.wav", "--bits", "8"}, "--bits takes 16, 24 or 32, not \"8\""},
        {{"-o", "x.wav", "--format", "ogg"}, "unknown format \"ogg\" (use wav or flac)"},
        {{"a.mid", "b.mid", "-o", "x.wav"}, "more than one song given (\"a.mid\" and \"b.mid\")"},
        {{"-o", "x.mp3"}, "cannot tell the format of x.mp3 from its name: use .wav or .flac, or --format"},
        {{"-o", "x.flac", "--bits", "32"}, "FLAC holds 16 or 24 bits, not 32-bit float"},
        {{}, nothing},
        {{"song.mid"}, nothing},
        // Settings alone give nothing to do.
        {{"--set", "Filter Cutoff=30"}, nothing},
        {{"--set", "Filter Cutoff", "-o", "x.wav"}, "--set takes NAME=VALUE, not \"Filter Cutoff\""},
        {{"--set", "=30", "-o", "x.wav"}, "--set takes NAME=VALUE, not \"=30\""},
        {{"--set", "Filter Cutoff=", "-o", "x.wav"}, "--set takes NAME=VALUE, not \"Filter Cutoff=\""},
        {{"-o", "x.wav", "--set"}, "option --set needs a value"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorFor(c.args), c.error);
}

TEST(CRenderOptions, SettingsKeepTheirOrderAndSplitAtTheFirstEquals)
{
    CRenderOptions options;
    ASSERT_TRUE(ParseArgs(options, {"--set", "Filter Cutoff=30", "--list-parameters", "--set", "X=a=b", "--set",
                                    "Filter Cutoff=40"}))
        << options.Error();
    EXPECT_TRUE(options.listParameters);
    ASSERT_EQ(options.settings.size(), 3u);
    EXPECT_EQ(options.settings[0].name, "Filter Cutoff");
    EXPECT_EQ(options.settings[0].value, "30");
    EXPECT_EQ(options.settings[1].name, "X");
    EXPECT_EQ(options.settings[1].value, "a=b");
    EXPECT_EQ(options.settings[2].value, "40");
}
