#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/Random.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

using test::put;
using test::SimRules;

TEST(Virus, DecayKillsOnlyBelowZeroAndSharesHalfTheMaximum) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);

    Virus& edge = put(world, a, 10, 10, 1);
    edge.decay();
    EXPECT_EQ(edge.life(), 0);
    EXPECT_EQ(edge.state(), VirusState::Idle);
    edge.decay();
    EXPECT_EQ(edge.state(), VirusState::Dead);

    // Alone in its window: the share goes to itself and is lost with it.
    Virus& lonely = put(world, a, 100, 100, 0);
    lonely.decay();
    EXPECT_EQ(lonely.life(), -1 + (lonely.maxLife() / 2));

    // Eight neighbours of any colony within r = 2: all nine get (max / 2) / 9.
    Virus& dying = put(world, a, 50, 50, 0);
    const int cells[8][2] = {{48, 48}, {52, 52}, {48, 52}, {52, 48},
                             {50, 48}, {49, 51}, {51, 50}, {50, 52}};
    Virus* around[8];
    for (int i = 0; i < 8; ++i) {
        around[i] = &put(world, i % 2 ? a : b, cells[i][0], cells[i][1], 10);
    }
    Virus& outside = put(world, b, 53, 50, 10);
    dying.decay();
    const int share = (dying.maxLife() / 2) / 9;
    for (Virus* v : around) {
        EXPECT_EQ(v->life(), 10 + share);
    }
    EXPECT_EQ(outside.life(), 10);
    EXPECT_EQ(a->virusCount() + b->virusCount(), 12);
}

TEST(Virus, BornAtThePopulationLimitDiesAtItsFirstDecay) {
    SimRules rules("m_max_population 2\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    put(world, a, 10, 10);
    Virus& second = put(world, a, 12, 10);
    EXPECT_GE(second.life(), 100);
    Virus& third = put(world, a, 11, 10);
    EXPECT_EQ(third.life(), -10);
    EXPECT_GE(third.maxLife(), 100);
    EXPECT_EQ(a->virusCount(), 3);
    third.decay();
    EXPECT_EQ(third.state(), VirusState::Dead);
    EXPECT_EQ(second.life(), second.maxLife() + (third.maxLife() / 2) / 3);
    world.takeVirus(11, 10).reset();
    EXPECT_EQ(a->virusCount(), 2);
}

TEST(Virus, FightArithmeticAndRepeatedKills) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);

    Virus& attacker = put(world, a, 20, 20, 15);
    Virus& defender = put(world, b, 21, 21, 10);
    put(world, a, 19, 20, 50);  // a friend is never attacked
    attacker.fight();
    EXPECT_EQ(defender.life(), -5);
    EXPECT_EQ(attacker.life(), 20);
    EXPECT_EQ(a->killCounter(), 1);
    // A defender still on the grid below zero counts again and feeds the attacker.
    attacker.fight();
    EXPECT_EQ(defender.life(), -25);
    EXPECT_EQ(attacker.life(), 45);
    EXPECT_EQ(a->killCounter(), 2);

    Virus& weak = put(world, a, 60, 60, 15);
    Virus& strong = put(world, b, 59, 61, 30);
    weak.fight();
    EXPECT_EQ(strong.life(), 15);
    EXPECT_EQ(weak.life(), 0);
    EXPECT_EQ(a->killCounter(), 2);
    EXPECT_EQ(b->killCounter(), 0);

    // A winning streak doubles the attacker's life; the sums saturate instead
    // of wrapping around into a sudden death.
    Virus& champion = put(world, a, 140, 140, 900000000);
    Virus& victim = put(world, b, 141, 140, -900000000);
    champion.fight();
    EXPECT_EQ(victim.life(), -Virus::kLifeLimit);
    EXPECT_EQ(champion.life(), Virus::kLifeLimit);
    champion.feed(500);
    EXPECT_EQ(champion.life(), Virus::kLifeLimit - world.virusAt(139, 139)->maxLife());

    // Nobody in reach: no draw at all.
    Virus& alone = put(world, a, 100, 100, 15);
    const auto state = rules.state().generatorState();
    alone.fight();
    EXPECT_EQ(rules.state().generatorState(), state);
}

// The rules' bound on lives holds what a fight, a feed and a share of a death
// hand out; a gain never lowers a life already above it, and losses pass.
TEST(Virus, LifeBoundCapsEveryGainButNeverLowersALife) {
    SimRules rules("m_max_virus_life \"1000 500 500\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);
    Virus& attacker = put(world, a, 20, 20, 600);
    Virus& dying = put(world, b, 21, 20, -700);
    attacker.fight();
    EXPECT_EQ(attacker.life(), 1000);
    EXPECT_EQ(a->killCounter(), 1);
    // Fed at the bound it still pays for the child it makes.
    attacker.feed(30);
    EXPECT_EQ(attacker.life(), 1000 - world.virusAt(19, 19)->maxLife());
    Virus& above = put(world, a, 80, 80, 1500);
    Virus& sharer = put(world, b, 81, 80, 0);
    sharer.decay();
    EXPECT_EQ(above.life(), 1500);
    Virus& weak = put(world, a, 120, 120, 100);
    put(world, b, 121, 120, 400);
    weak.fight();
    EXPECT_EQ(weak.life(), -200);
    EXPECT_EQ(dying.life(), -1300);
}

TEST(Virus, FeedThresholdAndChildPlacement) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);

    Virus& parent = put(world, a, 50, 50);
    const int max = parent.maxLife();
    parent.feed(max / 2);  // life − max = max / 2: not yet
    EXPECT_EQ(a->virusCount(), 1);
    parent.feed(1);
    ASSERT_EQ(a->virusCount(), 2);
    Virus* child = world.virusAt(49, 49);  // first empty cell, column by column
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(parent.life(), max + max / 2 + 1 - child->maxLife());

    // A full 3 × 3 block sends the child to the 5 × 5 block's first empty cell.
    for (int c = 49; c <= 51; ++c) {
        for (int r = 49; r <= 51; ++r) {
            if (world.virusAt(c, r) == nullptr) {
                put(world, a, c, r);
            }
        }
    }
    parent.feed(10 * max);
    EXPECT_NE(world.virusAt(48, 48), nullptr);

    // In a corner the window is clipped and grows on the open sides only.
    Virus& corner = put(world, a, 0, 0);
    put(world, a, 0, 1);
    put(world, a, 1, 0);
    put(world, a, 1, 1);
    corner.feed(10 * max);
    EXPECT_NE(world.virusAt(0, 2), nullptr);
}

