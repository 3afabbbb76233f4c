#pragma once

#include <string>
#include <vector>

#include "tools/arena/ArenaGame.h"
#include "tools/arena/Elo.h"
#include "tools/arena/RoundTrips.h"

namespace brv {

// One participant's line of the table.
struct Standing {
    std::string name;
    GameTally tally;  // draws: unfinished games
    EloEstimate elo;
    // A bot program's decisions, faults and round trips over its games.
    bool program = false;
    long long decisions = 0;
    long long faults = 0;
    RoundTrips roundTrips;
};

// The table of a tournament from its results, in any order and from any
// number of shares: participants by score, best first, ties in the order the
// schedule first has them play (so a merged run's table is the whole run's).
std::vector<Standing> standingsOf(std::vector<ArenaResult> results);
// The table as text, with a line saying what its Elo is relative to, and
// below it the bot programs' decisions, faults and round trips.
std::string standingsTable(const std::vector<Standing>& standings);

}  // namespace brv
