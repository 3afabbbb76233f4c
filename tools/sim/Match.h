#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace brv {

class GameParams;

// One headless game between computer-steered colonies, as the demonstration
// plays it, optionally with an idle player colony at index 0.
struct MatchOptions {
    std::uint32_t seed = 1;
    int colonies = 4;
    int difficulty = 0;  // 0 Easy, 1 Medium, 2 Hard: every rule triple follows it
    int maxTicks = 200000;
    // Colony 0 is a player colony that keeps its start flag and places no other.
    bool player = false;
    // Opponent kind per colony (0 Easy, 1 Medium, 2 Hard); empty: the kind the
    // difficulty implies.
    std::vector<int> ai;
    // Calls `trace` every `traceEvery` ticks (0: never).
    int traceEvery = 0;
};

struct MatchResult {
    std::uint32_t seed = 0;
    int colonies = 0;
    int difficulty = 0;
    // The tick on which the end condition first held, or the ticks played.
    int ticks = 0;
    bool finished = false;
    int winner = -1;
    std::vector<int> count;
    std::vector<int> kills;
    std::string checksum;
};

using TraceSink = std::function<void(int tick, const std::vector<int>& counts)>;

// Plays one game. The generator is seeded with the options' seed and the
// process counters are reset first, so the result depends on the seed, the
// rules and the options alone. `params` must hold valid rules and the sprite
// descriptions; its difficulty is set from the options.
MatchResult playMatch(GameParams& params, const MatchOptions& options, const TraceSink& trace = {});

// One line of JSON: seed, colonies, difficulty, ticks, finished, winner, count,
// kills, checksum.
std::string toJsonLine(const MatchResult& result);

const char* difficultyName(int difficulty);
// -1 for a name that is not easy, medium or hard.
int difficultyFromName(const std::string& name);

}  // namespace brv
