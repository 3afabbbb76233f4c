#pragma once

#include <cstdint>
#include <string>

namespace brv {

class GameParams;

// One game to record: its seed, colonies and difficulty, the most updates
// to play (never more than Replay::kMaxUpdates, so a replay accepts the
// record) and the folder the replay is written into.
struct GameRecording {
    std::uint32_t seed = 1;
    int colonies = 2;
    int difficulty = 0;
    int maxUpdates = 0;
    std::string dir;
};

// Plays one game as a player who clicks at random: every `clickEvery`
// updates a flag is set or removed at a random place of the field, through
// the game screen's click rule, recorded as a replay "game-<seed>.replay".
// The clicks come from a generator of their own, seeded with the seed, so
// the rules' draws stay the game's. The replay's path, or empty when it
// could not be written.
std::string recordRandomGame(const GameParams& params, const GameRecording& game, int clickEvery);

// The same with colony 0 steered by the reference player `bot` (see
// PlayerBot), recorded as "<bot>-<seed>.replay"; empty for an unknown bot.
std::string recordBotGame(const GameParams& params, const GameRecording& game,
                          const std::string& bot);

// Checks one replay file headless on `params` and prints one line:
// "<file>: replay matches" or what differs. 0 when it matches, 1 when it
// differs, 2 when the file is refused. With `timeline`, stdout gets the
// replayed game's timeline as JSON lines and the verdict goes to stderr.
int checkReplayFile(const GameParams& params, const std::string& path, bool timeline = false);

}  // namespace brv
