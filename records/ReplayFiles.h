#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sim/Replay.h"

namespace brv {

class GameRules;
class SaveFolder;

// A game's record as a file: read from any path, and kept in replays/ of the
// save folder, where only the newest kKept stay.
class ReplayFiles {
public:
    static constexpr const char* kFolder = "replays";
    // The newest replays kept in the folder; older ones are deleted.
    static constexpr std::size_t kKept = 20;
    // Far above the record of a day-long game; a larger file is refused.
    static constexpr std::uint64_t kMaxFileBytes = 64ull * 1024 * 1024;

    // Reads and parses a file: nothing, with `why`, when it cannot be read
    // or is refused.
    static std::optional<Replay> readFile(const std::string& path, std::string& why);
    // readFile and the record's rulesRefusal together: a record to play on
    // `params`, or nothing with `why`.
    static std::optional<Replay> readPlayable(const std::string& path, const GameRules& params,
                                              std::string& why);
    // Writes the record atomically into replays/ of `folder`, named by date
    // and time, and deletes all but the newest kKept there. The path, or
    // empty when it could not be written.
    static std::string save(const Replay& replay, const SaveFolder& folder);
    // The newest replay in replays/ of `folder`; empty when there is none.
    static std::string newestIn(const SaveFolder& folder);
};

}  // namespace brv
