#include "tools/arena/ResultFile.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "platform/FileIo.h"

namespace brv {

namespace {

// Far above a result line (about 250 bytes, up to about 8 kB with two
// bots' round trips in every bucket); a longer one is damaged. A
// file is bounded by the largest the game reads in one piece (a million
// games).
constexpr std::size_t kMaxLine = 16 * 1024;

}  // namespace

bool readResultFile(const std::string& path, std::vector<ArenaResult>& results, std::string& why) {
    ReadProblem problem;
    const auto bytes = readWholeFile(path, kMaxFileBytes, problem);
    if (!bytes) {
        why = path + ": " + problem.text();
        return false;
    }
    const std::string text(bytes->begin(), bytes->end());
    std::set<int> seen;
    for (const ArenaResult& r : results) {
        seen.insert(r.id);
    }
    std::vector<ArenaResult> read;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string where = path + ":" + std::to_string(number) + ": ";
        if (line.empty()) {
            continue;
        }
        if (line.size() > kMaxLine) {
            why = where + "a line longer than " + std::to_string(kMaxLine) + " bytes";
            return false;
        }
        auto result = arenaResultFromLine(line, why);
        if (!result) {
            why = where + "no game result: " + why;
            return false;
        }
        if (!seen.insert(result->id).second) {
            why = where + "game " + std::to_string(result->id) + " is already counted";
            return false;
        }
        read.push_back(*result);
    }
    results.insert(results.end(), read.begin(), read.end());
    return true;
}

}  // namespace brv
