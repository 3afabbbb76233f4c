#pragma once

#include <string>

#include "config/GameLocation.h"
#include "config/SaveFolder.h"

namespace brv::test {

// The save folder a game in `gameDir` would choose: its own "data/" while it
// can be written and the game is not installed, otherwise `userDir`.
inline SaveFolder saveFolderIn(const std::string& gameDir, bool installed = false,
                               const std::string& userDir = "") {
    GameLocation location;
    location.dir = gameDir;
    location.installed = installed;
    return SaveFolder(location, userDir);
}

}  // namespace brv::test
