#include <gtest/gtest.h>

#include <climits>

#include "platform/Random.h"
#include "sim/ColonyColours.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

using test::SimRules;

const std::string kSum = "0123456789abcdef";

std::string record(const std::string& start, const std::string& body) {
    return "brevora-replay 1\nrules " + kSum + "\n" + start + "\ngame 2 0\n" + body;
}

// The refusal for `text`, empty when it is accepted.
std::string refusal(const std::string& text) {
    std::string why;
    return Replay::parse(text, why) ? std::string() : why;
}

TEST(Replay, EveryNumberAndLineIsBoundedAndTheRefusalSaysWhich) {
    const std::string start = "start 7 0 0";
    EXPECT_EQ(refusal(record(start, "end 5 " + kSum + "\n")), "");
    EXPECT_EQ(refusal(record("start 7 0 2147483647", "end 5 " + kSum + "\n"))
                  .find("line 3: influence tick \"2147483647\" is not a number from 0 to 29"),
              0u);
    // A record asking for far more updates than any game lasts is not played.
    const std::string longest = std::to_string(Replay::kMaxUpdates);
    EXPECT_EQ(refusal(record(start, "end " + longest + " " + kSum + "\n")), "");
    EXPECT_EQ(refusal(record(start, "end 12000000 " + kSum + "\n"))
                  .find("line 5: update \"12000000\" is not a number from 0 to " + longest),
              0u);
    // Lines are measured before they are split: one huge line is refused as such.
    EXPECT_EQ(refusal(record(start, "set 1 2 3" + std::string(80, ' ') + "\nend 5 " + kSum)),
              "line 5: longer than 80 characters");
    std::string huge;
    for (int i = 0; i < 100000; ++i) {
        huge += "a ";
    }
    EXPECT_EQ(refusal(huge), "line 1: longer than 80 characters");
    // A record that does not say which game it is of cannot match one.
    const std::string header = "brevora-replay 1\nrules " + kSum + "\n";
    EXPECT_EQ(refusal(header + "start 7 0 0\nend 5 " + kSum),
              "not said which game it is: no game line");
    EXPECT_EQ(refusal(header + "game 2 0\nend 5 " + kSum),
              "not said which game it is: no start line");
}

TEST(Replay, ARecordingEndsAtTheLongestGameAReplayAccepts) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Replay replay;
    replay.rules = kSum;
    replay.noteInput(Replay::kMaxUpdates, Replay::Input::FlagSet, 1, 2);
    replay.noteUpdate(Replay::kMaxUpdates, world);
    replay.noteInput(Replay::kMaxUpdates + 1, Replay::Input::FlagSet, 3, 4);
    replay.noteUpdate(Replay::kMaxUpdates + 100, world);
    replay.finish(Replay::kMaxUpdates + 150, world);
    std::string why;
    const auto read = Replay::parse(replay.toText(), why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->endUpdate, Replay::kMaxUpdates);
    EXPECT_EQ(read->events.size(), 1u);
    EXPECT_EQ(read->checks.size(), 1u);
}

// A resignation is written on its update and read back; a record resigned
// twice is refused.
TEST(Replay, AResignationIsKeptOnItsUpdateAndOnlyOnce) {
    Replay replay;
    replay.rules = kSum;
    replay.noteInput(3, Replay::Input::FlagSet, 10, 20);
    replay.noteInput(7, Replay::Input::Resigned, 0, 0);
    replay.endUpdate = 74;
    replay.endChecksum = kSum;
    const std::string text = replay.toText();
    EXPECT_NE(text.find("\nset 3 10 20\nresign 7\nend 74 "), std::string::npos) << text;
    std::string why;
    const auto read = Replay::parse(text, why);
    ASSERT_TRUE(read) << why;
    EXPECT_EQ(read->resignedAt(), 7);
    EXPECT_EQ(read->events.size(), 2u);
    EXPECT_EQ(refusal(record("start 7 0 0", "resign 7\nresign 8\nend 74 " + kSum)),
              "line 6: resigned twice: \"resign 8\"");
}

TEST(Replay, CheckpointsOutOfOrderAreRefused) {
    for (const char* second : {"100", "99"}) {
        const std::string checks = "check 100 " + kSum + "\ncheck " + second + " " + kSum + "\n";
        EXPECT_EQ(refusal(record("start 7 0 0", checks + "end 300 " + kSum))
                      .find("line 6: checkpoints out of order"),
                  0u);
    }
}

