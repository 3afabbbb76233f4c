#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bothost/BotSteering.h"
#include "config/GameParams.h"
#include "records/ReplayFiles.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/World.h"
#include "tests/support/TempDir.h"
#include "tools/sim/Match.h"

namespace brv {
namespace {

const std::string kAssets = std::string(BREVORA_SOURCE_DIR) + "/assets";
const std::string kBuild = BREVORA_BUILD_DIR;

// A short two-colony game with colony 1 steered by `command` on a time bank
// of `bankMs` (gaining 20 ms a decision), recorded into `dir`. A loaded
// machine may start a bot slowly; the bank leaves room for that.
MatchResult playBotGame(GameParams& params, const std::string& command, const std::string& dir,
                        int bankMs) {
    MatchOptions options;
    options.colonies = 2;
    options.seed = 11;
    options.maxTicks = 600;
    options.bots = {{1, command}};
    options.botHost = {10, bankMs, 20};
    options.replayDir = dir;
    return playMatch(params, options);
}

// The replay of a bot game plays to its checksum without the bot.
void expectReplays(GameParams& params, const MatchResult& result) {
    std::string why;
    const auto replay = ReplayFiles::readFile(result.replay, why);
    ASSERT_TRUE(replay) << why;
    EXPECT_EQ(replay->steered, std::vector<int>{1});
    EXPECT_TRUE(checkReplay(params, *replay).matches) << result.replay;
}

// Both sample foragers steer their colony through every decision without a
// fault, their clicks reach the world and the replay, and it checks.
TEST(BotGame, SampleForagersSteerAndTheirGamesReplay) {
    GameParams params(kAssets);
    test::TempDir dir;
    for (const std::string& bot :
         {kBuild + "/bin/forager-bot",
          "python3 '" + std::string(BREVORA_SOURCE_DIR) + "/bots/python/forager.py'"}) {
        const MatchResult result = playBotGame(params, bot, dir.path(), 20000);
        ASSERT_EQ(result.bots.size(), 1u);
        const BotReport& report = result.bots[0];
        EXPECT_EQ(report.decisions, 59) << bot;
        EXPECT_EQ(report.faults, (std::array<int, kBotFaultKinds>{})) << bot;
        EXPECT_EQ(report.stopped, "") << bot;
        std::string why;
        EXPECT_FALSE(ReplayFiles::readFile(result.replay, why)->events.empty()) << bot;
        expectReplays(params, result);
    }
    // A Hard colony in an Easy game replays as Hard.
    MatchOptions hard;
    hard.colonies = 2;
    hard.maxTicks = 600;
    hard.ai = {2, 0};
    hard.bots = {{1, kBuild + "/bin/forager-bot"}};
    hard.botHost = {10, 20000, 20};
    hard.replayDir = dir.path();
    expectReplays(params, playMatch(params, hard));
}

// Every way a bot can fail leaves the game going to its end, the fault named
// in the result, and a replay that checks without the bot.
TEST(BotGame, FaultyBotsAreStoppedAndTheGameGoesOn) {
    GameParams params(kAssets);
    test::TempDir dir;
    const std::string bot = kBuild + "/tests/test-bot ";
    const struct {
        const char* mode;
        BotFault fault;
        int count;
        const char* stopped;
    } cases[] = {
        {"crash", BotFault::Crash, 1, "bot of colony 1 exited with status 3"},
        {"hang", BotFault::Late, 10, "bot of colony 1: stopped after 10 faults (10 late answers)"},
        {"flood", BotFault::OverLong, 10,
         "bot of colony 1: stopped after 10 faults (10 over-long lines)"},
        {"garbage", BotFault::Malformed, 10,
         "bot of colony 1: stopped after 10 faults (10 malformed lines)"},
        {"close", BotFault::ClosedPipe, 1, "bot of colony 1 closed its pipe"},
    };
    for (const auto& c : cases) {
        const MatchResult result = playBotGame(params, bot + c.mode, dir.path(), 1500);
        EXPECT_EQ(result.ticks, 600) << c.mode;
        ASSERT_EQ(result.bots.size(), 1u);
        EXPECT_EQ(result.bots[0].faults[static_cast<std::size_t>(c.fault)], c.count) << c.mode;
        EXPECT_EQ(result.bots[0].stopped, c.stopped);
        expectReplays(params, result);
    }
}

// A bot that never reads its input, headless and in the window, is stopped
// once its input stays full past its bank, and one that floods stale
// answers is late as its bank runs out; neither holds the game. Should
// either hold it again, the alarm ends the test run rather than hang it.
TEST(BotGame, BotsThatStopReadingOrFloodStaleAnswersCannotHoldTheGame) {
    alarm(240);
    GameParams params(kAssets);
    test::TempDir dir;
    const std::string bot = kBuild + "/tests/test-bot ";
    const std::string full =
        "bot of colony 1: stopped after its input stayed full past its time bank";

    // Every update a decision, and faults enough that only the full input
    // can stop it.
    MatchOptions deaf;
    deaf.colonies = 2;
    deaf.seed = 11;
    deaf.maxTicks = 3000;
    deaf.bots = {{1, bot + "deaf"}};
    deaf.botHost = {1, 300, 0};
    deaf.botLimits.maxFaults = 1000000;
    const MatchResult heard = playMatch(params, deaf);
    ASSERT_EQ(heard.bots.size(), 1u);
    EXPECT_EQ(heard.bots[0].stopped, full);
    EXPECT_GT(heard.bots[0].faults[static_cast<std::size_t>(BotFault::Late)], 0);

    RulesState state(1);
    World world(params, state, 0);
    setUpGame(world, 2, 0, {0});
    BotLimits limits;
    limits.maxFaults = 1000000;
    BotSteering window(0, {1, 300, 0}, limits);
    window.answerWithoutWaiting();
    std::string why;
    ASSERT_TRUE(window.start(bot + "deaf", world, {0}, why)) << why;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (int update = 1; window.stopped().empty() && std::chrono::steady_clock::now() < giveUp;
         ++update) {
        window.act(world, update);
    }
    EXPECT_EQ(window.stopped(), "bot of colony 0" + full.substr(15));

    const MatchResult stale = playBotGame(params, bot + "stale", dir.path(), 1500);
    ASSERT_EQ(stale.bots.size(), 1u);
    EXPECT_EQ(stale.bots[0].faults[static_cast<std::size_t>(BotFault::Late)], 10);
    EXPECT_EQ(stale.bots[0].stopped, "bot of colony 1: stopped after 10 faults (10 late answers)");
    EXPECT_EQ(stale.ticks, 600);
    alarm(0);
}

// In the window the world does not wait: an answer that comes after its
// decision point counts at the next one, heard with that update, and a new
// state goes out only once the last one is answered.
TEST(BotGame, InTheWindowALateAnswerCountsAtTheNextDecisionPoint) {
    GameParams params(kAssets);
    RulesState state(1);
    World world(params, state, 0);
    setUpGame(world, 2, 0, {0});
    // Without its start flag the colony has room for the bot's at any size.
    Colony& steered = *world.colonies().front();
    const float pitch = params.m_distance_beween_viruses;
    ASSERT_TRUE(steered.removeFlagNear(
        static_cast<int>(static_cast<float>(steered.flags().front()->column()) * pitch),
        static_cast<int>(static_cast<float>(steered.flags().front()->row()) * pitch)));
    BotSteering bot(0, {10, 5000, 100}, BotLimits{});
    bot.answerWithoutWaiting();
    std::vector<int> heard;
    bot.onClick([&](const SteeringClick& click) { heard.push_back(click.update); });
    std::string why;
    ASSERT_TRUE(bot.start(kBuild + "/tests/test-bot slow", world, {0}, why)) << why;
    for (int update = 0; update <= 40; ++update) {
        bot.act(world, update);
        if (update % 10 == 0) {
            // The ticks of the window pass while the bot thinks.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        world.update(30);
    }
    EXPECT_EQ(heard, (std::vector<int>{20, 30, 40}));
    EXPECT_EQ(bot.decisions(), 4);
    EXPECT_EQ(bot.faults(BotFault::Late), 0);
    EXPECT_EQ(bot.roundTrips().size(), 3u);
    bot.finish(40, false, -1);
}

}  // namespace
}  // namespace brv
