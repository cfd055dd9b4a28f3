#include "CInterruptCleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace
{
constexpr size_t kPathCapacity = 4096;

char guardedPath[kPathCapacity];
volatile std::sig_atomic_t guarded = 0;

extern "C" void RemoveAndRaise(int signal)
{
    if (guarded)
        ::unlink(guardedPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
}

void CInterruptCleanup::Install()
{
    struct sigaction action = {};
    action.sa_handler = RemoveAndRaise;
    sigemptyset(&action.sa_mask);
    // Both signals are held off while one is handled, so the path is removed once.
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void CInterruptCleanup::Guard(const std::string& path)
{
    // The handler never sees a half-copied path: it is off while the buffer changes.
    guarded = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (path.size() >= kPathCapacity)
        return;
    std::memcpy(guardedPath, path.c_str(), path.size() + 1);
    std::atomic_signal_fence(std::memory_order_seq_cst);
    guarded = 1;
}

void CInterruptCleanup::Release()
{
    guarded = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
}
