// brevora-sim: plays headless games between computer-steered colonies and
// prints one JSON line per game (or its timeline), checks and records replays.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "bothost/CommandWords.h"
#include "config/GameParams.h"
#include "platform/Clock.h"
#include "tools/sim/BotHostOptions.h"
#include "tools/sim/Match.h"
#include "tools/sim/PlayerBot.h"
#include "tools/sim/ReplayRuns.h"
#include "tools/sim/Report.h"
#include "tools/sim/StopSignals.h"
#include "tools/sim/ToolData.h"

namespace {

struct Settings {
    std::optional<std::uint32_t> seed;
    int colonies = 4;
    std::string difficulty = "easy";
    int games = 1;
    int maxTicks = 200000;
    std::string data;
    bool player = false;
    std::string ai;
    int trace = 0;
    int speed = 1;
    std::string replay;
    std::string replayDir;
    std::string record;
    int clickEvery = 50;
    bool timeline = false;
    std::string playerBot;
    bool report = false;
    int jobs = 0;
    bool json = false;
    std::string groups;
    std::string onlyColonies;
    std::string onlyDifficulties;
    std::vector<std::string> bots;
    std::string botReplays;
    brv::BotHostSettings botHost;
};

// "easy,hard,…": one known kind per colony.
std::optional<std::vector<int>> parseAi(const std::string& list, int colonies) {
    std::vector<int> kinds;
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        const int kind = brv::difficultyFromName(name);
        if (kind < 0) {
            std::cerr << "brevora-sim: --ai: unknown opponent \"" << name
                      << "\" (easy, medium or hard)\n";
            return std::nullopt;
        }
        kinds.push_back(kind);
    }
    if (static_cast<int>(kinds.size()) != colonies) {
        std::cerr << "brevora-sim: --ai names " << kinds.size() << " opponents for " << colonies
                  << " colonies\n";
        return std::nullopt;
    }
    return kinds;
}

// --bot K=CMD: colony K (of the game's) steered by the bot CMD, each colony
// once, never the reference player's; every command must split into words
// and start.
std::optional<std::vector<brv::BotSeat>> parseBots(const Settings& s) {
    std::vector<brv::BotSeat> seats;
    for (const std::string& bot : s.bots) {
        const auto equals = bot.find('=');
        brv::BotSeat seat;
        seat.colony = equals == 1 && bot[0] >= '0' && bot[0] <= '9' ? bot[0] - '0' : -1;
        seat.command = equals == std::string::npos ? "" : bot.substr(equals + 1);
        std::string why;
        if (seat.colony < 0 || seat.colony >= s.colonies) {
            std::cerr << "brevora-sim: --bot \"" << bot
                      << "\": give K=COMMAND with K a colony from 0 to " << s.colonies - 1 << "\n";
            return std::nullopt;
        }
        if (!brv::splitCommandWords(seat.command, why)) {
            std::cerr << "brevora-sim: --bot \"" << bot << "\": " << why << "\n";
            return std::nullopt;
        }
        if (!brv::botCanStart(seat.command, why)) {
            std::cerr << "brevora-sim: --bot \"" << bot << "\": the bot cannot start: " << why
                      << "\n";
            return std::nullopt;
        }
        const bool taken = std::any_of(seats.begin(), seats.end(), [&](const brv::BotSeat& other) {
            return other.colony == seat.colony;
        });
        if (taken || (seat.colony == 0 && (s.player || !s.playerBot.empty()))) {
            std::cerr << "brevora-sim: --bot: colony " << seat.colony << " is steered twice\n";
            return std::nullopt;
        }
        seats.push_back(seat);
    }
    return seats;
}

// The bots, their host settings and where their replays go.
bool setUpBots(const Settings& s, brv::MatchOptions& options) {
    auto seats = parseBots(s);
    if (!seats) {
        return false;
    }
    options.bots = *seats;
    options.botHost = s.botHost;
    if (!s.botReplays.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(s.botReplays, ec);
        options.replayDir = s.botReplays;
    }
    return true;
}

