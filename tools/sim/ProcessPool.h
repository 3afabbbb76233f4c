#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace brv {

// What one child process does with its item: the text it hands back.
using ProcessWork = std::function<std::string(std::size_t item)>;
// Hears, in the parent, each item's text as its child ends.
using ProcessDone = std::function<void(std::size_t item, const std::string& text)>;

// How a run of child processes ended.
struct ProcessRun {
    // Every item's child was started and ended well.
    bool ok = false;
    // SIGINT, SIGTERM or SIGHUP when one stopped the run early; 0 otherwise.
    int stopSignal = 0;
    // Why a child could not be started; empty when none failed to start.
    std::string why;
};

// Runs `work` for the items 0 .. count-1, each in a child process of its own
// (a game sets the difficulty of the parameters it shares with the others,
// so processes keep games apart), at most `jobs` at once. The items whose
// children ended well were all handed on. Each child's text passes through a
// file of its own in TMPDIR (or /tmp), removed once read.
//
// A stop signal (see StopSignals) ends the run within about a second: no
// item is started after it, each running child is asked to stop (SIGTERM:
// it ends its bots and its game) and killed with its children if it has not
// ended a second later, and every child's file is removed. A child that
// finished its item meanwhile is still handed on.
ProcessRun runInProcesses(std::size_t count, int jobs, const ProcessWork& work,
                          const ProcessDone& done);

}  // namespace brv
