#include "tools/sim/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/ProcChildren.h"

namespace brv {

namespace {

// The stop signals, then the end of a child, which only wakes the waiter.
constexpr int kWatchedCount = 4;
constexpr int kWatched[kWatchedCount] = {SIGINT, SIGTERM, SIGHUP, SIGCHLD};

volatile sig_atomic_t g_caught = 0;
// The pipe's ends; -1 while no object holds the signals.
volatile sig_atomic_t g_wakeRead = -1;
volatile sig_atomic_t g_wakeWrite = -1;
int g_holders = 0;
struct sigaction g_previous[kWatchedCount];
bool g_installed[kWatchedCount] = {};

void wake() {
    const int saved = errno;
    const char byte = 0;
    // The pipe does not wait: when it is full, the waiter has been woken.
    [[maybe_unused]] const ssize_t written = ::write(g_wakeWrite, &byte, 1);
    errno = saved;
}

extern "C" void onStopSignal(int signal) {
    g_caught = signal;
    wake();
}

extern "C" void onChildEnded(int) {
    wake();
}

extern "C" void onWorkerStop(int signal) {
    const int saved = errno;
    g_caught = signal;
    StopSignals::endChildrenOf(::getpid());
    errno = saved;
}

bool ignored(int signal) {
    struct sigaction current = {};
    return ::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

void handle(int signal, void (*handler)(int), struct sigaction* previous) {
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    action.sa_handler = handler;
    ::sigaction(signal, &action, previous);
}

// A bot runs under a supervisor of the game's own, which on SIGTERM ends
// the bot and everything it started, daemons that left its group included,
// and then ends itself. Killing the supervisor outright would leave them.
void endTree(long child) {
    if (child > 0) {
        ::kill(static_cast<pid_t>(child), SIGTERM);
    }
}

}  // namespace

StopSignals::StopSignals() {
    if (g_holders++ > 0) {
        return;
    }
    g_caught = 0;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        g_wakeRead = ends[0];
        g_wakeWrite = ends[1];
    }
    for (int i = 0; i < kWatchedCount; ++i) {
        g_installed[i] = kWatched[i] == SIGCHLD || !ignored(kWatched[i]);
        if (g_installed[i]) {
            handle(kWatched[i], kWatched[i] == SIGCHLD ? onChildEnded : onStopSignal,
                   &g_previous[i]);
        }
    }
}

StopSignals::~StopSignals() {
    if (--g_holders > 0) {
        return;
    }
    for (int i = 0; i < kWatchedCount; ++i) {
        if (g_installed[i]) {
            ::sigaction(kWatched[i], &g_previous[i], nullptr);
        }
    }
    if (g_wakeRead >= 0) {
        ::close(g_wakeRead);
        ::close(g_wakeWrite);
    }
    g_wakeRead = -1;
    g_wakeWrite = -1;
}

int StopSignals::caught() {
    return g_caught;
}

const char* StopSignals::name(int signal) {
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

int StopSignals::wakeFd() {
    return g_wakeRead;
}

void StopSignals::drain() {
    char bytes[256];
    while (g_wakeRead >= 0 && ::read(g_wakeRead, bytes, sizeof bytes) > 0) {
    }
}

void StopSignals::becomeWorker() {
    if (g_wakeRead >= 0) {
        ::close(g_wakeRead);
        ::close(g_wakeWrite);
    }
    g_wakeRead = -1;
    g_wakeWrite = -1;
    // The game's own waits for its bots reap them.
    ::signal(SIGCHLD, SIG_DFL);
    for (int i = 0; i < kWatchedCount; ++i) {
        // SIGTERM is how the pool asks the game to stop.
        if (kWatched[i] != SIGCHLD && (kWatched[i] == SIGTERM || !ignored(kWatched[i]))) {
            handle(kWatched[i], onWorkerStop, nullptr);
        }
    }
}

// The same scan of /proc the supervisor makes for what a bot left: it
// allocates nothing, so a signal handler may run it.
void StopSignals::endChildrenOf(pid_t pid) {
    ProcChildren::forEach(pid, [](pid_t child, const char*, const char*) { endTree(child); });
}

}  // namespace brv
