#pragma once

#include <string>
#include <vector>

namespace brv {

// Where the game's read-only data set lies: the folder holding "data/data.pk"
// (or the loose rule file "dat/param.txt") that every archive path starts from.
struct GameLocation {
    std::string dir = ".";
    // The data set as a package installs it, shared by everyone on the
    // machine: the files the game writes go to the player's own data folder.
    bool installed = false;
    // The folders looked at in vain, in order; empty once one held the data.
    std::vector<std::string> searched;
};

// Looks for the data set in the working folder first, so a game started from
// its own folder runs exactly as it always has; then beside the executable
// (a game folder started from elsewhere); then in the install tree the
// executable belongs to (`installedDataDir`, relative to the executable's
// folder). The folder compiled in as the install location is used only when
// the executable's own path is unknown. Found nowhere: the working folder,
// whose missing files the start-up check then names.
GameLocation locateGame(const std::string& workDir, const std::string& executable);

// The same from the real working folder and the running executable.
GameLocation locateGame();

// True when `dir` holds the archive or the loose rules.
bool holdsDataSet(const std::string& dir);

}  // namespace brv
