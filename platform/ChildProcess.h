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
// stdout. It runs under a supervisor of the game's own (`ChildSupervisor`)
// that adopts whatever the program starts, daemons that left its process
// group included, and ends all of it when the program ends or is ended;
// the destructor ends and reaps it. A write to a program that
// has gone is reported, never a signal that stops the game, and a write never
// blocks the game: what the program's full input cannot take yet is kept and
// sent on while the game waits for its lines.
class ChildProcess {
public:
    enum class Read { Line, Timeout, TooLong, Closed };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `words[0]` (looked up in PATH when it has no slash) with the
    // other words as its arguments, never through a shell. Its stderr goes
    // to `stderrPath` (appended, at most ChildSupervisor::kStderrCap bytes
    // a run; /dev/null when empty). False with `why`
    // when it cannot be started, the program not found included.
    bool start(const std::vector<std::string>& words, const ChildLimits& limits,
               const std::string& stderrPath, std::string& why);
    bool running() const { return pid_ > 0; }

    // Queues `line` and a newline and sends what the program's input takes
    // now; false once its stdin is closed.
    bool writeLine(std::string_view line);
    // Bytes written that the program's input has not taken yet.
    std::size_t unsentBytes() const { return unsent_.size(); }
    // True when a whole line was read and is waiting to be taken.
    bool lineBuffered() const { return !skipping_ && buffer_.find('\n') != std::string::npos; }
    // Waits at most `timeoutMs` for one line (sending unsent input meanwhile) (without its newline)
    // of at most `maxBytes`. A longer line is reported as TooLong at once and the rest of it is
    // skipped by the reads that follow, so endless output never grows memory. Closed: the program
    // closed its stdout or ended.
    Read readLine(std::string& line, int timeoutMs, std::size_t maxBytes);

    // True once the program has ended (reaped); `exitText` then says how.
    bool exited(int waitMs = 0);
    const std::string& exitText() const { return exitText_; }
    // Ends the program and everything it started (SIGKILL) and reaps it.
    void end();
    // Once it has ended: what of its tree could not be ended ("left running
    // after it: pid 812 (sleep)"), empty when nothing was left.
    const std::string& leftBehind() const { return leftBehind_; }

private:
    // The channels to the program and from its supervisor, or false with `why`.
    static bool makeChannels(int (&in)[2], int (&out)[2], int (&report)[2], int (&left)[2],
                             std::string& why);
    // Takes the supervisor `pid` and the game's ends of the channels, and
    // learns whether `program` could be run.
    bool started(pid_t pid, int in, int out, int report, int left, const std::string& program,
                 std::string& why);
    void readLeftBehind();
    // Takes a line of at most `maxBytes` out of the buffer, or reports one
    // that outgrew it.
    bool takeLine(std::string& line, std::size_t maxBytes, bool& tooLong);
    // Sends what the input takes without waiting; false once it is closed.
    bool flush();
    void closeFds();

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    int leftFrom_ = -1;  // where the supervisor names what it could not end
    std::string buffer_;
    std::string unsent_;
    bool skipping_ = false;  // inside a line already reported as too long
    std::string exitText_;
    std::string leftBehind_;
};

}  // namespace brv
