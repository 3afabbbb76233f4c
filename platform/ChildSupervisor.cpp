#include "platform/ChildSupervisor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/signalfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/ProcChildren.h"

// Everything here runs in a child forked from a game that may have other
// threads, and it never execs: no allocation, no stdio, only calls that are
// safe after such a fork.
namespace brv {

namespace {

// Signals that end the tree at once: the game ending the program (SIGTERM,
// also the signal the supervisor hears when the game goes) or anyone
// hanging up or interrupting it.
constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT, SIGQUIT};

long long nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void writeText(int fd, const char* text) {
    writeAll(fd, text, std::strlen(text));
}

// Closes descriptors `from`..`to`; without close_range, one by one up to the
// descriptor limit.
void closeRange(unsigned from, unsigned to) {
    if (syscall(SYS_close_range, from, to, 0) == 0) {
        return;
    }
    rlimit open{};
    getrlimit(RLIMIT_NOFILE, &open);
    const unsigned last = static_cast<unsigned>(std::min<rlim_t>(open.rlim_cur, 1 << 16));
    for (unsigned fd = from; fd <= to && fd < last; ++fd) {
        close(static_cast<int>(fd));
    }
}

// The supervisor holds none of the game's files (a lock, a window, another
// bot's channel) past what it needs; stdin, stdout and stderr stay.
template <std::size_t N>
void closeAllBut(int (&keep)[N]) {
    std::sort(keep, keep + N);
    unsigned from = 3;
    for (const int fd : keep) {
        if (fd >= static_cast<int>(from)) {
            if (fd > static_cast<int>(from)) {
                closeRange(from, static_cast<unsigned>(fd) - 1);
            }
            from = static_cast<unsigned>(fd) + 1;
        }
    }
    closeRange(from, ~0u);
}

// The program's stderr on its way into the log: at most kStderrCap bytes of
// one run, then the cut line, then nothing, while the pipe is still read so
// the program never waits on it.
struct Relay {
    int from = -1;
    int log = -1;
    std::size_t kept = 0;
    bool lineOpen = false;  // the last byte kept did not end a line
    bool cut = false;
};

// Passes on one read; false when the pipe has nothing now or was closed.
bool relayChunk(Relay& relay) {
    char chunk[8192];
    const ssize_t n = read(relay.from, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) {
        return true;
    }
    if (n <= 0) {
        if (n == 0 || errno != EAGAIN) {
            close(relay.from);
            relay.from = -1;
        }
        return false;
    }
    const std::size_t got = static_cast<std::size_t>(n);
    const std::size_t keep = std::min(got, ChildSupervisor::kStderrCap - relay.kept);
    if (keep > 0) {
        writeAll(relay.log, chunk, keep);
        relay.kept += keep;
        relay.lineOpen = chunk[keep - 1] != '\n';
    }
    if (keep < got && !relay.cut) {
        writeText(relay.log, relay.lineOpen ? "\n" : "");
        writeText(relay.log, ChildSupervisor::kCutLine);
        relay.cut = true;
    }
    return true;
}

// What the log gets of what is still in the pipe once the tree has ended,
// bounded in case a survivor keeps writing.
void drain(Relay& relay) {
    if (relay.from < 0) {
        return;
    }
    fcntl(relay.from, F_SETFL, fcntl(relay.from, F_GETFL) | O_NONBLOCK);
    for (int chunks = 0; chunks < 4096 && relayChunk(relay); ++chunks) {
    }
}

// The program and, once it has been reaped, how it ended.
struct Tree {
    pid_t program = -1;
    bool ended = false;
    int status = 0;
};

// Reaps every child that has ended, noting the program's status; true once
// the supervisor has no child left.
bool reapAll(Tree& tree) {
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(-1, &status, WNOHANG);
        if (done <= 0) {
            return done < 0 && errno == ECHILD;
        }
        if (done == tree.program) {
            tree.ended = true;
            tree.status = status;
        }
    }
}