TEST(Virus, FeedOnAFullGridMakesNoChildAndCostsNothing) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    for (int c = 0; c < World::kColumns; ++c) {
        for (int r = 0; r < World::kRows; ++r) {
            put(world, a, c, r);
        }
    }
    Virus& v = *world.virusAt(100, 75);
    v.feed(10000);
    EXPECT_EQ(a->virusCount(), World::kSlots);
    EXPECT_EQ(v.life(), v.maxLife() + 10000);
}

// Over many seeds, the cells a virus at (50, 50) moves to show the window.
std::set<int> reachedColumns(bool withFlag, int* sumDx) {
    std::set<int> columns;
    *sumDx = 0;
    SimRules rules;
    for (std::uint32_t seed = 1; seed <= 400; ++seed) {
        World world(rules.params(), rules.state(), rules.difficulty());
        Colony* a = world.addColony(1, 0, 0, false, 0);
        if (withFlag) {
            a->addFlagAt(70 * 4, 52 * 4);
        }
        rules.state().setGeneratorState(seed);
        Virus& v = put(world, a, 50, 50);
        v.chooseMove();
        EXPECT_EQ(v.state(), VirusState::Moving);
        EXPECT_EQ(world.virusAt(50, 50), nullptr);
        EXPECT_EQ(world.virusAt(v.column(), v.row()), &v);
        columns.insert(v.column());
        *sumDx += v.column() - 50;
    }
    return columns;
}

TEST(Virus, MoveWindowWithAndWithoutAFlag) {
    int sumDx = 0;
    // r = 2: x0 in 48 … 49 and x1 in 51 … 54, so targets lie in columns 48 … 53.
    EXPECT_EQ(reachedColumns(false, &sumDx), (std::set<int>{48, 49, 50, 51, 52, 53}));
    // A flag to the right shifts x0 by 1 and x1 by 2: columns 49 … 55.
    int flagDx = 0;
    EXPECT_EQ(reachedColumns(true, &flagDx), (std::set<int>{49, 50, 51, 52, 53, 54, 55}));
    EXPECT_GT(flagDx, sumDx + 200);
}

TEST(Virus, MovesStepByStepAndWobblesWhenBoxedIn) {
    SimRules rules("m_speed 1.5\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Virus& v = put(world, a, 50, 50);
    v.chooseMove();
    ASSERT_EQ(v.state(), VirusState::Moving);
    const float dx = static_cast<float>(v.column() - 50) * 4;
    const float dy = static_cast<float>(v.row() - 50) * 4;
    const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) / 1.5f);
    EXPECT_EQ(v.stepsLeft(), steps);
    EXPECT_NEAR(std::hypot(v.movementX(), v.movementY()), 1.5f, 1e-5f);
    for (int i = 0; i < steps; ++i) {
        v.step();
    }
    EXPECT_NEAR(v.x(), 200.0f + dx * static_cast<float>(steps) * 1.5f / std::hypot(dx, dy), 1e-3f);
    EXPECT_EQ(v.state(), VirusState::Moving);
    v.step();
    EXPECT_EQ(v.state(), VirusState::Idle);
    EXPECT_LE(std::abs(v.x() - static_cast<float>(v.column()) * 4), 1.0f);

    // Walled in by its own colony, a virus only wobbles around its cell.
    for (int c = 95; c <= 105; ++c) {
        for (int r = 95; r <= 105; ++r) {
            put(world, a, c, r);
        }
    }
    Virus& boxed = *world.virusAt(100, 100);
    for (int i = 0; i < 20; ++i) {
        boxed.chooseMove();
        EXPECT_EQ(boxed.state(), VirusState::Idle);
        EXPECT_LE(std::abs(boxed.x() - 400.0f), 1.0f);
        EXPECT_LE(std::abs(boxed.y() - 400.0f), 1.0f);
    }
}

}  // namespace
}  // namespace brv

namespace brv {
namespace {

TEST(Rules, LifeValuesThatCouldOverflowAreRefusedByName) {
    test::SimRules fine;
    EXPECT_TRUE(fine.params().ruleProblems().empty());
    test::SimRules huge(
        "m_max_life_reserve \"200 200 2000000000\"\n"
        "m_life_src_min_life_reserve \"-1500000000 0 0\"\n"
        "m_life_distribute \"40 200000 40\"\n");
    const auto problems = huge.params().ruleProblems();
    ASSERT_EQ(problems.size(), 3u);
    auto named = [&](const std::string& text) {
        int hits = 0;
        for (const auto& p : problems) {
            hits += p.find(text) != std::string::npos ? 1 : 0;
        }
        return hits;
    };
    EXPECT_EQ(named("m_max_life_reserve 200 200 2000000000"), 1);
    EXPECT_EQ(named("m_life_src_min_life_reserve -1500000000 0 0"), 1);
    EXPECT_EQ(named("m_life_distribute 40 200000 40"), 1);
}

}  // namespace
}  // namespace brv
