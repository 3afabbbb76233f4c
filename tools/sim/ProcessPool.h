#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace brv {

// What one child process does with its item: the text it hands back.
using ProcessWork = std::function<std::string(std::size_t item)>;
// Hears, in the parent, each item's text as its child ends.
using ProcessDone = std::function<void(std::size_t item, const std::string& text)>;

// Runs `work` for the items 0 .. count-1, each in a child process of its own
// (a game sets the difficulty of the parameters it shares with the others,
// so processes keep games apart), at most `jobs` at once. False when a child could not be
// started or failed; the items whose children ended well were all handed on.
bool runInProcesses(std::size_t count, int jobs, const ProcessWork& work, const ProcessDone& done);

}  // namespace brv
