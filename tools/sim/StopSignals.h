#pragma once

#include <sys/types.h>

namespace brv {

// While one lives, SIGINT, SIGTERM and SIGHUP no longer end a tool at once:
// each only notes itself and wakes whoever waits on `wakeFd()`, so the tool
// stops at a safe point, with no result line cut in half, every game's
// process ended and every temporary file removed. A child process that ends
// wakes the same pipe, so a loop that waits for its children hears both.
// A signal the tool was started ignoring (SIGHUP under nohup) stays ignored.
// A tool holds one for its whole run; the process pool holds one while it
// plays, and the two nest.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked the tool to stop; 0 while none has.
    static int caught();
    // "SIGINT", "SIGTERM" or "SIGHUP".
    static const char* name(int signal);
    // Readable once a stop signal came or a child ended since the last
    // `drain()`; -1 while none lives.
    static int wakeFd();
    static void drain();

    // In a game process just forked by the pool: a stop signal there (the
    // pool's request, or the terminal's) asks each of the process's children
    // (the supervisors its bots run under) to end its bot's whole tree at
    // once, so no bot outlives its game and a wait for a bot's answer ends;
    // the game then sees `caught()` and ends. The pipe is the parent's and is
    // let go.
    static void becomeWorker();

    // Sends SIGTERM to each child of `pid`. Async-signal-safe.
    static void endChildrenOf(pid_t pid);
};

}  // namespace brv
