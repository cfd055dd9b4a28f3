// Draws the toolkit's controls, windows and dialogs and the synth editor on
// the in-memory screen and writes them as PNG pictures into a folder, for a
// person to look at.
// Usage: velmora-gallery <folder>
#include "WidgetDemo.h"
#include "gallery/Scenes.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-')
    {
        std::fprintf(stderr, "usage: velmora-gallery <folder>\n"
                             "Writes pictures of the toolkit's controls, windows and dialogs and of the\n"
                             "synth editor into <folder>\n"
                             "(made if missing) as <name>.png.\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    if (!std::filesystem::is_directory(argv[1], error))
    {
        std::fprintf(stderr, "velmora-gallery: cannot make the folder %s\n", argv[1]);
        return 1;
    }
    CPictureFolder folder(argv[1]);
    DrawingScenes(folder);
    WindowScenes(folder);
    DialogScenes(folder);
    EditorScenes(folder);
    const int demo =
        WriteWidgetDemo("velmora-gallery", folder.Path("windemo").c_str(), folder.Path("windemo-menu").c_str());
    for (const std::string& failure : folder.failures)
        std::fprintf(stderr, "velmora-gallery: %s\n", failure.c_str());
    if (demo != 0 || !folder.failures.empty())
        return 1;
    std::printf("velmora-gallery: %d pictures in %s\n", folder.written + 2, argv[1]);
    return 0;
}