// Kills what is left of the tree round after round, each round reaping the
// dead and killing the children found (orphans come to the supervisor as
// their parents die), until none is left or kEndWithinMs has passed; then
// names the survivors on `leftReport`, one "pid N (command)" a line.
void endTree(Tree& tree, int leftReport) {
    if (!tree.ended) {
        kill(-tree.program, SIGKILL);
        kill(tree.program, SIGKILL);
    }
    const long long deadline = nowMs() + ChildSupervisor::kEndWithinMs;
    while (!reapAll(tree)) {
        if (nowMs() > deadline) {
            ProcChildren::forEach(getpid(), [&](pid_t, const char* name, const char* command) {
                writeText(leftReport, "pid ");
                writeText(leftReport, name);
                writeText(leftReport, " (");
                writeText(leftReport, command);
                writeText(leftReport, ")\n");
            });
            return;
        }
        ProcChildren::forEach(getpid(),
                              [](pid_t pid, const char*, const char*) { kill(pid, SIGKILL); });
        const timespec pause{0, 2 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

// Takes the signals that came; false when one of them ends the tree.
bool onlyChildrenChanged(int events) {
    signalfd_siginfo info{};
    while (read(events, &info, sizeof info) == sizeof info) {
        if (info.ssi_signo != SIGCHLD) {
            return false;
        }
    }
    return true;
}

// Relays stderr until the program has ended or an end signal came.
void watch(Tree& tree, Relay& relay, int events) {
    while (!tree.ended) {
        pollfd wait[2] = {{events, POLLIN, 0}, {relay.from, POLLIN, 0}};
        if (poll(wait, 2, -1) <= 0) {
            continue;
        }
        if (wait[1].revents != 0) {
            relayChunk(relay);
        }
        if (wait[0].revents != 0 && !onlyChildrenChanged(events)) {
            return;
        }
        reapAll(tree);
    }
}

void setLimit(int resource, rlim_t value) {
    if (value > 0) {
        const rlimit limit{value, value};
        setrlimit(resource, &limit);
    }
}

// The program's side of the fork: its own group and limits, the game's
// signal mask back, its channels as stdin, stdout and stderr. An exec that
// fails writes its errno for the game to read.
[[noreturn]] void becomeProgram(const SupervisedProgram& program, int err, const sigset_t& gameMask,
                                pid_t supervisor) {
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != supervisor) {
        _exit(127);
    }
    setLimit(RLIMIT_CPU, static_cast<rlim_t>(program.limits.cpuSeconds));
    setLimit(RLIMIT_AS, static_cast<rlim_t>(program.limits.memoryBytes));
    signal(SIGPIPE, SIG_DFL);
    sigprocmask(SIG_SETMASK, &gameMask, nullptr);
    dup2(program.in, STDIN_FILENO);
    dup2(program.out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    execvp(program.argv[0], program.argv);
    const int error = errno;
    writeAll(program.execReport, reinterpret_cast<const char*>(&error), sizeof error);
    _exit(127);
}

// Ends the supervisor as the program ended: the same exit code, or the same
// signal (without a core file); killed when the program could not be reaped.
[[noreturn]] void endAs(const Tree& tree) {
    if (tree.ended && WIFEXITED(tree.status)) {
        _exit(WEXITSTATUS(tree.status));
    }
    const int signalNumber =
        tree.ended && WIFSIGNALED(tree.status) ? WTERMSIG(tree.status) : SIGKILL;
    // The program's core, if any, was its own; the supervisor leaves none.
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    prctl(PR_SET_DUMPABLE, 0);
    struct sigaction plain = {};
    plain.sa_handler = SIG_DFL;
    sigaction(signalNumber, &plain, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    kill(getpid(), signalNumber);
    _exit(128 + signalNumber);
}

// A start that failed before the program ran reads to the game as an exec
// that failed with `error`.
[[noreturn]] void failStart(const SupervisedProgram& program, int error) {
    writeAll(program.execReport, reinterpret_cast<const char*>(&error), sizeof error);
    _exit(127);
}

// Makes the supervisor the tree's reaper and its end signals (and the
// children's ends) readable on the descriptor it returns, keeping the
// game's signal mask in `gameMask` for the program; -1 when it cannot.
int listenForEnds(pid_t game, sigset_t& gameMask) {
    sigset_t watched;
    sigemptyset(&watched);
    for (const int s : kEndSignals) {
        sigaddset(&watched, s);
    }
    sigaddset(&watched, SIGCHLD);
    sigprocmask(SIG_BLOCK, &watched, &gameMask);
    // The game going is heard as an end signal; one gone already ends this.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != game) {
        _exit(127);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    // A game gone while its reports are written must not end the supervisor,
    // and the children's ends are waited for whatever the game did with them.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGCHLD, SIG_DFL);
    return signalfd(-1, &watched, SFD_CLOEXEC | SFD_NONBLOCK);
}

}  // namespace

void ChildSupervisor::run(const SupervisedProgram& program, pid_t game) {
    setpgid(0, 0);
    int keep[] = {program.in, program.out, program.log, program.execReport, program.leftReport};
    closeAllBut(keep);
    sigset_t gameMask;
    const int events = listenForEnds(game, gameMask);
    int err[2] = {-1, -1};
    if (events < 0 || pipe2(err, O_CLOEXEC) != 0) {
        failStart(program, errno);
    }
    const pid_t self = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        becomeProgram(program, err[1], gameMask, self);
    }
    if (pid < 0) {
        failStart(program, errno);
    }
    close(program.in), close(program.out), close(program.execReport), close(err[1]);
    Tree tree{pid};
    Relay relay{err[0], program.log};
    watch(tree, relay, events);
    endTree(tree, program.leftReport);
    drain(relay);
    endAs(tree);
}

}  // namespace brv
