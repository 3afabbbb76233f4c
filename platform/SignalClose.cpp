#include "platform/SignalClose.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace brv {

namespace {

// A closed terminal (SIGHUP) is a close like the session's or the user's.
constexpr int kSignals[kSignalCount] = {SIGINT, SIGTERM, SIGHUP};
constexpr char kSignalled = 's';
constexpr char kStop = 'x';

// The pipe's write end, read by the handler; -1 while no object holds the
// signals.
volatile std::sig_atomic_t g_writeEnd = -1;

extern "C" void onCloseSignal(int) {
    const int saved = errno;
    const char byte = kSignalled;
    // Each handler serves once, so the pipe never holds more than a few bytes
    // and the write never waits.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
    errno = saved;
}

}  // namespace

SignalClose::SignalClose(std::function<void()> onSignal) : onSignal_(std::move(onSignal)) {
    int ends[2];
    if (g_writeEnd != -1 || ::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    readEnd_ = ends[0];
    g_writeEnd = ends[1];
    try {
        watcher_ = std::thread([this] { watch(); });
    } catch (const std::system_error&) {
        ::close(readEnd_);
        ::close(ends[1]);
        readEnd_ = -1;
        g_writeEnd = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = onCloseSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: the next signal of the kind ends the program outright.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], &action, &previous_[i]);
    }
}

SignalClose::~SignalClose() {
    if (!installed()) {
        return;
    }
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], &previous_[i], nullptr);
    }
    const char stop = kStop;
    while (::write(g_writeEnd, &stop, 1) < 0 && errno == EINTR) {
    }
    watcher_.join();
    ::close(readEnd_);
    ::close(g_writeEnd);
    g_writeEnd = -1;
}

void SignalClose::watch() {
    for (;;) {
        char byte = 0;
        const ssize_t got = ::read(readEnd_, &byte, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != 1 || byte == kStop) {
            return;
        }
        onSignal_();
    }
}

}  // namespace brv
