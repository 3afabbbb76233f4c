#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/ChildSupervisor.h"

namespace brv {

namespace {

using SteadyClock = std::chrono::steady_clock;

int msLeft(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

std::string describeStatus(int status) {
    if (WIFEXITED(status)) {
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        const char* name = strsignal(WTERMSIG(status));
        return "was killed by signal " + std::to_string(WTERMSIG(status)) + " (" +
               (name != nullptr ? name : "unknown") + ")";
    }
    return "ended";
}

}  // namespace

ChildProcess::~ChildProcess() {
    end();
}

bool ChildProcess::start(const std::vector<std::string>& words, const ChildLimits& limits,
                         const std::string& stderrPath, std::string& why) {
    if (words.empty() || running()) {
        why = words.empty() ? "no program named" : "already running";
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    int in[2], out[2], report[2], left[2];
    if (!makeChannels(in, out, report, left, why)) {
        return false;
    }
    const std::string errPath = stderrPath.empty() ? "/dev/null" : stderrPath;
    const int log = open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const pid_t game = getpid();
    const pid_t pid = log >= 0 ? fork() : -1;
    if (pid == 0) {
        ChildSupervisor::run({argv.data(), limits, in[1], out[1], log, report[1], left[1]}, game);
    }
    const int forkError = errno;
    for (const int fd : {in[1], out[1], report[1], left[1], log}) {
        if (fd >= 0) {
            close(fd);
        }
    }
    if (pid < 0) {
        why = log < 0 ? "cannot open \"" + errPath + "\": " + std::strerror(forkError)
                      : std::string("cannot start a process: ") + std::strerror(forkError);
        for (const int fd : {in[0], out[0], report[0], left[0]}) {
            close(fd);
        }
        return false;
    }
    return started(pid, in[0], out[0], report[0], left[0], words[0], why);
}

bool ChildProcess::makeChannels(int (&in)[2], int (&out)[2], int (&report)[2], int (&left)[2],
                                std::string& why) {
    // The program's stdin and stdout are sockets rather than pipes: a write
    // can say MSG_NOSIGNAL, so a program that has gone never sends the game
    // a SIGPIPE. The supervisor's reports come on pipes.
    int* const made[] = {in, out, report, left};
    for (int k = 0; k < 4; ++k) {
        const bool ok = k < 2 ? socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, made[k]) == 0
                              : pipe2(made[k], O_CLOEXEC) == 0;
        if (!ok) {
            why = std::string("cannot make a channel: ") + std::strerror(errno);
            for (int m = 0; m < k; ++m) {
                close(made[m][0]), close(made[m][1]);
            }
            return false;
        }
    }
    return true;
}

bool ChildProcess::started(pid_t pid, int in, int out, int report, int left,
                           const std::string& program, std::string& why) {
    // Also here, so the group exists before the game may signal it.
    setpgid(pid, pid);
    pid_ = pid;
    toChild_ = in;
    // Writes to the program never wait for it to read.
    fcntl(toChild_, F_SETFL, fcntl(toChild_, F_GETFL) | O_NONBLOCK);
    fromChild_ = out;
    leftFrom_ = left;
    fcntl(leftFrom_, F_SETFL, fcntl(leftFrom_, F_GETFL) | O_NONBLOCK);
    leftBehind_.clear();
    int execError = 0;
    const ssize_t got = read(report, &execError, sizeof execError);
    close(report);
    if (got == sizeof execError) {
        why = "cannot run \"" + program + "\": " + std::strerror(execError);
        end();
        return false;
    }
    return true;
}

bool ChildProcess::writeLine(std::string_view line) {
    if (toChild_ < 0) {
        return false;
    }
    unsent_.append(line);
    unsent_ += '\n';
    return flush();
}

// The channel is non-blocking: a program that does not read its input leaves
// the rest here instead of stopping the game in a write.
bool ChildProcess::flush() {
    while (toChild_ >= 0 && !unsent_.empty()) {
        const ssize_t n =
            send(toChild_, unsent_.data(), unsent_.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            return true;
        }
        if (n <= 0) {
            unsent_.clear();
            return false;
        }
        unsent_.erase(0, static_cast<std::size_t>(n));
    }
    return toChild_ >= 0;
}

bool ChildProcess::takeLine(std::string& line, std::size_t maxBytes, bool& tooLong) {
    const std::size_t newline = buffer_.find('\n');
    if (skipping_) {
        buffer_.erase(0, newline == std::string::npos ? buffer_.size() : newline + 1);
        skipping_ = newline == std::string::npos;
        if (skipping_) {
            return false;
        }
        return takeLine(line, maxBytes, tooLong);
    }
    if (newline == std::string::npos) {
        if (buffer_.size() > maxBytes) {
            buffer_.clear();
            skipping_ = true;
            tooLong = true;
        }
        return false;
    }
    if (newline > maxBytes) {
        buffer_.erase(0, newline + 1);
        tooLong = true;
        return false;
    }
    line.assign(buffer_, 0, newline);
    buffer_.erase(0, newline + 1);
    return true;
}

ChildProcess::Read ChildProcess::readLine(std::string& line, int timeoutMs, std::size_t maxBytes) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        bool tooLong = false;
        if (takeLine(line, maxBytes, tooLong)) {
            return Read::Line;
        }
        if (tooLong) {
            return Read::TooLong;
        }
        if (fromChild_ < 0) {
            return Read::Closed;
        }
        pollfd wait[2] = {{fromChild_, POLLIN, 0}, {toChild_, POLLOUT, 0}};
        const nfds_t count = unsent_.empty() || toChild_ < 0 ? 1 : 2;
        const int ready = poll(wait, count, msLeft(deadline));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            // Still inside an over-long line: that is what this wait got.
            return skipping_ ? Read::TooLong : Read::Timeout;
        }
        if (count == 2 && wait[1].revents != 0) {
            // A program gone shows on its output; the rest is dropped here.
            flush();
        }
        if (ready > 0 && wait[0].revents == 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t n = ready > 0 ? read(fromChild_, chunk, sizeof chunk) : -1;
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            close(fromChild_);
            fromChild_ = -1;
            return Read::Closed;
        }
        buffer_.append(chunk, static_cast<std::size_t>(n));
    }
}

