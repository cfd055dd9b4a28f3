#pragma once

#include <string>

// Removes the unfinished output file when the tool is interrupted (SIGINT or
// SIGTERM), so that Ctrl-C leaves no hidden temporary file behind. The path is
// copied into a fixed buffer in advance: the handler does nothing but unlink
// it, restore the default action and raise the signal again, all of which are
// safe inside a signal handler. One path at a time, process-wide.
class CInterruptCleanup
{
public:
    // Installs the handlers; the tool's main calls it once.
    static void Install();

    // From now on an interruption removes path. A path too long for the
    // buffer is not guarded.
    static void Guard(const std::string& path);

    // The file was renamed into place or removed: forget it.
    static void Release();
};
