#include "gui/platform/OpenUrl.h"

#ifdef _WIN32

#include <windows.h>
#include <shellapi.h>

bool OpenUrl(const char* url)
{
    // ShellExecute reports success with a value above 32.
    const INT_PTR result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

#else

#include <cerrno>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

bool OpenUrl(const char* url)
{
    // Two forks: the intermediate child exits at once, so the browser's
    // launcher is adopted by init and the host never collects a zombie.
    // Between fork and exec the child calls only async-signal-safe functions.
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0)
    {
        const pid_t launcher = fork();
        if (launcher == 0)
        {
            execlp("xdg-open", "xdg-open", url, static_cast<char*>(nullptr));
            _exit(127);
        }
        _exit(launcher < 0 ? 1 : 0);
    }
    int status = 0;
    pid_t done;
    do
        done = waitpid(child, &status, 0);
    while (done < 0 && errno == EINTR);
    // A host that ignores SIGCHLD leaves nothing to collect (ECHILD): the
    // child has run all the same.
    if (done < 0)
        return errno == ECHILD;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#endif
