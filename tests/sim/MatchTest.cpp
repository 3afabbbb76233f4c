#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>

#include "config/GameParams.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/World.h"
#include "tests/support/ProcessScan.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"
#include "tools/sim/Match.h"
#include "tools/sim/NewcomerBot.h"
#include "tools/sim/PlayerBot.h"
#include "tools/sim/Report.h"

namespace brv {
namespace {

const std::string kAssets = std::string(BREVORA_SOURCE_DIR) + "/assets";

TEST(Match, AGameDependsOnItsSeedAloneNotOnTheGamesBefore) {
    GameParams params(kAssets);
    MatchOptions options;
    options.difficulty = 2;
    options.maxTicks = 600;
    options.seed = 9;
    const std::string alone = toJsonLine(playMatch(params, options));
    options.seed = 8;
    playMatch(params, options);
    options.difficulty = 0;
    options.ai = {2, 0, 2, 0};
    options.player = true;
    playMatch(params, options);
    options = MatchOptions{};
    options.difficulty = 2;
    options.maxTicks = 600;
    options.seed = 9;
    EXPECT_EQ(toJsonLine(playMatch(params, options)), alone);

    const auto line = nlohmann::json::parse(alone);
    EXPECT_EQ(line["seed"], 9);
    EXPECT_EQ(line["difficulty"], "hard");
    EXPECT_EQ(line["ticks"], 600);
    EXPECT_EQ(line["finished"], false);
    EXPECT_EQ(line["winner"], -1);
    EXPECT_EQ(line["count"].size(), 4u);
    EXPECT_EQ(line["kills"].size(), 4u);
    EXPECT_EQ(line["start_source_ticks"].size(), 4u);
    EXPECT_GE(line["peak"], 160);  // four colonies of 40 at the start
}

// Every start source reaches all viruses of its colony and feeds each one
// point per tick from a reserve of 100; nothing is born or dies, so a colony
// of n spends its source on tick 100 / n + 1.
TEST(Match, RecordsHowLongLifeSourcesLastAndThePeakPopulation) {
    test::TempDir dir;
    dir.write("dat/param.txt",
              "m_distance_beween_viruses 4\nm_speed 2\nm_virus_visible 4\n"
              "m_min_life_reserve 1000\nm_max_life_reserve 1001\nm_viruses_on_start 40\n"
              "m_max_population 1000\nm_flag_per_count 50\nm_life_src_visible 53\n"
              "m_life_src_min_life_reserve 100\nm_life_src_max_life_reserve 101\n"
              "m_life_src_add_prob 1\nm_life_distribute 1\nm_life_src_dist 40\n");
    GameParams params(dir.path());
    MatchOptions options;
    options.colonies = 2;
    options.maxTicks = 10;
    const MatchResult result = playMatch(params, options);
    ASSERT_EQ(result.count.size(), 2u);
    ASSERT_GT(result.count[0], 0);
    ASSERT_GT(result.count[1], 0);
    EXPECT_NE(result.count[0], result.count[1]);  // the two colonies are told apart
    EXPECT_EQ(result.startSourceTicks,
              (std::vector<int>{100 / result.count[0] + 1, 100 / result.count[1] + 1}));
    EXPECT_GE(result.sourceTicks.size(), 2u);
    EXPECT_EQ(result.peak, result.count[0] + result.count[1]);

    options.maxTicks = 1;  // both still stand when the game is cut short
    EXPECT_EQ(playMatch(params, options).startSourceTicks, (std::vector<int>{-1, -1}));
}

test::ToolRun runTool(const std::string& args) {
    return test::runBuiltTool("brevora-sim", args);
}

// The reference players click by the game's rule: the idle one never, the
// forager to feed and to fight, and it kills where the idle one cannot.
TEST(Match, ForagerFeedsAndFightsWhereTheIdlePlayerDoesNot) {
    GameParams params(kAssets);
    MatchOptions options;
    options.colonies = 2;
    options.player = true;
    int kills[2] = {0, 0};
    for (const int bot : {0, 1}) {
        options.bot = bot == 0 ? "idle" : "forager";
        for (std::uint32_t seed = 1000; seed < 1003; ++seed) {
            options.seed = seed;
            kills[bot] += playMatch(params, options).kills[0];
        }
    }
    EXPECT_EQ(kills[0], 0);
    EXPECT_GT(kills[1], 150);  // Easy's slow feeding keeps its armies small
    EXPECT_EQ(makePlayerBot("nobody"), nullptr);
}

// The novice keeps its start flag on the home source until that holds less
// than a quarter of its start, then moves its one flag to the source nearest
// to it holding more; a game of it recorded by the tool replays.
TEST(Match, NoviceMovesItsFlagToTheNearestRicherSourceAndItsGamesReplay) {
    GameParams params(kAssets);
    RulesState state(1000);
    World world(params, state, 0);
    setUpGame(world, 2, 0);
    const Colony& me = *world.colonies().front();
    using Cell = std::pair<int, int>;
    const auto flagCell = [&] {
        return Cell{me.flags().front()->column(), me.flags().front()->row()};
    };
    const LifeSource& home = *world.lifeSources().front();
    const Cell homeCell{home.column(), home.row()};
    const int homeStart = home.reserve();
    ASSERT_EQ(me.flags().size(), 1u);
    EXPECT_EQ(flagCell(), homeCell);
    const auto bot = makePlayerBot("novice");
    ASSERT_NE(bot, nullptr);
    bool moved = false;
    for (int update = 0; update < 3000 && !moved && me.virusCount() > 0; ++update) {
        int held = -1;  // what the home cell holds; -1 once spent
        for (const auto& s : world.lifeSources()) {
            held = Cell{s->column(), s->row()} == homeCell ? s->reserve() : held;
        }
        Cell nearest{-1, -1};
        double best = 1e9;
        for (const auto& s : world.lifeSources()) {
            const double d = std::hypot(s->column() - homeCell.first, s->row() - homeCell.second);
            if (s->reserve() > held && d < best) {
                best = d;
                nearest = {s->column(), s->row()};
            }
        }
        bot->act(world, update);
        ASSERT_EQ(me.flags().size(), 1u) << "one flag, never one on an enemy";
        moved = flagCell() != homeCell;
        if (moved) {
            EXPECT_LT(held * 4, homeStart) << "update " << update;
            EXPECT_EQ(flagCell(), nearest);
        }
        world.update(30);
    }
    EXPECT_TRUE(moved);

    test::TempDir dir;
    const std::string record = "--seed 1000 --colonies 2 --player-bot novice --data " + kAssets;
    ASSERT_EQ(runTool("--record " + dir.path() + " " + record).status, 0);
    const auto bytes = dir.read("novice-1000.replay");
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("\nremoved "), std::string::npos);
    EXPECT_NE(text.find("\nset "), std::string::npos);
    EXPECT_EQ(runTool("--replay-dir " + dir.path() + " --data " + kAssets).status, 0);
}

// The newcomer notices its source's ring running low and moves only a
// person's reaction later, drawn afresh with every game; until its colony has
// doubled it holds one flag; its games recorded by the tool replay.
TEST(Match, NewcomerMovesAReactionAfterItsSourceRunsLowAndItsGamesReplay) {
    GameParams params(kAssets);
    std::vector<int> delays;
    for (std::uint32_t seed = 1000; seed < 1004; ++seed) {
        RulesState state(seed);
        World world(params, state, 0);
        setUpGame(world, 2, 0);
        const Colony& me = *world.colonies().front();
        const int startCount = me.virusCount();
        const LifeSource* home = world.lifeSources().front().get();
        const auto homeLow = [&] {
            for (const auto& s : world.lifeSources()) {
                if (s.get() == home) {
                    return s->reserveLeft() < NewcomerBot::kLowRing;
                }
            }
            return true;  // spent and gone
        };
        const auto bot = makePlayerBot("newcomer", 0, seed);
        int clicked = -1;
        bot->onClick([&](const SteeringClick&) { clicked = clicked < 0 ? 0 : clicked; });
        int lowAt = -1;
        for (int update = 0; update < 4000 && clicked < 0 && me.virusCount() > 0; ++update) {
            bot->act(world, update);
            if (clicked == 0) {
                clicked = update;
            }
            if (me.virusCount() < 2 * startCount) {
                ASSERT_LE(me.flags().size(), 1u) << "seed " << seed;
            }
            world.update(30);
            lowAt = lowAt < 0 && homeLow() ? update + 1 : lowAt;
        }
        ASSERT_GE(lowAt, 0) << "seed " << seed;
        ASSERT_GT(clicked, lowAt) << "seed " << seed;
        delays.push_back((clicked - lowAt) * kTickMs);
    }
    const int look = NewcomerBot::kLookEveryUpdates * kTickMs;
    for (const int delay : delays) {
        EXPECT_GE(delay, NewcomerBot::kReactionMinMs);
        EXPECT_LE(delay, NewcomerBot::kReactionMaxMs + look);
    }
    std::sort(delays.begin(), delays.end());
    EXPECT_LT(delays.front() + look, delays.back()) << "every game draws its own reaction";

    test::TempDir dir;
    const std::string record =
        "--seed 1000 --games 2 --colonies 2 --player-bot newcomer --data " + kAssets;
    ASSERT_EQ(runTool("--record " + dir.path() + " " + record).status, 0);
    EXPECT_EQ(runTool("--replay-dir " + dir.path() + " --data " + kAssets).status, 0);
}

// Each reference player steers the colony it is given and leaves the
// player's colony 0 alone.
TEST(Match, AReferencePlayerSteersTheColonyItIsGiven) {
    GameParams params(kAssets);
    for (const std::string name : {"forager", "novice", "newcomer"}) {
        RulesState state(1000);
        World world(params, state, 0);
        world.addColony(1, 0, 0, false, 0);
        world.addColony(0, 1, 0, false, 0);
        world.setUp();
        const Flag& start = *world.colonies()[0]->flags().front();
        const std::pair<int, int> home{start.column(), start.row()};
        const auto bot = makePlayerBot(name, 1);
        int clicks = 0;
        bot->onClick([&](const SteeringClick&) { ++clicks; });
        for (int update = 0; update < 2000; ++update) {
            bot->act(world, update);
            world.update(30);
        }
        EXPECT_GT(clicks, 0) << name;
        const Colony& player = *world.colonies()[0];
        ASSERT_EQ(player.flags().size(), 1u) << name;
        EXPECT_EQ(std::make_pair(player.flags().front()->column(), player.flags().front()->row()),
                  home)
            << name;
    }
}

// The balance report plays every setting, each group in processes of its
// own, as a table or as JSON lines.
TEST(Match, ReportPlaysEverySettingAsATableOrJson) {
    const test::ToolRun json =
        runTool("--report --games 2 --max-ticks 300 --json --jobs 2 --data " + kAssets);
    ASSERT_EQ(json.status, 0);
    std::istringstream lines(json.out);
    std::string line;
    std::size_t count = 0;
    while (std::getline(lines, line)) {
        const auto figures = nlohmann::json::parse(line);
        EXPECT_EQ(figures["setting"], reportSettings()[count].name);
        EXPECT_EQ(figures["unfinished"], 100) << "300 ticks end no game";
        ++count;
    }
    EXPECT_EQ(count, reportSettings().size());
    const test::ToolRun table =
        runTool("--report --groups versus --games 2 --max-ticks 300 --data " + kAssets);
    ASSERT_EQ(table.status, 0);
    EXPECT_NE(table.out.find(reportHeader()), std::string::npos);
    EXPECT_NE(table.out.find("Hard vs Medium"), std::string::npos);
    EXPECT_EQ(table.out.find("2 Easy"), std::string::npos);
}

// The forager's three- and four-colony rows cost a third of the report again:
// they are played only when the colony counts are named.
TEST(Match, ForagerRowsBeyondTwoColoniesOnlyWhenTheCountsAreNamed) {
    const auto foragerRows = [](const std::string& colonies) {
        std::vector<std::string> names;
        for (const ReportSetting& s : reportSettings("forager", colonies, "easy")) {
            names.push_back(s.name);
        }
        return names;
    };
    EXPECT_EQ(foragerRows(""), std::vector<std::string>{"2 Easy + forager"});
    EXPECT_EQ(foragerRows("2,4"),
              (std::vector<std::string>{"2 Easy + forager", "4 Easy + forager"}));
}

// Lengths in minutes of game time; an unfinished game never counts as
// starved, however few its kills; shares are of all games played.
TEST(Match, ReportFiguresCountStarvedUnfinishedAndCorners) {
    std::vector<ReportGame> games;
    for (int minute = 1; minute <= 10; ++minute) {
        ReportGame g;
        g.ticks = minute * 2000;
        g.finished = minute <= 8;
        g.kills = minute <= 3 || minute == 10 ? 10 : 500;  // 1-3 starved, 10 unfinished
        g.winner = minute % 2;
        g.winnerCorner = g.finished ? minute % 4 : -1;
        g.hugeLives = minute == 5 ? 2 : 0;
        games.push_back(g);
    }
    const ReportFigures f = reportFigures(games);
    EXPECT_DOUBLE_EQ(f.median, 6.0);
    EXPECT_DOUBLE_EQ(f.p10, 2.0);
    EXPECT_DOUBLE_EQ(f.p90, 9.0);
    EXPECT_EQ(f.starved, 30);
    EXPECT_EQ(f.unfinished, 20);
    EXPECT_EQ(f.huge, 10);
    EXPECT_EQ(f.firstWins, 50);
    EXPECT_EQ(f.corners[0], 20);  // minutes 4 and 8
    EXPECT_EQ(f.corners[1], 20);  // 1 and 5
    EXPECT_EQ(f.corners[3], 20);  // 3 and 7
    EXPECT_EQ(reportFigures({}).median, 0);
}

TEST(Match, ToolPlaysBatchesAndRefusesBadInput) {
    const test::ToolRun batch =
        runTool("--seed 3 --games 2 --max-ticks 100 --colonies 3 --data " + kAssets);
    ASSERT_EQ(batch.status, 0);
    const auto newline = batch.out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const auto first = nlohmann::json::parse(batch.out.substr(0, newline));
    const auto second = nlohmann::json::parse(batch.out.substr(newline + 1));
    EXPECT_EQ(first["seed"], 3);
    EXPECT_EQ(second["seed"], 4);
    EXPECT_EQ(second["colonies"], 3);
    EXPECT_EQ(second["ticks"], 100);
    // The second game of the batch is the same game alone.
    const test::ToolRun alone = runTool("--seed 4 --max-ticks 100 --colonies 3 --data " + kAssets);
    EXPECT_EQ(alone.out, batch.out.substr(newline + 1));
    // The same game as a timeline: one line a second (100 ticks of 30 ms: 0
    // to 3 s) whose last counts are the summary's.
    const test::ToolRun timeline =
        runTool("--seed 4 --max-ticks 100 --colonies 3 --timeline --data " + kAssets);
    ASSERT_EQ(timeline.status, 0);
    const auto last = nlohmann::json::parse(
        timeline.out.substr(timeline.out.rfind('\n', timeline.out.size() - 2) + 1));
    EXPECT_EQ(std::count(timeline.out.begin(), timeline.out.end(), '\n'), 4);
    EXPECT_EQ(last["seed"], 4);
    EXPECT_EQ(last["second"], 3);
    EXPECT_EQ(last["viruses"], nlohmann::json::parse(alone.out)["count"]);
    EXPECT_EQ(last["kills"], nlohmann::json::parse(alone.out)["kills"]);

    EXPECT_NE(runTool("--colonies 5 --data " + kAssets).status, 0);
    EXPECT_NE(runTool("--difficulty insane --data " + kAssets).status, 0);
    EXPECT_NE(runTool("--ai hard,easy --data " + kAssets).status, 0);  // 4 colonies
    EXPECT_NE(runTool("--ai hard,nobody --colonies 2 --data " + kAssets).status, 0);
    EXPECT_NE(runTool("--data /nonexistent/brevora").status, 0);
    test::TempDir bad;
    bad.write("dat/param.txt", "m_speed 0\n");
    const test::ToolRun badRules = runTool("--data " + bad.path());
    EXPECT_NE(badRules.status, 0);
    EXPECT_TRUE(badRules.out.empty());
}

// A bot that cannot start is refused before any game: brevora-sim names it
// and says why on stderr, and the arena will not rank a field holding one.
TEST(Match, BotsThatCannotStartAreRefusedByName) {
    test::TempDir dir;
    std::fclose(std::fopen(dir.file("plain").c_str(), "w"));
    ASSERT_EQ(mkfifo(dir.file("fifo").c_str(), 0644), 0);
    const struct {
        std::string command;
        const char* why;
    } cases[] = {
        {dir.file("missing"), "No such file or directory"},
        {dir.path(), "Permission denied"},
        {dir.file("plain"), "Permission denied"},
        {dir.file("fifo"), "Permission denied"},
        {"''", "no program named"},
    };
    for (const auto& c : cases) {
        const test::ToolRun run = test::runBuiltTool(
            "brevora-sim",
            "--seed 1 --max-ticks 10 --data " + kAssets + " --bot \"1=" + c.command + "\"", true);
        EXPECT_TRUE(WIFEXITED(run.status) && WEXITSTATUS(run.status) == 2) << c.command;
        EXPECT_NE(run.out.find("--bot \"1=" + c.command + "\": the bot cannot start: "),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(c.why), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("{"), std::string::npos) << run.out;
    }
    const test::ToolRun arena = test::runBuiltTool(
        "brevora-arena",
        "'bot:gone=" + dir.file("missing") + "' easy --games 1 --max-ticks 10 --data " + kAssets,
        true);
    EXPECT_TRUE(WIFEXITED(arena.status) && WEXITSTATUS(arena.status) == 2);
    EXPECT_NE(arena.out.find("\"bot:gone=" + dir.file("missing") + "\": the bot cannot start"),
              std::string::npos)
        << arena.out;
}

// A bot that starts a daemon (a session of its own, its parent gone at
// once) before it plays as the sample bot plays its game to the end in the
// match runner and in the arena, and nothing it started outlives them.
TEST(Match, NothingABotStartedOutlivesItsGame) {
    test::TempDir dir;
    const std::string marker = "299." + std::to_string(getpid());
    dir.write("bot.sh", "sh -c \"setsid sleep " + marker + " &\"\nexec " +
                            std::string(BREVORA_BUILD_DIR) + "/bin/forager-bot\n");
    const std::string bot = "sh " + dir.file("bot.sh");
    const test::ToolRun sim = test::runBuiltTool(
        "brevora-sim", "--seed 1 --max-ticks 300 --data " + kAssets + " --bot \"1=" + bot + "\"");
    EXPECT_EQ(sim.status, 0);
    EXPECT_NE(sim.out.find("\"decisions\":29,"), std::string::npos) << sim.out;
    EXPECT_NE(sim.out.find("\"stopped\":\"\""), std::string::npos) << sim.out;
    EXPECT_TRUE(test::processesWith(marker).empty());
    test::killProcessesWith(marker);
    const test::ToolRun arena = test::runBuiltTool(
        "brevora-arena", "'bot:daemon=" + bot + "' easy --games 1 --max-ticks 300 --results " +
                             dir.file("r.jsonl") + " --replays " + dir.file("replays") +
                             " --data " + kAssets);
    EXPECT_EQ(arena.status, 0);
    EXPECT_NE(arena.out.find("\nbot:daemon "), std::string::npos) << arena.out;
    EXPECT_TRUE(test::processesWith(marker).empty());
    test::killProcessesWith(marker);
}

}  // namespace
}  // namespace brv
