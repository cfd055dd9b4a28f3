// velmora-render: renders a MIDI file, or the built-in demo song, through a
// VST 2.4 instrument into a WAV or FLAC file. See --help.
#include "CInterruptCleanup.h"
#include "CRenderOptions.h"
#include "CRenderTool.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
constexpr int kUsageError = 2;

// velmora.so in the folder of this program.
std::string DefaultPlugin()
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "velmora.so";
    std::string path(self, static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    return path.substr(0, slash + 1) + "velmora.so";
}
}

int main(int argc, char** argv)
{
    CRenderOptions options;
    if (!options.Parse(argc, argv))
    {
        std::fprintf(stderr, "velmora-render: %s\n", options.Error().c_str());
        return kUsageError;
    }
    if (options.help)
    {
        std::fputs(CRenderOptions::HelpText(), stdout);
        return 0;
    }
    if (options.version)
    {
        std::printf("velmora-render %s\n", VELMORA_VERSION);
        return 0;
    }
    CInterruptCleanup::Install();
    CRenderTool tool;
    return tool.Run(options, DefaultPlugin());
}
