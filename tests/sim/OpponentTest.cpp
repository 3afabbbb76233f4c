#include <gtest/gtest.h>

#include <vector>

#include "platform/Random.h"
#include "sim/ComputerColony.h"
#include "sim/HardComputerColony.h"
#include "sim/LifeSource.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

using test::put;
using test::SimRules;

std::vector<int> flagColumns(const Colony& colony) {
    std::vector<int> columns;
    for (const auto& flag : colony.flags()) {
        columns.push_back(flag->column());
    }
    return columns;
}

TEST(EasyOpponent, FillsItsLimitOnRandomSourcesAndDropsStrayFlags) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* easy = world.addColony(0, 1, 0, true, 0);
    ASSERT_NE(dynamic_cast<ComputerColony*>(easy), nullptr);
    world.addLifeSource(20, 20);
    world.addLifeSource(60, 60);
    world.addLifeSource(100, 100);
    easy->addFlagAt(150 * 4, 140 * 4);  // stands on no source

    // The think time is never set back: the first think comes on the 51st tick.
    for (int tick = 1; tick <= 50; ++tick) {
        easy->update(30, 0);
    }
    EXPECT_EQ(flagColumns(*easy), std::vector<int>{150});
    const std::uint32_t before = rules.state().generatorState();
    easy->update(30, 0);
    // Limit 1, three candidates: one draw places a flag (plus its start-frame
    // draw); the two candidates left only use up a draw each.
    LcgRandom replay(before);
    const int k = replay.next() % 3;
    for (int i = 0; i < 3; ++i) {
        replay.next();
    }
    EXPECT_EQ(rules.state().generatorState(), replay.state());
    ASSERT_EQ(easy->flags().size(), 1u);
    EXPECT_EQ(easy->flags()[0]->column(), 20 + 40 * k);

    // From now on it thinks on every tick: a stray flag lasts one tick.
    easy->removeFlagNear(easy->flags()[0]->column() * 4, easy->flags()[0]->row() * 4);
    easy->addFlagAt(5 * 4, 140 * 4);
    easy->update(30, 0);
    ASSERT_EQ(easy->flags().size(), 1u);
    EXPECT_NE(easy->flags()[0]->column(), 5);
}

