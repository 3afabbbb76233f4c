#include "sim/view/GameScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "audio/SoundSet.h"
#include "config/Preferences.h"
#include "config/SaveFolder.h"
#include "platform/FileIo.h"
#include "platform/VirtualKeys.h"
#include "records/ReplayFiles.h"
#include "sim/ComputerColony.h"
#include "sim/HardComputerColony.h"
#include "sim/LifeSource.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/view/ReplayScreen.h"
#include "tests/audio/ScopedSounds.h"
#include "tests/sim/view/ScreenFixture.h"

namespace brv {
namespace {

using test::ScreenWindow;
using test::SimRules;

constexpr int kEscape = 27;
constexpr int kEnter = 13;

std::size_t flagCount(const Colony& colony) {
    return colony.flags().size();
}

bool hasFlagOn(const Colony& colony, int column, int row) {
    for (const auto& flag : colony.flags()) {
        if (flag->column() == column && flag->row() == row) {
            return true;
        }
    }
    return false;
}

// A game of two colonies pushed over the stand-in main screen.
struct Game {
    explicit Game(int scale = 1, int colonies = 2, int difficulty = 0,
                  const std::string& rules = "m_flag_per_count \"10 10 10\"\n")
        : rules(rules, difficulty),
          win(this->rules.params(), 800 * scale, 600 * scale),
          screen(win.push(std::make_unique<GameScreen>(win.context(), this->rules.state(), colonies,
                                                       difficulty))),
          scale(scale) {}
    Colony& player() { return *screen->world().colonies().front(); }
    // A press and a release at a logical position, sent in window pixels.
    void press(int lx, int ly) { win.send(MessageKind::LButtonDown, lx * scale, ly * scale); }
    void rightRelease(int lx, int ly) { win.send(MessageKind::RButtonUp, lx * scale, ly * scale); }
    void waitOutInputPause() {
        // 17 ticks of 30 ms run 500 ms down below zero; 16 leave 20 ms.
        win.ticks(16);
        ASSERT_GT(screen->inputPause(), 0);
        win.ticks(1);
        ASSERT_LE(screen->inputPause(), 0);
    }

