#pragma once

#include <cstdint>
#include <vector>

#include "tools/arena/ArenaGame.h"

namespace brv {

// The games of a tournament, numbered in playing order. For every seed
// (`seeds` of them from `firstSeed`) each pairing is played twice, A as
// colony 0 and B as colony 1, then swapped, so neither side profits from the
// colony it plays.

// Every pair of the `participants`, in the order they were named.
std::vector<ArenaGame> roundRobin(int participants, std::uint32_t firstSeed, int seeds);
// `challenger` against each other participant.
std::vector<ArenaGame> gauntlet(int challenger, int participants, std::uint32_t firstSeed,
                                int seeds);
// The `index`-th (from 1) of `count` shares: every count-th game, so each
// share gets a like mix of pairings and seeds. The shares together are the
// whole schedule, each game in exactly one.
std::vector<ArenaGame> shareOf(const std::vector<ArenaGame>& games, int index, int count);

}  // namespace brv
