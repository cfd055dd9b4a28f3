#include "CRenderOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace
{
bool ParseInteger(const std::string& text, long min, long max, int32_t& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != 0 || parsed < min || parsed > max)
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool ParseSeconds(const std::string& text, double max, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    if (*end != 0 || !std::isfinite(parsed) || parsed < 0.0 || parsed > max)
        return false;
    value = parsed;
    return true;
}
}

const char* CRenderOptions::HelpText()
{
    return "Usage: velmora-render [options] [SONG.mid]\n"
           "\n"
           "Renders a Standard MIDI File (format 0 or 1), or without one the built-in\n"
           "demo song, through a VST 2.4 instrument into a WAV or FLAC file. Every MIDI\n"
           "channel is played by an instance of its own and the instances are mixed.\n"
           "\n"
           "Output:\n"
           "  -o, --output FILE       write the render to FILE (.wav or .flac)\n"
           "      --format wav|flac   the container, when the file name does not tell it\n"
           "      --bits 16|24|32     16 or 24-bit integer, or 32-bit float (WAV only);\n"
           "                          default 24\n"
           "      --rate HZ           sample rate, 8000 to 192000; default 44100\n"
           "      --block FRAMES      frames per block, 1 to 8192; default 256\n"
           "      --tail SECONDS      longest release tail after the song, 0 to 600;\n"
           "                          default 20 (the render stops earlier once silent)\n"
           "\n"
           "Instrument:\n"
           "      --plugin PATH       the VST 2.4 instrument; default: velmora.so beside\n"
           "                          this program\n"
           "      --program N|NAME    play every channel on this program (a number from 0,\n"
           "                          or a name); the song's program changes are ignored\n"
           "      --bank FILE         load a bank (.fxb) into every instance first\n"
           "      --preset FILE       load a preset (.fxp) into the current program; the\n"
           "                          song's program changes are ignored\n"
           "      --save-bank FILE    write the instrument's bank, after the options above\n"
           "      --save-preset FILE  write the instrument's current program\n"
           "      --list-programs     print the instrument's programs\n"
           "      --set NAME=VALUE    set a parameter of the current program, after the\n"
           "                          options above; VALUE in the units of its knob, as\n"
           "                          --list-parameters shows them (repeatable); the\n"
           "                          song's program changes are ignored\n"
           "      --list-parameters   print the instrument's parameters: index, name,\n"
           "                          range, default and unit\n"
           "      --each-program DIR  render the song, or without one a short phrase,\n"
           "                          through every program, one file each in DIR\n"
           "\n"
           "  -h, --help              show this help\n"
           "      --version           show the version\n"
           "\n"
           "Errors are reported on one line and end the program with status 1 (2 for a\n"
           "wrong command line). Output files appear only when complete.\n";
}

bool CRenderOptions::Fail(const std::string& message)
{
    error = message;
    return false;
}

bool CRenderOptions::Parse(int argc, const char* const* argv)
{
    error.clear();
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        auto value = [&](std::string& target)
        {
            if (i + 1 >= argc)
                return Fail("option " + option + " needs a value");
            target = argv[++i];
            if (target.empty())
                return Fail("option " + option + " needs a value");
            return true;
        };
        std::string text;

        if (option == "-h" || option == "--help")
            help = true;
        else if (option == "--version")
            version = true;
        else if (option == "--list-programs")
            listPrograms = true;
        else if (option == "--list-parameters")
            listParameters = true;
        else if (option == "--set")
        {
            if (!value(text))
                return false;
            const size_t equals = text.find('=');
            if (equals == std::string::npos || equals == 0 || equals + 1 == text.size())
                return Fail("--set takes NAME=VALUE, not \"" + text + "\"");
            settings.push_back({text.substr(0, equals), text.substr(equals + 1)});
        }
        else if (option == "-o" || option == "--output")
        {
            if (!value(output))
                return false;
        }
        else if (option == "--format")
        {
            if (!value(text))
                return false;
            if (text == "wav")
                container = CSoundFileWriter::Wav;
            else if (text == "flac")
                container = CSoundFileWriter::Flac;
            else
                return Fail("unknown format \"" + text + "\" (use wav or flac)");
            formatGiven = true;
        }
        else if (option == "--bits")
        {
            if (!value(text))
                return false;
            if (text == "16")
                encoding = CSoundFileWriter::Pcm16;
            else if (text == "24")
                encoding = CSoundFileWriter::Pcm24;
            else if (text == "32")
                encoding = CSoundFileWriter::Float32;
            else
                return Fail("--bits takes 16, 24 or 32, not \"" + text + "\"");
        }
        else if (option == "--rate")
        {
            if (!value(text))
                return false;
            if (!ParseInteger(text, kMinRate, kMaxRate, sampleRate))
                return Fail("--rate takes a sample rate from 8000 to 192000, not \"" + text + "\"");
        }
        else if (option == "--block")
        {
            if (!value(text))
                return false;
            if (!ParseInteger(text, 1, kMaxBlock, blockSize))
                return Fail("--block takes 1 to 8192 frames, not \"" + text + "\"");
        }
        else if (option == "--tail")
        {
            if (!value(text))
                return false;
            if (!ParseSeconds(text, kMaxTailSeconds, tailSeconds))
                return Fail("--tail takes 0 to 600 seconds, not \"" + text + "\"");
        }
        else if (option == "--plugin")
        {
            if (!value(plugin))
                return false;
        }
        else if (option == "--program")
        {
            if (!value(program))
                return false;
        }
        else if (option == "--bank")
        {
            if (!value(bank))
                return false;
        }
        else if (option == "--preset")
        {
            if (!value(preset))
                return false;
        }
        else if (option == "--save-bank")
        {
            if (!value(saveBank))
                return false;
        }
        else if (option == "--save-preset")
        {
            if (!value(savePreset))
                return false;
        }
        else if (option == "--each-program")
        {
            if (!value(eachProgramFolder))
                return false;
        }
        else if (option.size() > 1 && option[0] == '-')
        {
            return Fail("unknown option " + option + " (see --help)");
        }
        else if (!input.empty())
        {
            return Fail("more than one song given (\"" + input + "\" and \"" + option + "\")");
        }
        else
        {
            input = option;
        }
    }
    if (help || version)
        return true;

    if (!output.empty() && !formatGiven && !CSoundFileWriter::ContainerFromName(output, container))
        return Fail("cannot tell the format of " + output + " from its name: use .wav or .flac, or --format");
    if (container == CSoundFileWriter::Flac && encoding == CSoundFileWriter::Float32)
        return Fail("FLAC holds 16 or 24 bits, not 32-bit float");
    if (output.empty() && eachProgramFolder.empty() && !listPrograms && !listParameters && saveBank.empty() &&
        savePreset.empty())
        return Fail("nothing to do: give an output file with -o (see --help)");
    return true;
}