    SimRules rules;
    ScreenWindow win;
    GameScreen* screen;
    int scale;
};

TEST(GameScreen, CreatesThePlayerFirstAndComputerSidesOfTheDifficulty) {
    for (int n = 1; n <= 4; ++n) {
        Game game(1, n, 2);
        const auto& colonies = game.screen->world().colonies();
        ASSERT_EQ(colonies.size(), static_cast<std::size_t>(n));
        EXPECT_FALSE(colonies[0]->isComputer());
        EXPECT_FLOAT_EQ(colonies[0]->red(), 1.0f);
        EXPECT_FLOAT_EQ(colonies[0]->green(), 0.0f);
        for (int k = 1; k < n; ++k) {
            EXPECT_NE(dynamic_cast<HardComputerColony*>(colonies[k].get()), nullptr) << k;
        }
        // Seeded: every colony starts with viruses and its flag.
        for (const auto& colony : colonies) {
            EXPECT_GT(colony->virusCount(), 0);
            EXPECT_EQ(flagCount(*colony), 1u);
        }
    }
    Game medium(1, 4, 1);
    const auto& colonies = medium.screen->world().colonies();
    EXPECT_EQ(dynamic_cast<HardComputerColony*>(colonies[3].get()), nullptr);
    EXPECT_NE(dynamic_cast<ComputerColony*>(colonies[3].get()), nullptr);
    EXPECT_FLOAT_EQ(colonies[2]->blue(), 0.3f);
    EXPECT_FLOAT_EQ(colonies[3]->red(), 0.7f);
}

class GameScreenClicks : public ::testing::TestWithParam<int> {};

TEST_P(GameScreenClicks, ToggleFlagsAfterTheInputPauseWithinTheLimit) {
    Game game(GetParam());
    Colony& player = game.player();
    const int startColumn = player.flags().front()->column();
    const int startRow = player.flags().front()->row();

    // Inside the pause neither a press on the flag nor one away from it counts.
    game.press(startColumn * 4, startRow * 4);
    game.press(401, 301);
    game.rightRelease(startColumn * 4, startRow * 4);
    game.win.ticks(16);
    ASSERT_GT(game.screen->inputPause(), 0);
    game.press(401, 301);
    EXPECT_EQ(flagCount(player), 1u);
    EXPECT_TRUE(hasFlagOn(player, startColumn, startRow));

    game.win.ticks(1);
    ASSERT_LE(game.screen->inputPause(), 0);
    game.press(401, 301);
    EXPECT_EQ(flagCount(player), 2u);
    EXPECT_TRUE(hasFlagOn(player, 100, 75)) << "the cell under the pointer";

    // Fill up to the limit along a row far from every flag, then one more.
    const int limit = player.flagLimit();
    ASSERT_GE(limit, 4);
    int x = 40;
    while (static_cast<int>(flagCount(player)) < limit) {
        game.press(x, 200);
        EXPECT_TRUE(hasFlagOn(player, x / 4, 50)) << x;
        x += 60;
    }
    game.press(x, 200);
    EXPECT_EQ(static_cast<int>(flagCount(player)), limit);
    EXPECT_FALSE(hasFlagOn(player, x / 4, 50));

    // Exactly 25 units away on one axis is not near; the colony is full, so
    // nothing changes. Within 25 on both axes the flag goes, and only that one.
    game.press(400 + 25, 300);
    EXPECT_EQ(static_cast<int>(flagCount(player)), limit);
    EXPECT_TRUE(hasFlagOn(player, 100, 75));
    game.press(400 + 24, 300 - 24);
    EXPECT_EQ(static_cast<int>(flagCount(player)), limit - 1);
    EXPECT_FALSE(hasFlagOn(player, 100, 75));
    // A right release removes near a flag and does nothing elsewhere.
    game.rightRelease(40 - 20, 200 + 20);
    EXPECT_FALSE(hasFlagOn(player, 10, 50));
    EXPECT_EQ(static_cast<int>(flagCount(player)), limit - 2);
    game.rightRelease(401, 301);
    EXPECT_EQ(static_cast<int>(flagCount(player)), limit - 2);
}

INSTANTIATE_TEST_SUITE_P(WindowScale, GameScreenClicks, ::testing::Values(1, 2));

TEST(GameScreen, EscapeInterruptsTheGameAndContinuingPausesClicksAgain) {
    Game game;
    game.win.ticks(20);
    const std::string before = game.screen->world().checksum();
    game.screen->onKeyDown('A');
    game.win.ticks(1);
    ASSERT_EQ(game.win.window.currentView(), game.screen) << "other keys do nothing";

    game.screen->onKeyDown(kEscape);
    game.win.ticks(1);
    EXPECT_EQ(game.win.window.currentView(), game.win.menu);
    EXPECT_FALSE(game.screen->gameOver());
    EXPECT_EQ(game.screen->score(), 0);
    EXPECT_EQ(game.win.platform.minimizeCount(), 0);

    // Kept by the main screen, untouched, and pushed again to continue.
    const std::string kept = game.screen->world().checksum();
    EXPECT_NE(kept, before) << "ran on until the key";
    game.win.ticks(5);
    EXPECT_EQ(game.screen->world().checksum(), kept);
    game.win.pushReturned();
    game.press(401, 301);
    EXPECT_EQ(flagCount(game.player()), 1u);
    game.win.ticks(17);
    game.press(401, 301);
    EXPECT_EQ(flagCount(game.player()), 2u);

    // Enter minimises the window, then leaves the game the same way.
    game.screen->onKeyDown(kEnter);
    EXPECT_EQ(game.win.platform.minimizeCount(), 1);
    game.win.ticks(1);
    EXPECT_EQ(game.win.window.currentView(), game.win.menu);
}

TEST(GameScreen, EndsWhenThePlayerIsGoneOrAtMostOneColonyIsLeft) {
    {
        // The player's last virus dies while two computer colonies remain.
        Game game(1, 3);
        World& world = game.screen->world();
        test::clearViruses(world, &game.player());
        test::putDying(world, &game.player(), 100, 75);
        game.win.ticks(1);
        EXPECT_EQ(game.player().virusCount(), 0);
        EXPECT_EQ(world.aliveColonyCount(), 2);
        EXPECT_TRUE(game.screen->gameOver());
        EXPECT_EQ(game.screen->ending(), GameScreen::Ending::WipedOut);
        EXPECT_EQ(game.screen->endMs(), 30);
    }
    {
        // Both colonies die in the same tick: none is alive.
        Game game;
        World& world = game.screen->world();
        test::clearViruses(world);
        test::putDying(world, world.colonies()[0].get(), 100, 70);
        test::putDying(world, world.colonies()[1].get(), 100, 80);
        ASSERT_EQ(world.aliveColonyCount(), 2);
        game.win.ticks(1);
        EXPECT_EQ(world.aliveColonyCount(), 0);
        EXPECT_TRUE(game.screen->gameOver());
        EXPECT_EQ(game.screen->ending(), GameScreen::Ending::WipedOut) << "nobody left: lost";
    }
    {
        // The player alone: a one-colony game ends at once.
        Game game(1, 1);
        game.win.ticks(1);
        EXPECT_TRUE(game.screen->gameOver());
        EXPECT_EQ(game.screen->ending(), GameScreen::Ending::Won);
    }
}

TEST(GameScreen, ClosesOnThe67thTickAfterTheEndWithThePlayersKills) {
    Game game(1, 3);
    World& world = game.screen->world();
    test::clearViruses(world, &game.player());
    test::putDying(world, &game.player(), 100, 75);
    for (int i = 0; i < 3; ++i) {
        game.player().addKill();
    }
    game.win.ticks(1);
    ASSERT_TRUE(game.screen->gameOver());

    // The world keeps running through the end delay.
    const std::string atEnd = world.checksum();
    game.win.ticks(66);
    EXPECT_NE(world.checksum(), atEnd);
    EXPECT_EQ(game.screen->score(), 0);
    EXPECT_EQ(game.screen->endDelay(), 2000 - 66 * 30);
    game.win.ticks(1);
    EXPECT_EQ(game.screen->score(), 3);
    EXPECT_EQ(game.win.window.currentView(), game.screen);
    game.win.ticks(1);
    EXPECT_EQ(game.win.window.currentView(), game.win.menu);
    EXPECT_EQ(game.screen->result, View::kResultConfirmed);
}

TEST(GameScreen, LeavingAFinishedGameEarlyKeepsTheScore) {
    for (const int key : {kEscape, kEnter}) {
        Game game;
        World& world = game.screen->world();
        Colony& enemy = *world.colonies()[1];
        test::clearViruses(world, &enemy);
        test::putDying(world, &enemy, 100, 75);
        game.win.ticks(1);
        ASSERT_TRUE(game.screen->gameOver());
        game.player().addKill();
        game.player().addKill();
        game.win.ticks(10);
        game.screen->onKeyDown(key);
        EXPECT_EQ(game.screen->score(), 2) << key;
        game.win.ticks(1);
        EXPECT_EQ(game.win.window.currentView(), game.win.menu);
        EXPECT_TRUE(game.screen->gameOver());
    }
    // A close request on a finished game asks for the end of the program and
    // keeps the score too; on a running game it stores none.
    for (const bool over : {true, false}) {
        Game game;
        World& world = game.screen->world();
        if (over) {
            test::clearViruses(world, world.colonies()[1].get());
        }
        game.player().addKill();
        game.win.ticks(1);
        ASSERT_EQ(game.screen->gameOver(), over);
        game.win.window.closeRequest();
        EXPECT_EQ(game.screen->result, View::kResultQuit);
        EXPECT_EQ(game.screen->score(), over ? 1 : 0);
        game.win.ticks(1);
        EXPECT_EQ(game.win.window.currentView(), game.win.menu);
    }
}

TEST(GameScreen, PauseFreezesTheWorldTheTimersAndTheClicks) {
    Game game;
    game.waitOutInputPause();
    game.screen->onKeyDown('P');
    const std::string frozen = game.screen->world().checksum();
    const std::uint32_t draws = game.rules.state().generatorState();
    game.win.ticks(40);
    game.win.window.drawAll();
    EXPECT_EQ(game.screen->world().checksum(), frozen);
    EXPECT_EQ(game.rules.state().generatorState(), draws)
        << "no draw of the generator while paused";
    game.press(401, 301);
    EXPECT_EQ(flagCount(game.player()), 1u);
    // Escape still leaves; a game continued waits paused for P.
    game.screen->onKeyDown(kEscape);
    game.win.ticks(1);
    EXPECT_EQ(game.screen->world().checksum(), frozen);
    game.win.pushReturned();
    game.win.ticks(20);
    EXPECT_TRUE(game.screen->paused());
    EXPECT_EQ(game.screen->world().checksum(), frozen);
    game.screen->onKeyDown(kVkPause);
    game.win.ticks(1);
    EXPECT_NE(game.screen->world().checksum(), frozen);
    // M mutes and unmutes, and the choice is kept.
    game.screen->onKeyDown('M');
    EXPECT_TRUE(game.win.context().sounds.muted());
    Preferences stored;
    ASSERT_TRUE(stored.load(game.rules.params().m_save_folder));
    EXPECT_TRUE(stored.muted);
    game.screen->onKeyDown('M');
    EXPECT_FALSE(game.win.context().sounds.muted());
}

// Each tick at 2x or 4x takes two or four of the same 30 ms steps, so the
// same clicks on the same world updates give the same game.
TEST(GameScreen, FasterSpeedsPlayTheSameGameAsOneTimes) {
    const auto play = [](int speedKeys) {
        Game game;
        for (int i = 0; i < speedKeys; ++i) {
            game.screen->onKeyDown(kVkOemPlus);
        }
        const int speed = game.rules.params().m_preferences.speed;
        game.win.ticks(40 / speed);
        game.press(401, 301);
        game.win.ticks(200 / speed);
        game.press(101, 201);
        game.win.ticks(160 / speed);
        return std::to_string(speed) + " " + game.screen->world().checksum();
    };
    const std::string once = play(0);
    EXPECT_EQ(once.substr(0, 2), "1 ");
    EXPECT_EQ(play(1), "2 " + once.substr(2));
    EXPECT_EQ(play(2), "4 " + once.substr(2));
    EXPECT_EQ(play(5), "4 " + once.substr(2)) << "4x is the top speed";
}

TEST(GameScreen, FlagsAndTheWorldsEventsAreHeard) {
    using test::lastPlayed;
    // Sources too rich to run dry: the input pause passes without a sound.
    Game game(1, 3, 0,
              "m_life_src_min_life_reserve \"900000 900000 900000\"\n"
              "m_life_src_max_life_reserve \"990000 990000 990000\"\n");
    const SoundSet& set = game.win.context().sounds;
    test::ScopedSounds sounds(game.win.platform, game.win.context().sounds);
    const auto& played = game.win.platform.soundsPlayed();
    game.waitOutInputPause();
    EXPECT_TRUE(played.empty());
    game.press(401, 301);
    EXPECT_TRUE(lastPlayed(played, set, Sound::FlagSet));
    game.rightRelease(401, 301);
    EXPECT_TRUE(lastPlayed(played, set, Sound::FlagRemoved));
    game.rightRelease(401, 301);  // no flag left there
    ASSERT_EQ(played.size(), 2u);

    // The first enemy wiped out, then the last one, which wins the game.
    World& world = game.screen->world();
    for (const std::size_t enemy : {1u, 2u}) {
        test::clearViruses(world, world.colonies()[enemy].get());
        test::putDying(world, world.colonies()[enemy].get(), 100, 75);
        game.win.ticks(1);
    }
    ASSERT_EQ(played.size(), 4u);
    EXPECT_EQ(played[2], set.clip(Sound::ColonyWiped));
    EXPECT_TRUE(lastPlayed(played, set, Sound::GameWon));
    game.win.ticks(20);
    EXPECT_EQ(played.size(), 4u) << "the end delay is quiet";

    Game lost(1, 3);
    test::ScopedSounds again(lost.win.platform, lost.win.context().sounds);
    test::clearViruses(lost.screen->world(), &lost.player());
    test::putDying(lost.screen->world(), &lost.player(), 100, 75);
    lost.win.ticks(1);
    EXPECT_TRUE(lastPlayed(lost.win.platform.soundsPlayed(), again.set, Sound::PlayerLost));

    // Sources that run dry at once are replaced, and a new one is heard.
    Game dry(1, 2, 0,
             "m_life_src_min_life_reserve \"1 1 1\"\nm_life_src_max_life_reserve \"2 2 2\"\n"
             "m_life_src_add_prob \"1 1 1\"\n");
    test::ScopedSounds dryRun(dry.win.platform, dry.win.context().sounds);
    dry.win.ticks(10);
    EXPECT_TRUE(lastPlayed(dry.win.platform.soundsPlayed(), dryRun.set, Sound::SourceAppears));
}

// A game played through the screen, at two speeds and with clicks, and
// abandoned; the text of the replay it wrote, and its last checksum.
std::string recordGame(SimRules& rules, std::string& endChecksum) {
    ScreenWindow win(rules.params());
    Replay start = Replay::beginning(rules.params(), rules.state(), 2, 0);
    GameScreen* screen = win.push(std::make_unique<GameScreen>(win.context(), rules.state(), 2, 0));
    screen->record(std::move(start));
    win.ticks(17);
    win.send(MessageKind::LButtonDown, 401, 301);
    win.ticks(150);
    screen->onKeyDown(kVkOemPlus);
    win.send(MessageKind::LButtonDown, 101, 201);
    win.send(MessageKind::RButtonUp, 401, 301);
    win.ticks(80);
    endChecksum = screen->world().checksum();
    win.window.closeTop();
    win.ticks(1);
    win.menu->returned.reset();  // an abandoned game writes its replay
    const std::string path = ReplayFiles::newestIn(rules.params().m_save_folder);
    const auto bytes = readWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// The recorded game replays headless to the same checksums; a damaged, cut
// or foreign record is refused.
TEST(GameScreen, ARecordedGameReplaysHeadlessAndDamagedRecordsAreRefused) {
    SimRules rules("m_flag_per_count \"10 10 10\"\n");
    GameParams& params = rules.params();
    std::string endChecksum;
    const std::string text = recordGame(rules, endChecksum);
    std::string why;
    const auto replay = Replay::parse(text, why);
    ASSERT_TRUE(replay.has_value()) << why;
    EXPECT_EQ(replay->events.size(), 3u);
    EXPECT_EQ(replay->endUpdate, 17 + 150 + 2 * 80);
    EXPECT_EQ(replay->endChecksum, endChecksum);
    EXPECT_TRUE(checkReplay(params, *replay).matches) << checkReplay(params, *replay).why;

    Replay missing = *replay;
    missing.events.erase(missing.events.begin());  // a flag never set: the world leaves the record
    const ReplayOutcome differs = checkReplay(params, missing);
    EXPECT_FALSE(differs.matches);
    EXPECT_EQ(differs.firstDifference, 100) << "the first checkpoint after update 17";
    Replay foreign = *replay;
    foreign.rules = "0123456789abcdef";
    EXPECT_NE(checkReplay(params, foreign).why.find("other rules"), std::string::npos);
    EXPECT_FALSE(Replay::parse(text.substr(0, text.rfind("end ")), why));
    EXPECT_NE(why.find("cut short"), std::string::npos) << why;
    std::string damaged = text;
    damaged.replace(damaged.find("set "), 4, "sat ");
    EXPECT_FALSE(Replay::parse(damaged, why));
    EXPECT_EQ(why.substr(0, 7), "line 5:") << why;
}

// The same record played on the field at each speed ends on the same
// verdict as headless; watching it leaves a Hard game kept for Continue,
// its generator, its counters and its difficulty, as they were.
TEST(ReplayScreen, PlaysTheRecordAtEverySpeedAndLeavesTheGamesThatFollowAlone) {
    SimRules rules("m_flag_per_count \"10 10 10\"\n");
    GameParams& params = rules.params();
    std::string endChecksum;
    std::string why;
    const auto replay = Replay::parse(recordGame(rules, endChecksum), why);
    ASSERT_TRUE(replay.has_value()) << why;
    const auto watch = [&](const Replay& record, int speed) {
        ScreenWindow win(params);
        params.m_preferences.speed = speed;
        RulesState games(12345);
        games.setCounters(1, 7);
        const GameScreen kept(win.context(), games, 2, 2);
        const std::uint32_t generator = games.generatorState();
        const std::string keptChecksum = kept.world().checksum();
        auto* screen = win.push(std::make_unique<ReplayScreen>(win.context(), record));
        win.ticks(record.endUpdate / speed + 10);
        EXPECT_TRUE(screen->outcome().has_value());
        screen->onKeyDown(speed == 4 ? kVkOemMinus : kVkOemPlus);
        EXPECT_EQ(params.m_preferences.speed, speed) << "a replay's speed is its own";
        ReplayOutcome outcome = screen->outcome().value_or(ReplayOutcome{});
        // The world stopped at the record's end.
        outcome.matches = outcome.matches && screen->world().checksum() == endChecksum;
        screen->onKeyDown(kEscape);
        win.ticks(1);
        win.menu->returned.reset();
        EXPECT_EQ(games.generatorState(), generator);
        EXPECT_EQ(games.columnParity(), 1);
        EXPECT_EQ(games.influenceTick(), 7);
        EXPECT_EQ(kept.world().difficulty(), 2);
        EXPECT_EQ(kept.world().checksum(), keptChecksum);
        return outcome;
    };
    for (const int speed : {1, 2, 4}) {
        const ReplayOutcome outcome = watch(*replay, speed);
        EXPECT_TRUE(outcome.matches) << speed << "x: " << outcome.why;
        EXPECT_EQ(outcome.why, "replay matches");
    }
    Replay missing = *replay;
    missing.events.erase(missing.events.begin());
    const ReplayOutcome differs = watch(missing, 4);
    EXPECT_FALSE(differs.matches);
    EXPECT_EQ(differs.firstDifference, 100);
    EXPECT_EQ(differs.why, "the world left the record by update 100");
}

TEST(GameScreen, StatusLineShowsTrendCountAndKills) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* colony = world.addColony(1, 0, 0, false, 0);
    for (int i = 0; i < 57; ++i) {
        test::put(world, colony, i, 10);
    }
    for (int i = 0; i < 3; ++i) {
        colony->addKill();
    }
    for (int t = 0; t < 34; ++t) {
        colony->update(30, 0);
    }
    EXPECT_EQ(PlayScreen::statusLine(*colony), "+    57/    3");

    // A colony wiped out still shows its kills, falling.
    test::clearViruses(world);
    for (int t = 0; t < 34; ++t) {
        colony->update(30, 0);
    }
    EXPECT_EQ(PlayScreen::statusLine(*colony), "-     0/    3");
    for (int i = 0; i < 99997; ++i) {
        colony->addKill();
    }
    EXPECT_EQ(PlayScreen::statusLine(*colony), "-     0/100000") << "wider numbers push right";
}

// The coach's lines in the order they came on the field, one entry per
// change of the line shown.
struct CoachWatch {
    void tick(ScreenWindow& win, const GameScreen& screen, int count = 1) {
        for (int i = 0; i < count; ++i) {
            win.ticks(1);
            const auto line = screen.coach().current();
            if (line && (seen.empty() || seen.back() != *line)) {
                seen.push_back(*line);
            }
        }
    }
    std::vector<Coach::Line> seen;
};

// Sources that run into their last quarter under a colony soon after the
// opening line has gone.
const char* const kShortSources =
    "m_life_src_min_life_reserve \"30000 30000 30000\"\n"
    "m_life_src_max_life_reserve \"36000 36000 36000\"\n"
    "m_life_distribute \"5 5 5\"\n";

// Two games on one seed, one coached: the coach sees the home source run dry
// and the first kill, says each once, and the worlds stay the same.
TEST(GameScreen, CoachSaysEachThingOnceAndLeavesTheWorldAlone) {
    using Line = Coach::Line;
    // The silent game plays as many ticks as the coached one took to say it.
    int dryAt = 0;
    const auto play = [&dryAt](bool coached, CoachWatch& watch) {
        SimRules rules(kShortSources);
        rules.params().m_preferences.coach = coached;
        ScreenWindow win(rules.params());
        GameScreen* screen = win.push(
            std::make_unique<GameScreen>(win.context(), rules.state(), 2, rules.difficulty()));
        watch.tick(win, *screen);
        for (int i = 0; coached ? i < 3000 && !screen->coach().noted(Line::SourceDry) : i < dryAt;
             ++i) {
            watch.tick(win, *screen);
            dryAt = coached ? i + 1 : dryAt;
        }
        if (coached) {
            // Said while the home source still stands, nearly spent.
            const LifeSource& home = *screen->world().lifeSources().front();
            const Flag& start = *screen->world().colonies().front()->flags().front();
            EXPECT_TRUE(home.column() == start.column() && home.row() == start.row());
            EXPECT_TRUE(home.reserve() >= 0 && home.reserveLeft() < 0.25f) << home.reserve();
            EXPECT_EQ(screen->coach().current(), Line::SourceDry);
        }
        // The first kill, and more after it.
        for (int i = 0; i < 3; ++i) {
            screen->world().colonies().front()->addKill();
            watch.tick(win, *screen, 200);
        }
        watch.tick(win, *screen, 700);
        return screen->world().checksum();
    };
    CoachWatch coached;
    CoachWatch silent;
    const std::string withCoach = play(true, coached);
    EXPECT_EQ(play(false, silent), withCoach);
    EXPECT_TRUE(silent.seen.empty());
    ASSERT_GE(coached.seen.size(), 3u);
    EXPECT_EQ(coached.seen.front(), Line::Start);
    const auto at = [&](Line line) {
        return std::find(coached.seen.begin(), coached.seen.end(), line) - coached.seen.begin();
    };
    EXPECT_LT(at(Line::SourceDry), at(Line::FirstKill));
    EXPECT_LT(at(Line::FirstKill), static_cast<long>(coached.seen.size()));
    for (const Line line : coached.seen) {
        EXPECT_EQ(std::count(coached.seen.begin(), coached.seen.end(), line), 1);
    }
}

// The player's flag moves from home to a second source that runs low, then to
// one an enemy crowds, then to bare ground, then to a third source that runs
// low: each is told as the flag gets there, a spent source once for each
// source, and a line the flag has left behind is dropped.
TEST(Coach, TellsWhatTheSourcesByTheFlagsHoldOrThatThereIsNone) {
    using Line = Coach::Line;
    test::SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* player = world.addColony(1, 0, 0, false, 0);
    Colony* enemy = world.addColony(0, 1, 0, true, 0);
    world.addLifeSource(20, 20);
    LifeSource& second = world.addLifeSource(100, 40);
    const LifeSource& crowded = world.addLifeSource(150, 100);
    LifeSource& third = world.addLifeSource(40, 120);
    player->addFlagAt(20 * 4, 20 * 4);
    for (int i = 0; i < 12; ++i) {
        test::put(world, player, 98 + i % 4, 38 + i / 4);
        test::put(world, enemy, 148 + i % 4, 98 + i / 4);
        test::put(world, player, 38 + i % 4, 118 + i / 4);
    }
    Coach coach(true);
    coach.begin(world);
    const auto moveFlagTo = [&](int column, int row) {
        const Flag& flag = *player->flags().front();
        player->removeFlagNear(flag.column() * 4, flag.row() * 4);
        player->addFlagAt(column * 4, row * 4);
        coach.watch(world, 30);
    };
    const auto drain = [](LifeSource& source) {
        while (source.reserveLeft() >= 0.25f) {
            source.update(30);
        }
    };
    drain(second);
    coach.watch(world, 1000);
    EXPECT_FALSE(coach.noted(Line::NextSourceDry)) << "no flag by the sources running low";
    EXPECT_FALSE(coach.noted(Line::EnemyAtSource)) << "the crowded source has no flag by it";

    moveFlagTo(second.column() + 5, second.row() - 5);
    EXPECT_TRUE(coach.noted(Line::NextSourceDry)) << "a flag beside the source's cell counts";
    moveFlagTo(crowded.column(), crowded.row());
    EXPECT_EQ(coach.current(), Line::EnemyAtSource) << "said before the colony walks there";
    EXPECT_FALSE(coach.noted(Line::SourceDry)) << "home is still full";

    EXPECT_FALSE(coach.noted(Line::BareFlag)) << "every flag so far stood by a source";
    moveFlagTo(60, 80);
    EXPECT_EQ(coach.current(), Line::BareFlag) << "the lines for the sources left are dropped";

    drain(third);
    moveFlagTo(third.column(), third.row());
    EXPECT_EQ(coach.current(), Line::NextSourceDry) << "told again for another source";
}

// A real game whose home source runs dry: the player moves the flag to a full
// source while the warning shows, and it is gone at once, with no line about
// bare ground after it.
TEST(GameScreen, CoachDropsALineTheWorldNoLongerBearsOut) {
    using Line = Coach::Line;
    Game game(1, 2, 0, kShortSources);
    for (int i = 0; i < 3000 && !game.screen->coach().noted(Line::SourceDry); ++i) {
        game.win.ticks(1);
    }
    ASSERT_EQ(game.screen->coach().current(), Line::SourceDry);
    const World& world = game.screen->world();
    const auto full = std::find_if(world.lifeSources().begin(), world.lifeSources().end(),
                                   [](const auto& source) { return source->reserveLeft() > 0.9f; });
    ASSERT_NE(full, world.lifeSources().end());
    const Flag& home = *game.player().flags().front();
    game.rightRelease(home.column() * 4, home.row() * 4);
    game.press((*full)->column() * 4, (*full)->row() * 4);
    CoachWatch watch;
    watch.tick(game.win, *game.screen, 600);
    EXPECT_EQ(std::count(watch.seen.begin(), watch.seen.end(), Line::SourceDry), 0);
    EXPECT_EQ(std::count(watch.seen.begin(), watch.seen.end(), Line::BareFlag), 0);
}

TEST(GameScreen, ClicksThatDoNothingSayWhyAtThePointer) {
    Game game(2, 2, 0, "");
    test::ScopedSounds sounds(game.win.platform, game.win.context().sounds);
    game.waitOutInputPause();
    const int limit = game.player().flagLimit();
    for (int x = 40; static_cast<int>(flagCount(game.player())) < limit; x += 60) {
        game.press(x, 200);
    }
    game.press(401, 301);
    EXPECT_EQ(static_cast<int>(flagCount(game.player())), limit);
    const std::string full = std::to_string(limit);
    EXPECT_EQ(game.screen->clickNote(), "flags " + full + "/" + full);
    EXPECT_TRUE(test::lastPlayed(game.win.platform.soundsPlayed(), sounds.set, Sound::Refused));
    EXPECT_TRUE(game.screen->coach().noted(Coach::Line::FlagLimit));
    game.win.ticks(GameScreen::kClickNoteMs / 30 + 1);
    EXPECT_EQ(game.screen->clickNote(), "");

    game.screen->onKeyDown('P');
    game.press(101, 101);
    EXPECT_EQ(game.screen->clickNote(), "paused");
    game.win.ticks(GameScreen::kClickNoteMs / 30 + 1);
    EXPECT_EQ(game.screen->clickNote(), "") << "the note's time runs while paused";
}

TEST(GameScreen, CoachingStopsWithCoachOffAndAfterAWonGame) {
    Game game;
    SaveFolder& folder = game.rules.params().m_save_folder;
    const std::string off = "coach 0\n";
    ASSERT_TRUE(
        writeFileAtomically(folder.writePath(Preferences::kFileName), off.data(), off.size()));
    Preferences& prefs = game.rules.params().m_preferences;
    ASSERT_TRUE(prefs.load(folder));
    EXPECT_FALSE(std::make_unique<GameScreen>(game.win.context(), game.rules.state(), 2, 0)
                     ->coach()
                     .current()
                     .has_value());

    prefs.coach = true;
    World& world = game.screen->world();
    test::clearViruses(world, world.colonies()[1].get());
    game.win.ticks(1);
    ASSERT_EQ(game.screen->ending(), GameScreen::Ending::Won);
    Preferences stored;
    ASSERT_TRUE(stored.load(folder));
    EXPECT_EQ(stored.gamesWon, 1);
    EXPECT_FALSE(std::make_unique<GameScreen>(game.win.context(), game.rules.state(), 2, 0)
                     ->coach()
                     .current()
                     .has_value());
    stored.gamesWon = 0;
    game.rules.params().m_preferences = stored;
    EXPECT_EQ(std::make_unique<GameScreen>(game.win.context(), game.rules.state(), 2, 0)
                  ->coach()
                  .current(),
              Coach::Line::Start);
}

}  // namespace
}  // namespace brv
