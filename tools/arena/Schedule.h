#pragma once

#include <cstdint>
#include <vector>

#include "tools/arena/ArenaGame.h"

namespace brv {

// The games of a tournament, numbered in playing order. For every seed
// (`seeds` of them from `firstSeed`) each pairing is played twice, A as
// colony 0 and B as colony 1, then swapped, so neither side profits from the
// colony it plays.

// A share of a schedule: the `index`-th (from 1) of `count` shares holds every
// count-th game, so each share gets a like mix of pairings and seeds, and the
// shares together are the whole schedule, each game in exactly one. A share's
// games are worked out from their numbers, never picked from a list of all,
// so a cluster task playing one share of a huge tournament needs the memory
// of its own games alone.
struct Share {
    int index = 1;
    int count = 1;
};

// Every pair of the `participants`, in the order they were named.
std::vector<ArenaGame> roundRobin(int participants, std::uint32_t firstSeed, int seeds,
                                  Share share = {});
// `challenger` against each other participant.
std::vector<ArenaGame> gauntlet(int challenger, int participants, std::uint32_t firstSeed,
                                int seeds, Share share = {});

}  // namespace brv
