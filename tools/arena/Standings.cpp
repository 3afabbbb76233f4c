#include "tools/arena/Standings.h"

#include <algorithm>
#include <cstdio>

namespace brv {

namespace {

Standing& standingOf(std::vector<Standing>& table, const std::string& name) {
    auto found =
        std::find_if(table.begin(), table.end(), [&](const Standing& s) { return s.name == name; });
    if (found != table.end()) {
        return *found;
    }
    table.push_back({});
    table.back().name = name;
    return table.back();
}

void countBots(const ArenaResult& r, std::vector<Standing>& table) {
    for (const ArenaBotReport& bot : r.bots) {
        Standing& s = standingOf(table, r.players[static_cast<std::size_t>(bot.colony)]);
        s.program = true;
        s.decisions += bot.decisions;
        for (const int n : bot.faults) {
            s.faults += n;
        }
        s.roundTrips.add(bot.roundTrips);
    }
}

// The bot programs' lines: how quickly each answered over all its games.
std::string botLines(const std::vector<Standing>& standings) {
    std::string text;
    char line[160];
    for (const Standing& s : standings) {
        if (!s.program) {
            continue;
        }
        if (text.empty()) {
            text = "\nBot round trips (state sent to answer read) over all decisions:\n";
            std::snprintf(line, sizeof line, "%-20s %10s %7s %10s %10s\n", "participant",
                          "decisions", "faults", "median ms", "p99 ms");
            text += line;
        }
        std::snprintf(line, sizeof line, "%-20s %10lld %7lld %10.3f %10.3f\n", s.name.c_str(),
                      s.decisions, s.faults, s.roundTrips.percentileMs(50),
                      s.roundTrips.percentileMs(99));
        text += line;
    }
    return text;
}

std::string signedElo(double elo) {
    char text[16];
    std::snprintf(text, sizeof text, "%+.0f", elo);
    return text;
}

}  // namespace

std::vector<Standing> standingsOf(std::vector<ArenaResult> results) {
    std::sort(results.begin(), results.end(),
              [](const ArenaResult& a, const ArenaResult& b) { return a.id < b.id; });
    std::vector<Standing> table;
    for (const ArenaResult& r : results) {
        for (int k = 0; k < 2; ++k) {
            GameTally& tally = standingOf(table, r.players[static_cast<std::size_t>(k)]).tally;
            if (r.winner == k) {
                ++tally.wins;
            } else if (r.winner == 1 - k) {
                ++tally.losses;
            } else {
                ++tally.draws;
            }
        }
        countBots(r, table);
    }
    for (Standing& s : table) {
        s.elo = eloFromTally(s.tally);
    }
    std::stable_sort(table.begin(), table.end(), [](const Standing& a, const Standing& b) {
        return a.tally.score() > b.tally.score();
    });
    return table;
}

std::string standingsTable(const std::vector<Standing>& standings) {
    std::string text =
        "Elo: from each participant's score against the opponents it met (in a round robin, the "
        "rest of the field), with its 95% interval; unfinished games count half.\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-20s %6s %6s %6s %10s %7s %6s %15s\n", "participant",
                  "games", "wins", "losses", "unfinished", "score", "Elo", "95% interval");
    text += line;
    for (const Standing& s : standings) {
        char interval[40];
        std::snprintf(interval, sizeof interval, "[%s, %s]", signedElo(s.elo.low).c_str(),
                      signedElo(s.elo.high).c_str());
        std::snprintf(line, sizeof line, "%-20s %6d %6d %6d %10d %6.1f%% %6s %15s\n",
                      s.name.c_str(), s.tally.games(), s.tally.wins, s.tally.losses, s.tally.draws,
                      100.0 * s.tally.score(), signedElo(s.elo.elo).c_str(), interval);
        text += line;
    }
    return text + botLines(standings);
}

}  // namespace brv