bool ChildProcess::exited(int waitMs) {
    if (pid_ <= 0) {
        return !exitText_.empty();
    }
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno == ECHILD)) {
            exitText_ = done == pid_ ? describeStatus(status) : "ended";
            pid_ = -1;
            readLeftBehind();
            closeFds();
            return true;
        }
        if (msLeft(deadline) <= 0) {
            return false;
        }
        usleep(2000);
    }
}

// The supervisor ends the whole tree and then itself; should it not, within
// a while past its own bound, it is killed with its group.
void ChildProcess::end() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        const auto deadline =
            SteadyClock::now() + std::chrono::milliseconds(2 * ChildSupervisor::kEndWithinMs);
        int status = 0;
        pid_t done = 0;
        while ((done = waitpid(pid_, &status, WNOHANG)) == 0 && msLeft(deadline) > 0) {
            usleep(1000);
        }
        if (done == 0) {
            kill(-pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        }
        if (exitText_.empty()) {
            exitText_ = "was ended by the game";
        }
        pid_ = -1;
        readLeftBehind();
    }
    closeFds();
}

// What the supervisor could not end, "pid N (command)" a line, as one text.
void ChildProcess::readLeftBehind() {
    std::string names;
    char chunk[1024];
    ssize_t n = 0;
    while (leftFrom_ >= 0 && names.size() < 4096 &&
           (n = read(leftFrom_, chunk, sizeof chunk)) > 0) {
        names.append(chunk, static_cast<std::size_t>(n));
    }
    for (std::size_t at = names.find('\n'); at != std::string::npos; at = names.find('\n', at)) {
        names.replace(at, 1, at + 1 < names.size() ? ", " : "");
    }
    if (!names.empty()) {
        leftBehind_ = "left running after it: " + names;
    }
}

void ChildProcess::closeFds() {
    if (leftFrom_ >= 0) {
        close(leftFrom_);
        leftFrom_ = -1;
    }
    if (toChild_ >= 0) {
        close(toChild_);
        toChild_ = -1;
    }
    if (fromChild_ >= 0) {
        close(fromChild_);
        fromChild_ = -1;
    }
    buffer_.clear();
    unsent_.clear();
    skipping_ = false;
}

}  // namespace brv
