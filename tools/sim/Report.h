#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace brv {

class GameParams;

// One line of the balance report: a kind of game played over many seeds.
struct ReportSetting {
    std::string name;
    // "computer", "idle", "forager", "novice", "newcomer" or "versus".
    std::string group;
    int colonies = 2;
    int difficulty = 0;  // the rules' difficulty
    // Colony 0 is a player steered by this reference player ("" for none).
    std::string bot;
    // Opponent kind per colony for head-to-head games; empty: the difficulty's.
    std::vector<int> ai;
};

// What one game of a setting came to.
struct ReportGame {
    int ticks = 0;
    bool finished = false;
    int winner = -1;
    int winnerCorner = -1;
    int kills = 0;
    int hugeLives = 0;
    // Ticks colony 0's home source lasted; -1 when it outlived the game.
    int homeTicks = -1;
};

struct ReportOptions {
    int games = 100;
    std::uint32_t firstSeed = 1000;
    // Ticks after which a game counts as unfinished (60 minutes).
    int maxTicks = 120000;
    // Settings played at once, each in a process of its own.
    int jobs = 2;
    // One JSON object per setting instead of the table.
    bool json = false;
};

// Every colony count and difficulty between computer colonies, the same with
// an idle player, with the novice and with the newcomer, two colonies with
// the forager, and the difficulties head to head.
// With `groups` (a comma list of group names) only those groups; with
// `colonies` or `difficulties` (comma lists: "2,4", "easy,hard") only those.
std::vector<ReportSetting> reportSettings(const std::string& groups = "",
                                          const std::string& colonies = "",
                                          const std::string& difficulties = "");

// Plays `options.games` seeds of one setting.
std::vector<ReportGame> playSetting(const GameParams& params, const ReportSetting& setting,
                                    const ReportOptions& options);

// How a report ended: whole, or stopped early by a signal (SIGINT, SIGTERM
// or SIGHUP) after `gamesFinished` games, when nothing is printed.
struct ReportRun {
    bool ok = false;  // every setting was played
    int stopSignal = 0;
    int gamesFinished = 0;
};

// Plays every setting (in `options.jobs` processes at a time) and prints the
// table to `out`.
ReportRun printReport(const GameParams& params, const std::vector<ReportSetting>& settings,
                      const ReportOptions& options, std::ostream& out);

// The figures of one setting's games.
struct ReportFigures {
    double median = 0;  // game length, minutes
    double p10 = 0;
    double p90 = 0;
    int starved = 0;  // percent of games: ended with fewer than 50 kills in all
    int unfinished = 0;
    int huge = 0;  // percent of games with a virus of a life past a million at the end
    int corners[4] = {0, 0, 0, 0};  // percent of games won from each start corner
    int firstWins = 0;              // percent of games colony 0 won
    // Median seconds colony 0's home source lasted, over the games it was
    // spent in.
    double homeSeconds = 0;
};
ReportFigures reportFigures(const std::vector<ReportGame>& games);

// The table's line for one setting's games, or its JSON object.
std::string reportLine(const ReportSetting& setting, const ReportFigures& figures);
std::string reportJson(const ReportSetting& setting, const ReportFigures& figures);
std::string reportHeader();

}  // namespace brv
