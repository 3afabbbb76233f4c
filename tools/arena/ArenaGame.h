#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bothost/BotSteering.h"
#include "tools/arena/Participant.h"
#include "tools/arena/RoundTrips.h"

namespace brv {

class GameParams;

// One game of a tournament: its place in the schedule, its seed and the
// participant (an index into the field) on each of the two colonies.
struct ArenaGame {
    int id = 0;
    std::uint32_t seed = 0;
    std::array<int, 2> seats{};
};

// How every game of a tournament is played.
struct ArenaRules {
    int maxTicks = 120000;  // an hour of game time; a longer game is unfinished
    int difficulty = 1;     // the game's difficulty when no computer level plays
    std::string replayDir;  // where each game's replay is kept; empty: none
    // How bot programs are hosted: decision interval and time bank.
    BotHostSettings botHost;
};

// How a bot program steered its colony through one game.
struct ArenaBotReport {
    int colony = 0;
    int decisions = 0;
    std::array<int, kBotFaultKinds> faults{};
    std::string stopped;     // why it stopped steering before the end; empty when it did not
    std::string leftBehind;  // what of its program could not be ended; empty when nothing
    RoundTrips roundTrips;
};

// A played game as its result line holds it. `winner` is the winning colony
// (0 or 1), or -1 for an unfinished game or one whose colonies died together:
// those count as draws.
struct ArenaResult {
    int id = 0;
    std::uint32_t seed = 0;
    std::array<std::string, 2> players;
    int difficulty = 0;
    int ticks = 0;
    bool finished = false;
    int winner = -1;
    std::array<int, 2> count{};
    std::string checksum;
    std::string replay;  // empty when the game has none
    std::vector<ArenaBotReport> bots;
};

// Plays one game: the rules state starts from the seed alone, so a game
// plays the same in any process and in any order (a bot program's, given
// the same answers). Its replay is written into the rules' folder, with each
// bot's stderr beside it.
ArenaResult playArenaGame(GameParams& params, const std::vector<Participant>& field,
                          const ArenaGame& game, const ArenaRules& rules);

std::string toJsonLine(const ArenaResult& result);
// Nothing, with `why`, for a line that is no whole result.
std::optional<ArenaResult> arenaResultFromLine(const std::string& line, std::string& why);

}  // namespace brv