// Every checkpoint of a played game matches, but its end was recorded from
// another world: the replay does not match.
TEST(Replay, AnEndThatDiffersIsNotAMatchEvenWhenEveryCheckpointIs) {
    SimRules rules;
    Replay replay = Replay::beginning(rules.params(), rules.state(), 2, 0);
    World world(rules.params(), rules.state(), rules.difficulty());
    setUpGame(world, 2, 0);
    for (int update = 1; update <= 250; ++update) {
        world.update(30);
        replay.noteUpdate(update, world);
    }
    replay.finish(250, world);
    ASSERT_TRUE(checkReplay(rules.params(), replay).matches);
    replay.endChecksum = kSum;
    const ReplayOutcome outcome = checkReplay(rules.params(), replay);
    EXPECT_FALSE(outcome.matches);
    EXPECT_EQ(outcome.firstDifference, 250);
}

// A record of a Hard game replays at Hard on rules shared with games of any
// difficulty, and leaves the caller's rules state alone.
TEST(Replay, PlaysAtTheRecordsDifficultyAndLeavesTheCallersAlone) {
    SimRules rules("m_min_life_reserve \"100 100 150\"\n", 2);
    Replay replay = Replay::beginning(rules.params(), rules.state(), 2, 2);
    World world(rules.params(), rules.state(), rules.difficulty());
    setUpGame(world, 2, 2);
    for (int update = 1; update <= 120; ++update) {
        world.update(30);
        replay.noteUpdate(update, world);
    }
    replay.finish(120, world);
    // The check plays on a state of its own: the state the game was
    // recorded on, which it would go on drawing from, stays where it was.
    const std::uint32_t generator = rules.state().generatorState();
    const int parity = rules.state().columnParity();
    const int influence = rules.state().influenceTick();
    EXPECT_TRUE(checkReplay(rules.params(), replay).matches);
    EXPECT_EQ(rules.state().generatorState(), generator);
    EXPECT_EQ(rules.state().columnParity(), parity);
    EXPECT_EQ(rules.state().influenceTick(), influence);
}

// A game steered beyond colony 0 is written as format 2, whose clicks name
// their colony, and reads back whole; a click of a colony that is not
// steered, or a steered colony the game lacks, is refused.
TEST(Replay, SteeredColoniesAndTheirClicksRoundTrip) {
    Replay replay;
    replay.rules = kSum;
    replay.steered = {1, 2};
    replay.colonies = 3;
    replay.noteInput(3, Replay::Input::FlagSet, 10, 20, 2);
    replay.noteInput(4, Replay::Input::FlagRemoved, 30, 40, 1);
    replay.endUpdate = 5;
    replay.endChecksum = kSum;
    const std::string text = replay.toText();
    EXPECT_EQ(text.rfind("brevora-replay 2\n", 0), 0u);
    std::string why;
    const auto back = Replay::parse(text, why);
    ASSERT_TRUE(back) << why;
    EXPECT_EQ(back->steered, (std::vector<int>{1, 2}));
    ASSERT_EQ(back->events.size(), 2u);
    EXPECT_EQ(back->events[0].colony, 2);
    EXPECT_EQ(back->events[1].colony, 1);
    EXPECT_EQ(back->toText(), text);
    EXPECT_EQ(refusal(record("start 7 0 0", "steered 1\nset 1 2 3 0\nend 5 " + kSum + "\n")),
              "a click of colony 0, which is not steered");
    EXPECT_EQ(refusal(record("start 7 0 0", "steered 0 2\nend 5 " + kSum + "\n")),
              "steered colony 2 of a game of 2");
}

// A Hard colony against an Easy one: the record names each colony's kind,
// reads back whole and plays to its end; without the kinds it would play
// both as Hard and leave the record.
TEST(Replay, ComputerKindsPerColonyReplayTheGameTheyRecord) {
    SimRules rules("", 2);
    Replay replay = Replay::beginning(rules.params(), rules.state(), 2, 2);
    replay.steered = {};
    replay.kinds = {2, 0};
    World world(rules.params(), rules.state(), rules.difficulty());
    for (const int kind : replay.kinds) {
        const ColonyColour& c = kColonyColours[world.colonies().size()];
        world.addColony(c.red, c.green, c.blue, true, kind);
    }
    world.setUp();
    for (int update = 1; update <= 300; ++update) {
        world.update(30);
        replay.noteUpdate(update, world);
    }
    replay.finish(300, world);
    std::string why;
    auto back = Replay::parse(replay.toText(), why);
    ASSERT_TRUE(back) << why;
    EXPECT_NE(replay.toText().find("brevora-replay 2\n"), std::string::npos);
    EXPECT_EQ(back->kinds, (std::vector<int>{2, 0}));
    EXPECT_TRUE(checkReplay(rules.params(), *back).matches);
    back->kinds.clear();
    EXPECT_FALSE(checkReplay(rules.params(), *back).matches);
    EXPECT_EQ(refusal(record("start 7 0 0", "kinds 2\nend 5 " + kSum + "\n")),
              "1 kinds for a game of 2");
}

}  // namespace
}  // namespace brv
