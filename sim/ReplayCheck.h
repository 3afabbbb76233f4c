#pragma once

#include <string>
#include <vector>

#include "sim/Replay.h"
#include "sim/Timeline.h"

namespace brv {

class GameRules;
class World;

// Builds a game's colonies as the game screen does: the player first, then
// computer sides of `difficulty`, in the colony colours, and sets the world up.
void setUpGame(World& world, int colonies, int difficulty);
// The same with the player-kind colonies named by `steered` (indices).
void setUpGame(World& world, int colonies, int difficulty, const std::vector<int>& steered);
// The game of a record: its colonies, steered ones and computer kinds.
void setUpGame(World& world, const Replay& replay);
// Whether a game set up as above has come to its end without a resignation:
// at most one colony is left, or the player's (the first) has no virus.
bool gameEnded(const World& world);

// Plays a record headless on `params` at the record's difficulty, on a rules
// state of its own. Matches when every checkpoint and the end agree;
// otherwise `firstDifference` is the first update found to differ (the
// checkpoint where it showed) and `why` says what. The timeline is the
// replayed game's, as far as it was played.
struct ReplayOutcome {
    bool matches = false;
    int firstDifference = -1;
    std::string why;
    Timeline timeline;
};
ReplayOutcome checkReplay(const GameRules& params, const Replay& replay);

}  // namespace brv
