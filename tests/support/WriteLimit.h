#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <string>

namespace brv::test {

// While alive, every write past `bytes` into a file of this process fails
// (EFBIG), as a full disk fails a save part way: the kernel's own file size
// limit, with its signal ignored so the write reports the error instead.
// Writes to pipes and sockets are not limited.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        signalBefore_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, before_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WriteLimit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signalBefore_);
    }
    WriteLimit(const WriteLimit&) = delete;
    WriteLimit& operator=(const WriteLimit&) = delete;

private:
    rlimit before_{};
    void (*signalBefore_)(int) = SIG_DFL;
};

// What `run` wrote to stderr, taken through a pipe rather than a file, so a
// WriteLimit in force does not cut it. For short messages (under a pipe's
// buffer).
inline std::string stderrThroughPipe(const std::function<void()>& run) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return "(no pipe)";
    }
    fcntl(ends[1], F_SETFL, O_NONBLOCK);
    const int saved = dup(STDERR_FILENO);
    dup2(ends[1], STDERR_FILENO);
    close(ends[1]);
    run();
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string text;
    char chunk[4096];
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = read(ends[0], chunk, sizeof chunk)) > 0;) {
        text.append(chunk, static_cast<std::size_t>(n));
    }
    close(ends[0]);
    return text;
}

}  // namespace brv::test
