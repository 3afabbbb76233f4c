#include "platform/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace brv {

namespace {

using SteadyClock = std::chrono::steady_clock;

int msLeft(SteadyClock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

void setLimit(int resource, rlim_t value) {
    if (value > 0) {
        const rlimit limit{value, value};
        setrlimit(resource, &limit);
    }
}

// In the child, between fork and exec: only async-signal-safe calls. An exec
// that fails writes its errno into `report` for the parent to read.
[[noreturn]] void becomeChild(char* const* argv, const ChildLimits& limits, int in, int out,
                              int err, int report) {
    setpgid(0, 0);
    setLimit(RLIMIT_CPU, static_cast<rlim_t>(limits.cpuSeconds));
    setLimit(RLIMIT_AS, static_cast<rlim_t>(limits.memoryBytes));
    signal(SIGPIPE, SIG_DFL);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execvp(argv[0], argv);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(report, &error, sizeof error);
    _exit(127);
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
    // Sockets rather than pipes: a write can say MSG_NOSIGNAL, so a program
    // that has gone never sends the game a SIGPIPE.
    int in[2], out[2], report[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) {
        why = std::string("cannot make a channel: ") + std::strerror(errno);
        return false;
    }
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, out) != 0) {
        why = std::string("cannot make a channel: ") + std::strerror(errno);
        close(in[0]), close(in[1]);
        return false;
    }
    const std::string errPath = stderrPath.empty() ? "/dev/null" : stderrPath;
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const bool reportOk = pipe2(report, O_CLOEXEC) == 0;
    const pid_t pid = err >= 0 && reportOk ? fork() : -1;
    if (pid == 0) {
        becomeChild(argv.data(), limits, in[1], out[1], err, report[1]);
    }
    const int forkError = errno;
    close(in[1]), close(out[1]);
    if (err >= 0) {
        close(err);
    }
    if (reportOk) {
        close(report[1]);
    }
    if (pid < 0) {
        why = err < 0 ? "cannot open \"" + errPath + "\": " + std::strerror(forkError)
                      : std::string("cannot start a process: ") + std::strerror(forkError);
        close(in[0]), close(out[0]);
        if (reportOk) {
            close(report[0]);
        }
        return false;
    }
    // Also here, so the group exists before the parent may signal it.
    setpgid(pid, pid);
    pid_ = pid;
    toChild_ = in[0];
    // Writes to the program never wait for it to read.
    fcntl(toChild_, F_SETFL, fcntl(toChild_, F_GETFL) | O_NONBLOCK);
    fromChild_ = out[0];
    int execError = 0;
    const ssize_t got = read(report[0], &execError, sizeof execError);
    close(report[0]);
    if (got == sizeof execError) {
        why = "cannot run \"" + words[0] + "\": " + std::strerror(execError);
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
            // Whatever it left running in its group goes with it.
            kill(-pid_, SIGKILL);
            pid_ = -1;
            closeFds();
            return true;
        }
        if (msLeft(deadline) <= 0) {
            return false;
        }
        usleep(2000);
    }
}

void ChildProcess::end() {
    if (pid_ > 0) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        if (exitText_.empty()) {
            exitText_ = "was ended by the game";
        }
        pid_ = -1;
    }
    closeFds();
}

void ChildProcess::closeFds() {
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
