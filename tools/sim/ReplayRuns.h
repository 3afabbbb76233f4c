#pragma once

#include <cstdint>
#include <string>

namespace brv {

class GameParams;

// Plays one game as a player who clicks at random: every `clickEvery`
// updates a flag is set or removed at a random place of the field, through
// the same colony calls the game screen makes, recorded as a replay. The
// clicks come from a generator of their own, seeded with `seed`, so the
// rules' draws stay the game's. Plays at most Replay::kMaxUpdates updates,
// so the record is one a replay accepts. Writes the replay into `dir`; its
// path, or empty when it could not be written.
std::string recordRandomGame(GameParams& params, std::uint32_t seed, int colonies, int difficulty,
                             int maxUpdates, int clickEvery, const std::string& dir);

// Checks one replay file headless on `params` and prints one line:
// "<file>: replay matches" or what differs. 0 when it matches, 1 when it
// differs, 2 when the file is refused. With `timeline`, stdout gets the
// replayed game's timeline as JSON lines and the verdict goes to stderr.
int checkReplayFile(GameParams& params, const std::string& path, bool timeline = false);

}  // namespace brv
