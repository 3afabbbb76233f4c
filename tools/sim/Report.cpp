#include "tools/sim/Report.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <ostream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "config/GameParams.h"
#include "tools/sim/Match.h"
#include "tools/sim/ProcessPool.h"
#include "tools/sim/StopSignals.h"

namespace brv {

namespace {

constexpr int kStarvationKills = 50;
// A setting's seeds go to child processes in parts of at least this many
// games, and in this many parts at most.
constexpr int kGamesPerPart = 20;
constexpr int kMostParts = 5;
constexpr double kTicksPerMinute = 60000.0 / 30;

double percentile(std::vector<int> ticks, double share) {
    if (ticks.empty()) {
        return 0;
    }
    std::sort(ticks.begin(), ticks.end());
    const auto at = static_cast<std::size_t>(share * static_cast<double>(ticks.size() - 1) + 0.5);
    return ticks[at] / kTicksPerMinute;
}

std::string toText(const std::vector<ReportGame>& games) {
    std::string text;
    for (const ReportGame& g : games) {
        text += std::to_string(g.ticks) + " " + std::to_string(g.finished ? 1 : 0) + " " +
                std::to_string(g.winner) + " " + std::to_string(g.winnerCorner) + " " +
                std::to_string(g.kills) + " " + std::to_string(g.hugeLives) + " " +
                std::to_string(g.homeTicks) + "\n";
    }
    return text;
}

std::vector<ReportGame> fromText(const std::string& text) {
    std::vector<ReportGame> games;
    std::istringstream in(text);
    ReportGame g;
    int finished = 0;
    while (in >> g.ticks >> finished >> g.winner >> g.winnerCorner >> g.kills >> g.hugeLives >>
           g.homeTicks) {
        g.finished = finished != 0;
        games.push_back(g);
    }
    return games;
}

bool listed(const std::string& list, const std::string& item) {
    return list.empty() || ("," + list + ",").find("," + item + ",") != std::string::npos;
}

}  // namespace

std::vector<ReportSetting> reportSettings(const std::string& groups, const std::string& colonies,
                                          const std::string& difficulties) {
    static const char* const kNames[3] = {"Easy", "Medium", "Hard"};
    const auto wanted = [&](const std::string& group) { return listed(groups, group); };
    const bool countsNamed = !colonies.empty();
    std::vector<ReportSetting> settings;
    for (const std::string bot : {"", "idle", "forager", "novice", "newcomer"}) {
        const std::string group = bot.empty() ? "computer" : bot;
        for (int colonies = 2; colonies <= 4 && wanted(group); ++colonies) {
            // The forager's three- and four-colony rows cost a third of the
            // whole report again, the newcomer's long three-colony Easy games
            // a tenth: played when the colony counts are named.
            if (((bot == "forager" && colonies != 2) || (bot == "newcomer" && colonies == 3)) &&
                !countsNamed) {
                continue;
            }
            for (int d = 0; d < 3; ++d) {
                ReportSetting s;
                s.group = group;
                s.colonies = colonies;
                s.difficulty = d;
                s.bot = bot;
                s.name =
                    std::to_string(colonies) + " " + kNames[d] + (bot.empty() ? "" : " + " + bot);
                settings.push_back(s);
            }
        }
    }
    // Head to head, the first named as colony 0, by the rules of the second.
    // Easy and Medium opponents steer alike (the difficulties differ in the
    // world's rules, which both sides share), so only Hard meets another kind.
    for (const auto& [a, b] : {std::pair{2, 1}, std::pair{2, 0}}) {
        if (!wanted("versus")) {
            break;
        }
        ReportSetting s;
        s.group = "versus";
        s.colonies = 2;
        s.difficulty = b;
        s.ai = {a, b};
        s.name = std::string(kNames[a]) + " vs " + kNames[b];
        settings.push_back(s);
    }
    std::erase_if(settings, [&](const ReportSetting& s) {
        return !listed(colonies, std::to_string(s.colonies)) ||
               !listed(difficulties, difficultyName(s.difficulty));
    });
    return settings;
}

std::vector<ReportGame> playSetting(const GameParams& params, const ReportSetting& setting,
                                    const ReportOptions& options) {
    MatchOptions match;
    match.colonies = setting.colonies;
    match.difficulty = setting.difficulty;
    match.maxTicks = options.maxTicks;
    match.player = !setting.bot.empty();
    match.bot = setting.bot;
    match.ai = setting.ai;
    std::vector<ReportGame> games;
    // A stop signal ends a game process between games.
    for (int g = 0; g < options.games && StopSignals::caught() == 0; ++g) {
        match.seed = options.firstSeed + static_cast<std::uint32_t>(g);
        const MatchResult r = playMatch(params, match);
        ReportGame game;
        game.ticks = r.ticks;
        game.finished = r.finished;
        // With a player, the game ends when the player is gone: a computer
        // colony still alive then counts as no one's win.
        game.winner = r.winner;
        game.winnerCorner = r.winner >= 0 && r.winner < static_cast<int>(r.corners.size())
                                ? r.corners[r.winner]
                                : -1;
        for (int k : r.kills) {
            game.kills += k;
        }
        game.hugeLives = r.hugeLives;
        game.homeTicks = r.startSourceTicks.empty() ? -1 : r.startSourceTicks.front();
        games.push_back(game);
    }
    return games;
}

std::string reportHeader() {
    return "setting               median  p10   p90  starved unfinished huge  won by corner "
           "TL/TR/BL/BR  colony 0 wins  home s\n";
}

ReportFigures reportFigures(const std::vector<ReportGame>& games) {
    std::vector<int> ticks;
    std::vector<int> home;
    int starved = 0, unfinished = 0, huge = 0, first = 0;
    int corners[4] = {0, 0, 0, 0};
    for (const ReportGame& g : games) {
        ticks.push_back(g.ticks);
        if (g.homeTicks >= 0) {
            home.push_back(g.homeTicks);
        }
        starved += g.finished && g.kills < kStarvationKills ? 1 : 0;
        unfinished += g.finished ? 0 : 1;
        huge += g.hugeLives > 0 ? 1 : 0;
        first += g.winner == 0 ? 1 : 0;
        if (g.winnerCorner >= 0 && g.winnerCorner < 4) {
            ++corners[g.winnerCorner];
        }
    }
    const double n = games.empty() ? 1.0 : static_cast<double>(games.size());
    const auto pct = [&](int count) { return static_cast<int>(100.0 * count / n + 0.5); };
    ReportFigures f;
    f.median = percentile(ticks, 0.5);
    f.p10 = percentile(ticks, 0.1);
    f.p90 = percentile(ticks, 0.9);
    f.starved = pct(starved);
    f.unfinished = pct(unfinished);
    f.huge = pct(huge);
    for (int c = 0; c < 4; ++c) {
        f.corners[c] = pct(corners[c]);
    }
    f.firstWins = pct(first);
    f.homeSeconds = percentile(home, 0.5) * 60;
    return f;
}

std::string reportLine(const ReportSetting& setting, const ReportFigures& f) {
    char line[256];
    std::snprintf(
        line, sizeof line,
        "%-20s %6.1f %5.1f %5.1f  %5d%% %8d%% %4d%%  %4d/%3d/%3d/%3d %%    %5d%%  %6.1f\n",
        setting.name.c_str(), f.median, f.p10, f.p90, f.starved, f.unfinished, f.huge, f.corners[0],
        f.corners[1], f.corners[2], f.corners[3], f.firstWins, f.homeSeconds);
    return line;
}

std::string reportJson(const ReportSetting& setting, const ReportFigures& f) {
    nlohmann::ordered_json line;
    line["setting"] = setting.name;
    line["group"] = setting.group;
    line["colonies"] = setting.colonies;
    line["difficulty"] = difficultyName(setting.difficulty);
    line["median"] = f.median;
    line["p10"] = f.p10;
    line["p90"] = f.p90;
    line["starved"] = f.starved;
    line["unfinished"] = f.unfinished;
    line["huge"] = f.huge;
    line["corners"] = f.corners;
    line["first_wins"] = f.firstWins;
    line["home_seconds"] = f.homeSeconds;
    return line.dump() + "\n";
}

ReportRun printReport(const GameParams& params, const std::vector<ReportSetting>& settings,
                      const ReportOptions& options, std::ostream& out) {
    // Each setting's seeds are played in a few parts, each in a child
    // process of its own: one long setting then no longer runs alone at the
    // end while the other processes wait. Games with more colonies last
    // longer and cost more per tick, so their parts start first.
    const int parts = std::clamp(options.games / kGamesPerPart, 1, kMostParts);
    struct Part {
        std::size_t setting;
        std::size_t index;
        int first;
        int games;
    };
    std::vector<Part> work;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        for (int k = 0; k < parts; ++k) {
            const int first = options.games * k / parts;
            work.push_back(
                {i, static_cast<std::size_t>(k), first, options.games * (k + 1) / parts - first});
        }
    }
    std::stable_sort(work.begin(), work.end(), [&](const Part& a, const Part& b) {
        return settings[a.setting].colonies > settings[b.setting].colonies;
    });
    std::vector<std::vector<std::vector<ReportGame>>> results(
        settings.size(), std::vector<std::vector<ReportGame>>(static_cast<std::size_t>(parts)));
    ReportRun run;
    const ProcessRun played = runInProcesses(
        work.size(), options.jobs,
        [&](std::size_t item) {
            ReportOptions part = options;
            part.firstSeed += static_cast<std::uint32_t>(work[item].first);
            part.games = work[item].games;
            return toText(playSetting(params, settings[work[item].setting], part));
        },
        [&](std::size_t item, const std::string& text) {
            results[work[item].setting][work[item].index] = fromText(text);
            run.gamesFinished += work[item].games;
        });
    run.ok = played.ok;
    run.stopSignal = played.stopSignal;
    if (run.stopSignal != 0) {
        return run;
    }
    const auto gamesOf = [&](std::size_t setting) {
        std::vector<ReportGame> games;
        for (const auto& part : results[setting]) {
            games.insert(games.end(), part.begin(), part.end());
        }
        return games;
    };
    if (options.json) {
        for (std::size_t i = 0; i < settings.size(); ++i) {
            out << reportJson(settings[i], reportFigures(gamesOf(i)));
        }
        return run;
    }
    out << "Lengths in minutes of game time; " << options.games << " seeds from "
        << options.firstSeed << " per setting; unfinished: no end within "
        << options.maxTicks / kTicksPerMinute << " minutes; huge: games with a virus whose "
        << "life passed 1,000,000 at the end; starved: fewer than " << kStarvationKills
        << " kills in all; home s: median seconds colony 0's home source lasted.\n";
    out << reportHeader();
    for (std::size_t i = 0; i < settings.size(); ++i) {
        out << reportLine(settings[i], reportFigures(gamesOf(i)));
    }
    return run;
}

}  // namespace brv
