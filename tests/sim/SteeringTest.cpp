#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bothost/BotSteering.h"
#include "config/GameParams.h"
#include "records/ReplayFiles.h"
#include "sim/MouseSteering.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/ReplaySteering.h"
#include "sim/RulesState.h"
#include "sim/SteeringSet.h"
#include "sim/World.h"
#include "tests/support/TempDir.h"
#include "tools/sim/PlayerBot.h"
#include "tools/sim/ReplayRuns.h"

namespace brv {
namespace {

const std::string kAssets = std::string(BREVORA_SOURCE_DIR) + "/assets";
const std::string kBuild = BREVORA_BUILD_DIR;
constexpr int kUpdates = 600;

std::vector<Replay::Event> clicksOf(const Replay& replay, int colony) {
    std::vector<Replay::Event> clicks;
    std::copy_if(replay.events.begin(), replay.events.end(), std::back_inserter(clicks),
                 [colony](const Replay::Event& e) { return e.colony == colony; });
    return clicks;
}

bool sameClick(const Replay::Event& a, const Replay::Event& b) {
    return a.update == b.update && a.input == b.input && a.x == b.x && a.y == b.y;
}

// One game of four colonies, each steered through the same seam by another
// kind: a mouse fed presses between ticks (0), a reference player (1), a bot
// program (2) and the clicks of an earlier game's colony played back (3).
// The record holds each colony's clicks and replays to the same end.
TEST(Steering, EveryKindSteersOneRecordedGameThatReplays) {
    GameParams params(kAssets);
    test::TempDir dir;
    std::string why;
    const auto earlier = ReplayFiles::readFile(
        recordBotGame(params, {5, 2, 0, kUpdates, dir.path()}, "forager"), why);
    ASSERT_TRUE(earlier) << why;
    ASSERT_FALSE(earlier->events.empty());

    RulesState state(21);
    Replay record = Replay::beginning(params, state, 4, 1);
    record.steered = {0, 1, 2, 3};
    World world(params, state, 1);
    setUpGame(world, record);
    SteeringSet steerings;
    steerings.recordInto(&record);
    auto& mouse = steerings.add(std::make_unique<MouseSteering>(0));
    steerings.add(makePlayerBot("forager", 1, 21));
    auto& bot = steerings.add(
        std::make_unique<BotSteering>(2, BotHostSettings{10, 20000, 20}, BotLimits{}));
    ASSERT_TRUE(bot.start(kBuild + "/bin/forager-bot", world, {2}, why)) << why;
    steerings.add(std::make_unique<ReplaySteering>(*earlier, 0, 3));
    const int x = params.m_screen_width / 2;
    const int y = params.m_screen_height / 2;
    for (int update = 0; update < kUpdates; ++update) {
        // The person presses between ticks: a flag set, then taken away.
        if (update == 40 || update == 300) {
            mouse.press(world, update, x, y);
        }
        steerings.act(world, update);
        world.update(30);
        record.noteUpdate(update + 1, world);
    }
    steerings.finish(kUpdates, false, -1);
    record.finish(kUpdates, world);
    EXPECT_EQ(bot.stopped(), "");

    const auto mouseClicks = clicksOf(record, 0);
    ASSERT_EQ(mouseClicks.size(), 2u);
    EXPECT_TRUE(sameClick(mouseClicks[0], {40, Replay::Input::FlagSet, x, y, 0}));
    EXPECT_TRUE(sameClick(mouseClicks[1], {300, Replay::Input::FlagRemoved, x, y, 0}));
    EXPECT_FALSE(clicksOf(record, 1).empty());
    EXPECT_FALSE(clicksOf(record, 2).empty());
    const auto played = clicksOf(record, 3);
    const auto recorded = clicksOf(*earlier, 0);
    ASSERT_EQ(played.size(), recorded.size());
    EXPECT_TRUE(std::equal(played.begin(), played.end(), recorded.begin(), sameClick));

    const auto again = Replay::parse(record.toText(), why);
    ASSERT_TRUE(again) << why;
    const ReplayOutcome outcome = checkReplay(params, *again);
    EXPECT_TRUE(outcome.matches) << outcome.why;
}

}  // namespace
}  // namespace brv
