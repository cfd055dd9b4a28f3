// Opens the toolkit's widget demo (one of each standard control) on the
// in-memory screen, clicks its counter button twice through the scripted
// queue and writes the screen to a PNG file; with a second file name it also
// writes the screen with the menu bar's popup and a submenu open. On
// Windows, --show opens the same window on the real system and runs it until
// it is closed. Usage: velmora-windemo <out.png> [<popup.png>] | --show
#include "WidgetDemo.h"

#include <cstdio>
#include <cstring>

namespace
{

// The window on the system's own screen, until the user closes it.
int Show()
{
#ifdef _WIN32
    CApp app;
    CDemo demo;
    CWin* win = BuildWidgetDemo(&app, &demo);
    app.Run(win);
    delete win;
    std::printf("velmora-windemo: %d clicks\n", demo.clicks);
    return 0;
#else
    std::fprintf(stderr, "velmora-windemo: --show needs a Windows build; this build draws on the in-memory screen\n");
    return 2;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf(stderr, "usage: velmora-windemo <out.png> [<popup.png>] | --show\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--show") == 0)
        return argc == 2 ? Show() : 2;
    const int status = WriteWidgetDemo("velmora-windemo", argv[1], argc == 3 ? argv[2] : nullptr);
    if (status == 0)
        std::printf("velmora-windemo: 2 clicks, picture in %s\n", argv[1]);
    return status;
}