// The computer's own handicaps touch its colonies alone: fewer flags, a
// rethink only every so often, and hits that take part of the attacker's life.
TEST(EasyOpponent, HandicapsOfTheRulesBindTheComputerOnly) {
    SimRules rules(
        "m_ai_flag_per_count \"2 2 2\"\nm_ai_think_ms \"300 300 300\"\n"
        "m_ai_attack_percent \"50 50 50\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* player = world.addColony(1, 0, 0, false, 0);
    Colony* easy = world.addColony(0, 1, 0, true, 0);
    world.addLifeSource(20, 20);
    for (int i = 0; i < 4; ++i) {
        put(world, easy, 100 + i, 10);
        put(world, player, 100 + i, 140);
    }
    EXPECT_EQ(easy->flagLimit(), 3);
    EXPECT_EQ(player->flagLimit(), 1);

    // Thought on the 11th tick, then not again for another ten.
    for (int tick = 1; tick <= 11; ++tick) {
        easy->update(30, 0);
    }
    ASSERT_EQ(easy->flags().size(), 1u);
    easy->removeFlagNear(20 * 4, 20 * 4);
    for (int tick = 1; tick <= 10; ++tick) {
        easy->update(30, 0);
    }
    EXPECT_TRUE(easy->flags().empty());
    easy->update(30, 0);
    EXPECT_EQ(easy->flags().size(), 1u);

    Virus& attacker = put(world, easy, 60, 60, 16);
    Virus& defender = put(world, player, 61, 60, 10);
    attacker.fight();
    EXPECT_EQ(defender.life(), 2);
    EXPECT_EQ(attacker.life(), 14);
    defender.fight();
    EXPECT_EQ(attacker.life(), 12);
    // Between computer colonies a hit is whole.
    Colony* other = world.addColony(0, 0, 1, true, 0);
    Virus& rival = put(world, other, 59, 59, 5);
    rival.fight();
    EXPECT_EQ(attacker.life(), 7);

    // Without a player (the demonstration) the wait is not kept: the first
    // rethink comes after the designed 1.5 s, then one on every tick.
    World alone(rules.params(), rules.state(), rules.difficulty());
    Colony* first = alone.addColony(0, 1, 0, true, 0);
    alone.addColony(0, 0, 1, true, 0);
    alone.addLifeSource(20, 20);
    for (int tick = 1; tick <= 50; ++tick) {
        first->update(30, 0);
    }
    EXPECT_TRUE(first->flags().empty());
    first->update(30, 0);
    ASSERT_EQ(first->flags().size(), 1u);
    first->removeFlagNear(20 * 4, 20 * 4);
    first->update(30, 0);
    EXPECT_EQ(first->flags().size(), 1u);
}

// Builds the influence table of the Hard colony at index 1 against colony 0 at
// sources 20 cells apart on row 75 (R = 10, so only the source's own column is
// sampled and a virus dr rows away weighs 100 − dr²).
struct HardField {
    SimRules rules{"m_life_src_visible 20\nm_flag_per_count \"1 1 1\"\n", 2};
    World world{rules.params(), rules.state(), rules.difficulty()};
    Colony* other = world.addColony(1, 0, 0, false, 2);
    Colony* hard = world.addColony(0, 1, 0, true, 2);

    void place(Colony* colony, int sourceColumn, std::initializer_list<int> rows) {
        for (int dr : rows) {
            put(world, colony, sourceColumn, 75 + dr);
        }
    }
};

TEST(HardOpponent, DecisionsAroundTheAveragePresence) {
    HardField f;
    ASSERT_NE(dynamic_cast<HardComputerColony*>(f.hard), nullptr);
    for (int c = 10; c <= 150; c += 20) {
        f.world.addLifeSource(c, 75);
    }
    f.place(f.hard, 10, {0, 5, -5});  // own 250: far above twice the average
    f.place(f.hard, 30, {5, -5});     // own 150 against 200
    f.place(f.other, 30, {0, 6, -8});
    f.place(f.hard, 50, {5, -5});  // own 150 against 84
    f.place(f.other, 50, {4});
    f.place(f.hard, 70, {7});     // own 51 against nobody
    f.place(f.hard, 90, {4, 8});  // own 120 against 120: left alone
    f.place(f.other, 90, {-4, -8});
    f.place(f.hard, 110, {4});  // own 84; 130 and 150 are empty
    f.world.rebuildInfluence();
    const InfluenceTable& table = f.world.influence();
    ASSERT_EQ(table.size(), 8u);
    EXPECT_EQ(table[0].weight[1], 250);
    EXPECT_EQ(table[1].weight[0], 200);
    EXPECT_EQ(table[4].weight[0], 120);
    for (const auto& record : table) {
        EXPECT_EQ(record.weight[2] + record.weight[3], 0);
    }

    for (int c : {10, 30, 90}) {
        f.hard->addFlagAt(c * 4, 75 * 4);
    }
    f.hard->update(1001, 1);
    EXPECT_EQ(flagColumns(*f.hard), (std::vector<int>{90, 50, 70, 110, 130, 150}));
}

TEST(HardOpponent, TakesItsBestSourceBackOnceItHasNoFlag) {
    HardField f;
    f.world.addLifeSource(10, 75);
    f.world.addLifeSource(30, 75);
    f.world.addLifeSource(50, 75);
    f.place(f.hard, 10, {0, 5, -5});
    f.place(f.other, 30, {1});
    f.hard->addFlagAt(10 * 4, 75 * 4);

    // No table yet: the think is skipped, nothing changes.
    f.hard->update(1001, 1);
    EXPECT_EQ(flagColumns(*f.hard), std::vector<int>{10});

    f.world.rebuildInfluence();
    // Thinks on the 34th tick and starts counting again.
    for (int tick = 1; tick <= 33; ++tick) {
        f.hard->update(30, 1);
    }
    EXPECT_EQ(flagColumns(*f.hard), std::vector<int>{10});
    f.hard->update(30, 1);
    // Source 10 is left (250 > 2 × 83) and at once taken back as the best by
    // margin; 30 (own 0 < others 99) is lost; 50 is weak but not outnumbered.
    EXPECT_EQ(flagColumns(*f.hard), (std::vector<int>{10, 50}));
    f.hard->addFlagAt(120 * 4, 10 * 4);  // stray
    for (int tick = 1; tick <= 33; ++tick) {
        f.hard->update(30, 1);
    }
    EXPECT_EQ(f.hard->flags().size(), 3u);
    // This time the colony still holds a flag after leaving source 10, so it
    // does not take it back; the flag at 50 is replaced in place.
    f.hard->update(30, 1);
    EXPECT_EQ(flagColumns(*f.hard), std::vector<int>{50});
}

}  // namespace
}  // namespace brv
