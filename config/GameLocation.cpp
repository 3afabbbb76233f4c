#include "config/GameLocation.h"

#include <filesystem>

#include "platform/FileIo.h"

namespace brv {

namespace fs = std::filesystem;

bool holdsDataSet(const std::string& dir) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(dir) / "data/data.pk", ec) ||
           fs::is_regular_file(fs::path(dir) / "dat/param.txt", ec);
}

GameLocation locateGame(const std::string& workDir, const std::string& executable) {
    GameLocation found;
    auto tryDir = [&found](const std::string& dir, bool installed) {
        if (holdsDataSet(dir)) {
            found.dir = dir;
            found.installed = installed;
            found.searched.clear();
            return true;
        }
        found.searched.push_back(dir);
        return false;
    };
    if (tryDir(workDir, false)) {
        return found;
    }
    // The build defines where its install puts the data set: relative to the
    // executable's folder (an install tree moves as a whole) and as the
    // absolute folder of the configured prefix.
    if (executable.empty()) {
        if (tryDir(BREVORA_INSTALLED_DATA_DIR, true)) {
            return found;
        }
    } else {
        const fs::path folder = fs::path(executable).parent_path();
        const fs::path installed = (folder / BREVORA_DATA_FROM_EXECUTABLE).lexically_normal();
        if (tryDir(folder.string(), false) || tryDir(installed.string(), true)) {
            return found;
        }
    }
    found.dir = workDir;
    return found;
}

GameLocation locateGame() {
    return locateGame(".", executablePath());
}

}  // namespace brv
