#pragma once

#include <sys/types.h>
#include <cstddef>

#include "platform/ChildProcess.h"

namespace brv {

// What the game hands the supervisor of one program, all made ready before
// the fork: after it nothing may allocate. The descriptors are the
// program's stdin and stdout, the log its stderr is appended to, the pipe a
// failed exec writes its errno into and the pipe the supervisor names what
// it could not end on.
struct SupervisedProgram {
    char* const* argv = nullptr;
    ChildLimits limits;
    int in = -1;
    int out = -1;
    int log = -1;
    int execReport = -1;
    int leftReport = -1;
};

// The game's own process that a program runs under, forked from the game
// and never exec'd. It adopts every orphan of the program's tree (a child
// subreaper), hears when the game goes (a parent-death signal), relays the
// program's stderr into its log up to a cap, and when the program ends, or
// the game ends it (SIGTERM) or goes, ends every process left of the tree
// before it ends itself with the program's own status: an exit code stays
// that code, a death by a signal dies by the same signal.
class ChildSupervisor {
public:
    // What one run of a program may add to its log; past it one line says
    // the log was cut and the rest is read and dropped, so the program
    // never waits on its stderr.
    static constexpr std::size_t kStderrCap = 1024 * 1024;
    static constexpr char kCutLine[] = "[the game cut this bot's stderr here: 1 MiB in one run]\n";
    // How long the supervisor keeps killing what is left of the tree before
    // it names the survivors and gives up.
    static constexpr int kEndWithinMs = 1000;

    // Runs in the forked child; `game` is the pid of the process that
    // forked it. Never returns. Only async-signal-safe calls from here on.
    [[noreturn]] static void run(const SupervisedProgram& program, pid_t game);
};

}  // namespace brv
