#include "platform/StopSignals.h"

#include <csignal>
#include <ctime>
#include <pthread.h>

namespace {

sigset_t StopSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

void HoldStopSignals()
{
    const sigset_t set = StopSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int TakeStopSignal()
{
    const sigset_t set = StopSet();
    sigset_t pending;
    if (sigpending(&pending) != 0)
        return 0;
    if (!sigismember(&pending, SIGINT) && !sigismember(&pending, SIGTERM) &&
        !sigismember(&pending, SIGHUP))
        return 0;
    const timespec now{0, 0};
    const int taken = sigtimedwait(&set, nullptr, &now);
    return taken > 0 ? taken : 0;
}

const char* StopSignalName(int signal)
{
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "a signal";
    }
}
