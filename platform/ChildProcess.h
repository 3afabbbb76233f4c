#pragma once

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brv {

// What a child program may use of the machine: CPU seconds (RLIMIT_CPU) and
// address space in bytes (RLIMIT_AS); 0 leaves a limit as inherited.
struct ChildLimits {
    int cpuSeconds = 0;
    std::uint64_t memoryBytes = 0;
};

// A program the game started and talks to in lines over its stdin and
// stdout. It runs in a process group of its own, so ending it ends whatever
// it started too; the destructor ends and reaps it. A write to a program that
// has gone is reported, never a signal that stops the game.
class ChildProcess {
public:
    enum class Read { Line, Timeout, TooLong, Closed };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `words[0]` (looked up in PATH when it has no slash) with the
    // other words as its arguments, never through a shell. Its stderr goes
    // to `stderrPath` (appended; /dev/null when empty). False with `why`
    // when it cannot be started, the program not found included.
    bool start(const std::vector<std::string>& words, const ChildLimits& limits,
               const std::string& stderrPath, std::string& why);
    bool running() const { return pid_ > 0; }

    // Writes `line` and a newline; false once the program's stdin is closed.
    bool writeLine(std::string_view line);
    // Waits at most `timeoutMs` for one line (without its newline) of at most
    // `maxBytes`. A longer line is reported as TooLong at once and the rest of
    // it is skipped by the reads that follow, so endless output never grows
    // memory. Closed: the program closed its stdout or ended.
    Read readLine(std::string& line, int timeoutMs, std::size_t maxBytes);

    // True once the program has ended (reaped); `exitText` then says how.
    bool exited(int waitMs = 0);
    const std::string& exitText() const { return exitText_; }
    // Ends the program's whole group at once (SIGKILL) and reaps it.
    void end();

private:
    // Takes a line of at most `maxBytes` out of the buffer, or reports one
    // that outgrew it.
    bool takeLine(std::string& line, std::size_t maxBytes, bool& tooLong);
    void closeFds();

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
    bool skipping_ = false;  // inside a line already reported as too long
    std::string exitText_;
};

}  // namespace brv
