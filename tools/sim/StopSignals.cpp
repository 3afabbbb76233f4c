#include "tools/sim/StopSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

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

// Writes `value` in decimal at `out` and returns the end: no formatting
// call of the C library is safe in a signal handler.
char* putNumber(char* out, long value) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && n < 24);
    while (n > 0) {
        *out++ = digits[--n];
    }
    return out;
}

char* putText(char* out, const char* text) {
    while (*text != '\0') {
        *out++ = *text++;
    }
    return out;
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

void StopSignals::endChildrenOf(pid_t pid) {
    char path[96];
    char* end = putText(path, "/proc/");
    end = putNumber(end, pid);
    end = putText(end, "/task/");
    end = putNumber(end, pid);
    *putText(end, "/children") = '\0';
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    // The file lists the children's ids, each followed by a space.
    char chunk[512];
    long child = 0;
    ssize_t n;
    while ((n = ::read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR)) {
        for (ssize_t i = 0; i < n; ++i) {
            if (chunk[i] >= '0' && chunk[i] <= '9') {
                child = child * 10 + (chunk[i] - '0');
            } else {
                endTree(child);
                child = 0;
            }
        }
    }
    endTree(child);
    ::close(fd);
}

}  // namespace brv
