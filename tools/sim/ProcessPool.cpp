#include "tools/sim/ProcessPool.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/sim/StopSignals.h"

namespace brv {

namespace {

using SteadyClock = std::chrono::steady_clock;

// A child's text is a result line or a setting's games; far more means a
// damaged file.
constexpr std::size_t kMaxText = std::size_t{64} << 20;
// How long the children of a stopped run have to end their bots and games
// before they are killed.
constexpr auto kStopGrace = std::chrono::seconds(1);

// A child writes its text into a file of its own, which the parent reads
// once the child has ended: nothing can block on a full pipe.
struct Child {
    pid_t pid = -1;
    std::string file;
    std::size_t item = 0;
};

std::string fileTemplate() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
           "/brevora-games-XXXXXX";
}

// The stop signals stay blocked from before the fork until the child holds
// its own handlers, so the parent's handler never runs in a child. A child
// told to stop hands nothing back.
[[noreturn]] void runChild(std::size_t item, const ProcessWork& work, const std::string& file,
                           const sigset_t& mask) {
    StopSignals::becomeWorker();
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    const std::string text = work(item);
    if (StopSignals::caught() != 0) {
        _exit(128 + StopSignals::caught());
    }
    std::FILE* out = std::fopen(file.c_str(), "wb");
    const bool written =
        out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
    _exit(out != nullptr && std::fclose(out) == 0 && written ? 0 : 1);
}

Child start(std::size_t item, const ProcessWork& work, std::string& why) {
    std::string name = fileTemplate();
    const int fd = mkstemp(name.data());
    if (fd < 0) {
        why = "cannot make a temporary file \"" + name + "\": " + std::strerror(errno);
        return {};
    }
    close(fd);
    std::fflush(nullptr);
    sigset_t stops, mask;
    sigemptyset(&stops);
    for (int stop : {SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&stops, stop);
    }
    sigprocmask(SIG_BLOCK, &stops, &mask);
    const pid_t pid = fork();
    if (pid == 0) {
        runChild(item, work, name, mask);
    }
    const int forkError = errno;
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    if (pid < 0) {
        why = std::string("cannot start a process: ") + std::strerror(forkError);
        unlink(name.c_str());
        return {};
    }
    return {pid, name, item};
}

bool finish(const Child& child, int status, const ProcessDone& done) {
    std::string text;
    if (std::FILE* in = std::fopen(child.file.c_str(), "rb"); in != nullptr) {
        char buffer[4096];
        std::size_t n;
        while (text.size() <= kMaxText && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
            text.append(buffer, n);
        }
        std::fclose(in);
    }
    unlink(child.file.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.size() > kMaxText) {
        return false;
    }
    done(child.item, text);
    return true;
}

// Waits until a child may have ended or a stop signal came, `waitMs` at most
// (-1: no bound).
void waitForWake(int waitMs) {
    pollfd wake = {StopSignals::wakeFd(), POLLIN, 0};
    // Without the pipe, a child's end is looked for now and then.
    poll(&wake, 1, wake.fd >= 0 ? waitMs : std::min(waitMs < 0 ? 50 : waitMs, 50));
    StopSignals::drain();
}

// Hands on each child that has ended; false when one failed or the children
// were lost.
bool reapEnded(std::vector<Child>& running, const ProcessDone& done) {
    bool ok = true;
    for (;;) {
        int status = 0;
        const pid_t ended = waitpid(-1, &status, WNOHANG);
        if (ended < 0 && errno == EINTR) {
            continue;
        }
        if (ended < 0 && errno == ECHILD && !running.empty()) {
            for (const Child& child : running) {
                unlink(child.file.c_str());
            }
            running.clear();
            return false;
        }
        if (ended <= 0) {
            return ok;
        }
        const auto child = std::find_if(running.begin(), running.end(),
                                        [&](const Child& c) { return c.pid == ended; });
        if (child != running.end()) {
            ok = finish(*child, status, done) && ok;
            running.erase(child);
        }
    }
}

// Asks every running child to stop, waits out the grace for them, then kills
// what remains with its bots; every child's file goes.
void stopChildren(std::vector<Child>& running, const ProcessDone& done) {
    for (const Child& child : running) {
        kill(child.pid, SIGTERM);
    }
    const auto deadline = SteadyClock::now() + kStopGrace;
    while (!running.empty() && SteadyClock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        waitForWake(static_cast<int>(std::max<long long>(left.count(), 1)));
        reapEnded(running, done);
    }
    for (const Child& child : running) {
        StopSignals::endChildrenOf(child.pid);
        kill(child.pid, SIGKILL);
        int status = 0;
        while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
        }
        unlink(child.file.c_str());
    }
    running.clear();
}

}  // namespace

ProcessRun runInProcesses(std::size_t count, int jobs, const ProcessWork& work,
                          const ProcessDone& done) {
    const StopSignals signals;
    ProcessRun run;
    std::vector<Child> running;
    std::size_t next = 0;
    bool ok = true;
    for (;;) {
        while (ok && StopSignals::caught() == 0 && next < count &&
               static_cast<int>(running.size()) < std::max(jobs, 1)) {
            const Child child = start(next, work, run.why);
            ok = child.pid > 0;
            if (ok) {
                running.push_back(child);
                ++next;
            }
        }
        if (running.empty() || StopSignals::caught() != 0) {
            break;
        }
        waitForWake(-1);
        ok = reapEnded(running, done) && ok;
    }
    run.stopSignal = StopSignals::caught();
    if (run.stopSignal != 0) {
        stopChildren(running, done);
    }
    run.ok = ok && run.stopSignal == 0 && next == count;
    return run;
}

}  // namespace brv
