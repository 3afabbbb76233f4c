#include "records/ReplayFiles.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "config/SaveFolder.h"
#include "platform/FileIo.h"

namespace brv {

std::optional<Replay> ReplayFiles::readFile(const std::string& path, std::string& why) {
    ReadProblem problem;
    const auto bytes = readWholeFile(path, kMaxFileBytes, problem);
    if (!bytes) {
        why = "cannot be read: " + problem.text();
        return std::nullopt;
    }
    return Replay::parse(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), why);
}

std::optional<Replay> ReplayFiles::readPlayable(const std::string& path, const GameRules& params,
                                                std::string& why) {
    std::optional<Replay> replay = readFile(path, why);
    if (replay) {
        why = replay->rulesRefusal(params);
    }
    return why.empty() ? replay : std::nullopt;
}

std::string ReplayFiles::newestIn(const SaveFolder& folder) {
    if (folder.dir().empty()) {
        return {};
    }
    // Names sort by date and time, as save() makes them.
    std::string newest;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(folder.dir() + "/" + kFolder, error)) {
        const std::string path = entry.path().string();
        if (entry.path().extension() == ".replay" && path > newest) {
            newest = path;
        }
    }
    return newest;
}

std::string ReplayFiles::save(const Replay& replay, const SaveFolder& folder) {
    if (folder.dir().empty()) {
        return {};
    }
    namespace fs = std::filesystem;
    const std::string dir = folder.dir() + "/" + kFolder;
    const std::string path = freeDatedName(dir, "brevora", ".replay", std::time(nullptr));
    const std::string text = replay.toText();
    if (path.empty() || !writeFileAtomically(path, text.data(), text.size())) {
        return {};
    }
    // Names sort by date and time: all but the newest go.
    std::vector<std::string> kept;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.path().extension() == ".replay") {
            kept.push_back(entry.path().string());
        }
    }
    std::sort(kept.begin(), kept.end());
    for (std::size_t i = 0; i + kKept < kept.size(); ++i) {
        removeFile(kept[i]);
    }
    return path;
}

}  // namespace brv