// --replay and --replay-dir: 0 when every replay matches, 1 when one
// differs, 2 when one is refused.
int checkReplays(brv::GameParams& params, const Settings& s) {
    std::vector<std::string> files;
    if (!s.replay.empty()) {
        files.push_back(s.replay);
    }
    if (!s.replayDir.empty()) {
        std::error_code ec;
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(s.replayDir, ec)) {
            if (entry.path().extension() == ".replay") {
                found.push_back(entry.path().string());
            }
        }
        if (ec) {
            std::cerr << "brevora-sim: cannot read the folder \"" << s.replayDir
                      << "\": " << ec.message() << "\n";
            return 2;
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    int worst = 0;
    int matched = 0;
    for (const std::string& file : files) {
        const int status = brv::checkReplayFile(params, file, s.timeline);
        worst = std::max(worst, status);
        matched += status == 0 ? 1 : 0;
    }
    std::cerr << "brevora-sim: " << matched << " of " << files.size() << " replays match\n";
    return worst;
}

// --record: games with random clicks, or steered by --player-bot, each
// written as a replay.
int recordGames(brv::GameParams& params, const Settings& s, std::uint32_t first) {
    std::error_code ec;
    std::filesystem::create_directories(s.record, ec);
    brv::GameRecording game;
    game.colonies = s.colonies;
    game.difficulty = brv::difficultyFromName(s.difficulty);
    game.maxUpdates = s.maxTicks;
    game.dir = s.record;
    for (int g = 0; g < s.games; ++g) {
        game.seed = first + static_cast<std::uint32_t>(g);
        const std::string path = s.playerBot.empty()
                                     ? brv::recordRandomGame(params, game, s.clickEvery)
                                     : brv::recordBotGame(params, game, s.playerBot);
        if (path.empty()) {
            std::cerr << "brevora-sim: cannot write a replay into \"" << s.record << "\"\n";
            return 2;
        }
        std::cout << path << "\n";
    }
    return 0;
}

// --report: every setting over many seeds, one table.
int report(brv::GameParams& params, const Settings& s, bool gamesGiven, bool ticksGiven) {
    brv::ReportOptions options;
    options.games = gamesGiven ? s.games : 100;
    options.firstSeed = s.seed ? *s.seed : 1000;
    options.maxTicks = ticksGiven ? s.maxTicks : options.maxTicks;
    options.jobs =
        s.jobs > 0 ? s.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const auto start = std::chrono::steady_clock::now();
    options.json = s.json;
    const auto settings = brv::reportSettings(s.groups, s.onlyColonies, s.onlyDifficulties);
    if (settings.empty()) {
        std::cerr << "brevora-sim: --groups, --report-colonies and --report-difficulties leave "
                     "no setting\n";
        return 2;
    }
    // A stop signal ends the report at a safe point rather than at once.
    const brv::StopSignals stopSignals;
    const brv::ReportRun played = brv::printReport(params, settings, options, std::cout);
    if (played.stopSignal != 0) {
        std::cerr << "brevora-sim: stopped by " << brv::StopSignals::name(played.stopSignal)
                  << " after " << played.gamesFinished << " finished games; no report printed\n";
        return 128 + played.stopSignal;
    }
    if (!played.ok) {
        std::cerr << "brevora-sim: a setting of the report could not be played\n";
        return 2;
    }
    const auto took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    std::cerr << "brevora-sim: report played in " << took.count() << " s on " << options.jobs
              << " processes\n";
    return 0;
}

int run(const Settings& s, const std::string& dataDir, bool gamesGiven, bool ticksGiven) {
    brv::GameParams params(dataDir);
    if (!brv::checkRules(params, dataDir, "brevora-sim")) {
        return 2;
    }
    if (s.report) {
        return report(params, s, gamesGiven, ticksGiven);
    }
    if (!s.replay.empty() || !s.replayDir.empty()) {
        return checkReplays(params, s);
    }
    if (!s.record.empty()) {
        return recordGames(params, s, s.seed ? *s.seed : brv::clockMilliseconds());
    }
    brv::MatchOptions options;
    options.colonies = s.colonies;
    options.difficulty = brv::difficultyFromName(s.difficulty);
    options.maxTicks = s.maxTicks;
    options.player = s.player || !s.playerBot.empty();
    options.bot = s.playerBot.empty() ? "idle" : s.playerBot;
    options.traceEvery = s.trace;
    options.speed = s.speed;
    if (!s.ai.empty()) {
        auto kinds = parseAi(s.ai, s.colonies);
        if (!kinds) {
            return 2;
        }
        options.ai = *kinds;
    }
    if (!setUpBots(s, options)) {
        return 2;
    }
    const std::uint32_t first = s.seed ? *s.seed : brv::clockMilliseconds();
    auto lastReport = std::chrono::steady_clock::now();
    for (int g = 0; g < s.games; ++g) {
        options.seed = first + static_cast<std::uint32_t>(g);
        const auto result = brv::playMatch(params, options, [](int tick, const auto& counts) {
            std::cerr << tick;
            for (int c : counts) {
                std::cerr << "," << c;
            }
            std::cerr << "\n";
        });
        if (s.timeline) {
            std::cout << brv::timelineJsonLines(result.seed, result.timeline) << std::flush;
        } else {
            std::cout << brv::toJsonLine(result) << std::endl;
        }
        const auto now = std::chrono::steady_clock::now();
        if (s.games > 1 && now - lastReport > std::chrono::seconds(2)) {
            std::cerr << "brevora-sim: " << g + 1 << "/" << s.games << " games\n";
            lastReport = now;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Plays headless Brevora games and prints one JSON line per game"};
    Settings s;
    std::uint32_t seed = 0;
    auto* seedOption = app.add_option("--seed", seed, "first seed (default: the clock)");
    CLI::Option* gamesOption = nullptr;
    CLI::Option* ticksOption = nullptr;
    app.add_option("--colonies", s.colonies, "number of colonies")->check(CLI::IsMember({2, 3, 4}));
    app.add_option("--difficulty", s.difficulty, "rules and opponents: easy, medium or hard")
        ->check(CLI::IsMember({"easy", "medium", "hard"}));
    gamesOption = app.add_option("--games", s.games, "games to play, with seeds N, N+1, …")
                      ->check(CLI::Range(1, 100000000));
    ticksOption =
        app.add_option("--max-ticks", s.maxTicks, "ticks after which a game counts as unfinished")
            ->check(CLI::Range(1, 2000000000));
    app.add_option("--data", s.data, "folder holding data/data.pk or loose data files");
    app.add_flag("--player", s.player, "colony 0 is an idle player colony");
    app.add_option("--player-bot", s.playerBot,
                   "colony 0 is a player steered by a reference player: idle, forager, "
                   "novice or newcomer (with --record: its games are recorded)")
        ->check(CLI::IsMember(brv::playerBotNames()));
    app.add_flag("--report", s.report,
                 "play every colony count and difficulty, with and without the reference "
                 "players and head to head, over --games seeds (default 100 from 1000) and "
                 "print the balance table");
    app.add_option(
        "--groups", s.groups,
        "--report plays only these groups: computer,idle,forager,novice,newcomer,versus");
    app.add_option("--report-colonies", s.onlyColonies,
                   "--report plays only these colony counts, e.g. 2,4");
    app.add_option("--report-difficulties", s.onlyDifficulties,
                   "--report plays only these difficulties (the rules'), e.g. easy,hard");
    app.add_flag("--json", s.json, "--report prints one JSON line per setting");
    app.add_option("--jobs", s.jobs, "processes for --report (default: one per core)")
        ->check(CLI::Range(1, 64));
    app.add_option("--ai", s.ai, "opponent kind per colony, e.g. easy,hard,hard,easy");
    app.add_option("--speed", s.speed, "world updates per tick, as in the game: 1, 2 or 4")
        ->check(CLI::IsMember({1, 2, 4}));
    app.add_option("--replay", s.replay, "check a replay: exit 0 when it matches, 1 when not");
    app.add_option("--replay-dir", s.replayDir, "check every .replay file of a folder");
    app.add_option("--record", s.record,
                   "play --games games with random clicks (or steered by --player-bot) and "
                   "write their replays into DIR");
    app.add_option("--click-every", s.clickEvery, "updates between the random clicks of --record")
        ->check(CLI::Range(0, 100000));
    app.add_flag("--timeline", s.timeline,
                 "print each game's virus counts and kills once a second of game time as JSON "
                 "lines instead of its summary (also with --replay)");
    app.add_option("--bot", s.bots,
                   "K=COMMAND: colony K is steered by the bot program COMMAND (split into words "
                   "as a shell would, never run by one); repeatable");
    app.add_option("--bot-replays", s.botReplays,
                   "keep each game with bots as DIR/bot-<seed>.replay, and each bot's stderr as "
                   "DIR/bot-<seed>-<colony>.log");
    brv::addBotHostOptions(app, s.botHost);
    app.add_option("--trace", s.trace, "print tick and virus counts every N ticks on stderr")
        ->check(CLI::Range(0, 2000000000));
    CLI11_PARSE(app, argc, argv);
    if (seedOption->count() > 0) {
        s.seed = seed;
    }
    const std::string dataDir = s.data.empty() ? brv::defaultDataDir(argv[0]) : s.data;
    return run(s, dataDir, gamesOption->count() > 0, ticksOption->count() > 0);
}
