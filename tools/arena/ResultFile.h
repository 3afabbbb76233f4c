#pragma once

#include <string>
#include <vector>

#include "tools/arena/ArenaGame.h"

namespace brv {

// A results file: one JSON line per game (see toJsonLine(ArenaResult)).
// Appends the file's games to `results`; false, with `why` naming the file
// and line, when the file cannot be read, is too large, holds a line that is
// no result, or plays a game `results` already has (the same share merged
// twice would count it twice). Nothing of a refused file is appended.
bool readResultFile(const std::string& path, std::vector<ArenaResult>& results, std::string& why);

}  // namespace brv
