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
        {{"-o", "x.FLAC", "--bits", "32"}, "FLAC holds 16 or 24 bits, not 32-bit float"},
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

// Each setting splits at its first "=" and keeps its place.
TEST(CRenderOptions, SettingsKeepTheirOrderAndSplitAtTheFirstEquals)
{
    CRenderOptions options;
    ASSERT_TRUE(ParseArgs(options, {"--set", "X=a=b", "--list-parameters", "--set", "Y=1"})) << options.Error();
    ASSERT_EQ(options.settings.size(), 2u);
    EXPECT_EQ(options.settings[0].name + "|" + options.settings[0].value, "X|a=b");
    EXPECT_EQ(options.settings[1].name + "|" + options.settings[1].value, "Y|1");
}
