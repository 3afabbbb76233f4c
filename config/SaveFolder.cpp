#include "config/SaveFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "config/GameLocation.h"
#include "platform/FileIo.h"

namespace brv {

namespace fs = std::filesystem;

SaveFolder::SaveFolder(const GameLocation& location, std::string userDir)
    : ownDir_(location.dir + "/data") {
    if (!location.installed && !folderWriteProblem(ownDir_)) {
        dir_ = ownDir_;
        return;
    }
    dir_ = std::move(userDir);
    if (dir_.empty()) {
        problem_ = "neither XDG_DATA_HOME nor HOME names a folder for them";
    } else if (auto why = folderWriteProblem(dir_)) {
        problem_ = *why;
    }
}

std::string SaveFolder::userDataDir() {
    // Only absolute folders count; a relative one would depend on where the
    // game happens to be started.
    for (const auto& [variable, below] :
         {std::pair{"XDG_DATA_HOME", "brevora"}, std::pair{"HOME", ".local/share/brevora"}}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] == '/') {
            return (fs::path(value) / below).lexically_normal().string();
        }
    }
    return {};
}

std::string SaveFolder::writePath(const char* name) const {
    return dir_.empty() ? std::string() : dir_ + "/" + name;
}

std::string SaveFolder::readPath(const char* name) const {
    std::error_code ec;
    if (!dir_.empty() && (dir_ == ownDir_ || fs::exists(writePath(name), ec))) {
        return writePath(name);
    }
    return ownDir_ + "/" + name;
}

std::string SaveFolder::shownDir() const {
    std::error_code ec;
    return dir_.empty() ? std::string() : fs::absolute(dir_, ec).lexically_normal().string();
}

bool SaveFolder::save(const char* name, const std::function<bool(const std::string& path)>& write) {
    if (dir_.empty()) {
        reportProblem();
        return false;
    }
    const std::string path = writePath(name);
    // A file the game refused to read this run (too large, not a regular
    // file, closed to the player, or a link to such a file) was promised to
    // be left as it is, whatever it has become since.
    if (toldUnreadable_.count(path) != 0) {
        return false;
    }
    if (const ReadProblem why = readProblem(path); why.unreadable()) {
        reportUnreadable(path, why);
        return false;
    }
    reportReplacedLink(path);
    errno = 0;
    if (write(path)) {
        return true;
    }
    noteFailedSave(errno);
    reportProblem();
    return false;
}

void SaveFolder::noteFailedSave(int error) {
    if (!problem_.empty()) {
        return;
    }
    if (auto why = folderWriteProblem(dir_)) {
        problem_ = *why;
    } else {
        problem_ = error != 0 ? std::strerror(error) : "the files could not be written";
    }
}

void SaveFolder::reportProblem() {
    if (problem_.empty() || reported_) {
        return;
    }
    reported_ = true;
    if (dir_.empty()) {
        std::fprintf(stderr, "brevora: the settings and scores cannot be saved: %s\n",
                     problem_.c_str());
        return;
    }
    std::fprintf(stderr, "brevora: the settings and scores cannot be saved in \"%s\": %s\n",
                 shownDir().c_str(), problem_.c_str());
}

void SaveFolder::reportReplacedLink(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec) || !toldLink_.insert(path).second) {
        return;
    }
    std::fprintf(stderr,
                 "brevora: \"%s\" is a link; it is saved as a file in the link's place and "
                 "what the link led to is left as it is\n",
                 path.c_str());
}

void SaveFolder::reportUnreadable(const std::string& path, const ReadProblem& why) const {
    if (!toldUnreadable_.insert(path).second) {
        return;
    }
    std::fprintf(stderr,
                 "brevora: \"%s\" cannot be read (%s); it is left as it is and nothing is "
                 "saved over it\n",
                 path.c_str(), why.text().c_str());
}

}  // namespace brv
