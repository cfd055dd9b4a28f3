// Prints a summary of a fresh synthesizer's factory state, or writes the host
// chunks a fresh instance would give, or the bank and program files its
// editor would save:
//   velmora-info
//   velmora-info --programs
//   velmora-info --bank-chunk <file>
//   velmora-info --program-chunk <index 0..63> <file>
//   velmora-info --bank-file <file.fxb>
//   velmora-info --program-file <index 0..63> <file.fxp>
#include "io/CFileStream.h"
#include "io/HeapString.h"
#include "synth/CBankFiles.h"
#include "synth/CSynth.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

int Usage()
{
    std::fprintf(stderr,
                 "usage: velmora-info [--programs | --bank-chunk <file> | --program-chunk <index 0..63> <file> |\n"
                 "                     --bank-file <file.fxb> | --program-file <index 0..63> <file.fxp>]\n");
    return 2;
}

// Selects the program named by text; false (with a message) when it names none.
bool SelectProgram(CSynth& synth, const char* text)
{
    char* end = nullptr;
    const long index = std::strtol(text, &end, 10);
    if (*text == 0 || *end != 0 || index < 0 || index >= CSynth::kProgramCount)
    {
        std::fprintf(stderr, "velmora-info: program index must be 0..63, not \"%s\"\n", text);
        return false;
    }
    synth.SetProgram(static_cast<int32_t>(index));
    return true;
}

int WriteChunk(CSynth& synth, const char* path, bool isPreset)
{
    CFileStream file(path, CFileStream::Create);
    if (!file.IsOpen())
    {
        std::fprintf(stderr, "velmora-info: cannot create %s\n", path);
        return 1;
    }
    synth.SaveState(&file, isPreset);
    if (!file.Flush())
    {
        std::fprintf(stderr, "velmora-info: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int WriteFile(CSynth& synth, const char* path, bool isPreset)
{
    CBankFiles files(synth);
    if (!(isPreset ? files.SaveProgram(path) : files.SaveBank(path)))
    {
        std::fprintf(stderr, "velmora-info: %s\n", files.Error().c_str());
        return 1;
    }
    return 0;
}

void PrintSummary(CSynth& synth)
{
    char* name = synth.GetProgramName(synth.GetProgram());
    std::printf("Velmora: %d programs, current program %d \"%s\", %d Hz, %.0f BPM\n", CSynth::kProgramCount,
                synth.GetProgram(), name, synth.sampleRate, static_cast<double>(synth.tempo));
    FreeString(name);
}

void PrintPrograms(CSynth& synth)
{
    for (int i = 0; i < CSynth::kProgramCount; ++i)
    {
        const SynthProgram& p = synth.programs[i];
        std::printf("%2d  %-16s %s\n", i, p.name, p.mono ? "mono" : "poly");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    CSynth synth;
    if (argc == 1)
    {
        PrintSummary(synth);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--programs") == 0)
    {
        PrintPrograms(synth);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "--bank-chunk") == 0)
        return WriteChunk(synth, argv[2], false);
    if (argc == 4 && std::strcmp(argv[1], "--program-chunk") == 0)
        return SelectProgram(synth, argv[2]) ? WriteChunk(synth, argv[3], true) : 2;
    if (argc == 3 && std::strcmp(argv[1], "--bank-file") == 0)
        return WriteFile(synth, argv[2], false);
    if (argc == 4 && std::strcmp(argv[1], "--program-file") == 0)
        return SelectProgram(synth, argv[2]) ? WriteFile(synth, argv[3], true) : 2;
    return Usage();
}
