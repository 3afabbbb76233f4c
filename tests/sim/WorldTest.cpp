#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <functional>
#include <iterator>
#include <map>
#include <set>

#include "platform/Random.h"
#include "sim/HardComputerColony.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

using test::put;
using test::SimRules;

TEST(World, SetUpSeedsEveryColonyInItsCorner) {
    SimRules rules("", 2);
    World world(rules.params(), rules.state(), rules.difficulty());
    world.addColony(1, 0, 0, false, 2);
    for (int k = 1; k < 4; ++k) {
        Colony* c = world.addColony(0, 1, 0, true, 2);
        EXPECT_NE(dynamic_cast<HardComputerColony*>(c), nullptr);
    }
    EXPECT_EQ(world.addColony(0, 0, 1, true, 2), nullptr);
    EXPECT_EQ(world.humanColony().index, 0);
    world.setUp();

    std::set<std::pair<int, int>> corners;
    ASSERT_EQ(world.lifeSources().size(), 8u);
    for (std::size_t k = 0; k < 4; ++k) {
        const Colony& colony = *world.colonies()[k];
        ASSERT_EQ(colony.flags().size(), 1u);
        const int x = colony.flags()[0]->column();
        const int y = colony.flags()[0]->row();
        corners.insert({x, y});
        EXPECT_EQ(world.lifeSources()[k]->column(), x);
        EXPECT_EQ(world.lifeSources()[k]->row(), y);
        EXPECT_GE(colony.virusCount(), 40);
        EXPECT_LT(colony.virusCount(), 130);  // a pass runs to its end
        // Every virus of the colony stands in the square from 17 cells before
        // to 16 cells after its start cell.
        int inSquare = 0;
        for (int c = x - 17; c <= x + 16; ++c) {
            for (int r = y - 17; r <= y + 16; ++r) {
                const Virus* v = world.virusAt(c, r);
                inSquare += v != nullptr && v->colony() == &colony ? 1 : 0;
            }
        }
        EXPECT_EQ(inSquare, colony.virusCount());
    }
    EXPECT_EQ(corners, (std::set<std::pair<int, int>>{{25, 20}, {175, 20}, {25, 130}, {175, 130}}));
    EXPECT_EQ(world.aliveColonyCount(), 4);
}

TEST(World, SetUpWithNoStartVirusesOrMoreThanTheSquareHolds) {
    {
        SimRules rules("m_viruses_on_start \"0 0 0\"\n");
        World world(rules.params(), rules.state(), rules.difficulty());
        world.addColony(0, 1, 0, true, 0);
        world.addColony(0, 0, 1, true, 0);
        EXPECT_EQ(world.humanColony().colony, nullptr);
        EXPECT_EQ(world.humanColony().index, 2);
        world.setUp();
        EXPECT_EQ(world.aliveColonyCount(), 0);
        EXPECT_EQ(world.colonies()[0]->flags().size(), 1u);
        EXPECT_EQ(world.lifeSources().size(), 4u);
    }
    {
        // The passes stop once every cell of the 34 × 34 square is taken.
        SimRules rules("m_viruses_on_start \"5000 5000 5000\"\n");
        World world(rules.params(), rules.state(), rules.difficulty());
        world.addColony(1, 0, 0, false, 0);
        world.setUp();
        EXPECT_EQ(world.colonies()[0]->virusCount(), 34 * 34);
    }
}

// The scan visits slots: a virus that moves to a slot the scan reaches later
// in the same tick is updated (and decays) twice.
// Every pitch the rules accept seeds each colony inside the field, and the
// slowest speed they accept at pitch 4 plays with moves that count their
// steps.
TEST(World, AcceptedRulesSeedEveryColonyAndCountEveryMove) {
    for (int pitch = 1; pitch <= 80; ++pitch) {
        SimRules rules("m_distance_beween_viruses " + std::to_string(pitch) +
                       "\nm_viruses_on_start \"1 1 1\"\n");
        if (!rules.params().ruleProblems().empty()) {
            continue;
        }
        World world(rules.params(), rules.state(), rules.difficulty());
        for (int k = 0; k < 4; ++k) {
            world.addColony(1, 0, 0, k != 0, 0);
        }
        world.setUp();
        EXPECT_EQ(world.aliveColonyCount(), 4) << pitch;
    }
    SimRules rules("m_speed 4.7e-7\n");
    ASSERT_TRUE(rules.params().ruleProblems().empty());
    World world(rules.params(), rules.state(), rules.difficulty());
    world.addColony(1, 0, 0, false, 0);
    world.setUp();
    int moving = 0;
    for (int tick = 0; tick < 10; ++tick) {
        world.update(30);
    }
    for (int slot = 0; slot < World::kSlots; ++slot) {
        if (const Virus* v = world.virusAt(slot / World::kRows, slot % World::kRows)) {
            EXPECT_GE(v->stepsLeft(), 0);
            moving += v->stepsLeft() > 10000000 ? 1 : 0;
        }
    }
    EXPECT_GT(moving, 0);
}

// A replay may start the influence counter anywhere in its period; a counter
// set past it is rebuilt and reset on the next update, never carried on.
TEST(World, InfluenceCounterSetAtTheTopOfItsRangeIsResetNotOverflowed) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    world.addColony(1, 0, 0, false, 0);
    world.setUp();
    rules.state().setCounters(0, INT_MAX);
    world.update(30);
    EXPECT_EQ(rules.state().influenceTick(), 0);
    EXPECT_FALSE(world.influence().empty());
}

TEST(World, ScanUpdatesAVirusAgainWhenItMovesAhead) {
    SimRules rules;
    int twice = 0;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        RulesState state(seed);
        World world(rules.params(), state, rules.difficulty());
        Colony* a = world.addColony(1, 0, 0, false, 0);
        Virus& v = put(world, a, 51, 75);  // odd: the first update visits it
        const int life = v.life();
        const bool upwards = LcgRandom(state.generatorState()).next() % 2 == 0;
        world.update(30);
        EXPECT_EQ(state.columnParity(), 1);
        const bool ahead =
            v.column() == 53 || (v.column() == 51 && (upwards ? v.row() < 75 : v.row() > 75));
        EXPECT_EQ(life - v.life(), ahead ? 2 : 1) << "seed " << seed;
        twice += ahead ? 1 : 0;
        world.update(30);
        EXPECT_EQ(state.columnParity(), 0);
    }
    EXPECT_GT(twice, 10);
}

const char* kQuickSources =
    "m_life_src_min_life_reserve \"0 0 0\"\n"
    "m_life_src_max_life_reserve \"1 1 1\"\n"
    "m_life_src_add_prob \"1 1 1\"\n"
    "m_life_src_visible 20\n";

// `sources` sources of reserve 0 on row 75; only the first has a virus in
// reach, so only it is spent in the first tick.
std::size_t sourcesLeftAfterOneSpent(int alive, int sources) {
    SimRules rules(kQuickSources);
    World world(rules.params(), rules.state(), rules.difficulty());
    for (int k = 0; k < 4; ++k) {
        Colony* c = world.addColony(1, 0, 0, false, 0);
        if (k < alive) {
            put(world, c, 100 + 2 * k, 145);
        }
    }
    for (int i = 0; i < sources; ++i) {
        world.addLifeSource(20 + 20 * i, 75);
    }
    put(world, world.colonies()[0].get(), 20, 76);
    world.update(30);
    return world.lifeSources().size();
}

TEST(LifeSource, ReplacementFollowsTheAliveColonies) {
    EXPECT_EQ(sourcesLeftAfterOneSpent(4, 7), 7u);
    EXPECT_EQ(sourcesLeftAfterOneSpent(4, 8), 7u);
    EXPECT_EQ(sourcesLeftAfterOneSpent(2, 3), 3u);
    EXPECT_EQ(sourcesLeftAfterOneSpent(2, 4), 3u);
    EXPECT_EQ(sourcesLeftAfterOneSpent(1, 1), 1u);
    EXPECT_EQ(sourcesLeftAfterOneSpent(1, 2), 1u);
}

TEST(LifeSource, OneSpentSourceGoesPerTickAndTheRestWait) {
    SimRules rules(kQuickSources);
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    world.addLifeSource(20, 75);
    world.addLifeSource(41, 75);
    put(world, a, 20, 76);
    put(world, a, 41, 76);
    world.update(30);
    ASSERT_EQ(world.lifeSources().size(), 1u);  // 1 alive, 1 left: no replacement
    EXPECT_EQ(world.lifeSources()[0]->column(), 41);
    EXPECT_EQ(world.lifeSources()[0]->reserve(), 0);  // not fed, and 0 is not spent
    EXPECT_EQ(world.influence().size(), 1u);
    world.update(30);
    ASSERT_EQ(world.lifeSources().size(), 1u);  // the last one is always replaced
    EXPECT_NE(world.lifeSources()[0]->column(), 41);
}

TEST(LifeSource, FeedsEveryVirusInReachInsideTheGrid) {
    SimRules rules("m_life_src_add_prob \"1 1 1\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    LifeSource& source = world.addLifeSource(198, 148);
    Virus& corner = put(world, a, 199, 149, 10);
    Virus& near = put(world, a, 194, 144, 10);
    Virus& far = put(world, a, 193, 148, 10);
    const int reserve = source.reserve();
    for (int tick = 1; tick <= 2; ++tick) {
        EXPECT_FALSE(source.update(30));
        EXPECT_EQ(corner.life(), 10 + 40 * tick);
        EXPECT_EQ(near.life(), 10 + 40 * tick);
        EXPECT_EQ(far.life(), 10);
        EXPECT_EQ(source.reserve(), reserve - 80 * tick);
    }
}

// The share of its starting reserve a source shows: whole, half, a
// twentieth, then empty at 0 and (never less) once spent.
TEST(LifeSource, ReserveLeftRunsFromWholeToEmpty) {
    // Reach 0: only the virus on the source's own cell is fed.
    SimRules rules(
        "m_life_src_visible 1\nm_life_src_add_prob \"1 1 1\"\n"
        "m_life_src_min_life_reserve \"1000 1000 1000\"\n"
        "m_life_src_max_life_reserve \"1001 1001 1001\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    LifeSource& source = world.addLifeSource(50, 50);
    EXPECT_FLOAT_EQ(source.reserveLeft(), 1.0f);
    put(world, world.addColony(1, 0, 0, false, 0), 50, 50);
    const int feeds[] = {500, 450, 50, 50};
    const float left[] = {0.5f, 0.05f, 0, 0};
    for (int i = 0; i < 4; ++i) {
        rules.params().m_life_distribute[0] = feeds[i];
        EXPECT_EQ(source.update(30), i == 3);
        EXPECT_FLOAT_EQ(source.reserveLeft(), left[i]) << i;
    }
}

// A reserve that feeding brings to exactly 0 keeps its source; the next feed
// spends it.
TEST(LifeSource, AReserveOfExactlyZeroIsNotSpent) {
    SimRules rules(
        "m_life_src_add_prob \"1 1 1\"\nm_life_distribute \"20 20 20\"\n"
        "m_life_src_min_life_reserve \"40 40 40\"\n"
        "m_life_src_max_life_reserve \"41 41 41\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    LifeSource& source = world.addLifeSource(50, 50);
    put(world, a, 50, 50, 10);
    put(world, a, 51, 51, 10);
    EXPECT_FALSE(source.update(30));
    EXPECT_EQ(source.reserve(), 0);
    EXPECT_TRUE(source.update(30));
}

// Row 0 of a column follows row 149 of the one before it in memory, and the
// first and last columns have no neighbour beyond: feeding and fights at the
// edges reach only the cells beside them.
TEST(World, FeedingAndFightsAtTheEdgesReachOnlyTheCellsInTheGrid) {
    SimRules rules("m_life_src_add_prob \"1 1 1\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);
    Virus& fedBefore = put(world, b, 9, 149, 10);
    Virus& fedTop = put(world, b, 10, 0, 10);
    Virus& fedLeft = put(world, b, 0, 78, 10);
    world.addLifeSource(10, 0).update(30);
    world.addLifeSource(0, 75).update(30);
    EXPECT_EQ(fedBefore.life(), 10);
    EXPECT_EQ(fedTop.life(), 50);
    EXPECT_EQ(fedLeft.life(), 50);

    // Each attacker has one enemy in reach; the one before row 0 of the lone
    // attacker is not, and is left alone.
    for (const auto& [column, row, enemyColumn, enemyRow] :
         {std::array{60, 0, 61, 1}, std::array{0, 140, 1, 139}, std::array{199, 75, 198, 76}}) {
        Virus& enemy = put(world, b, enemyColumn, enemyRow, 10);
        put(world, a, column, row, 30).fight();
        EXPECT_EQ(enemy.life(), -20) << column << "," << row;
    }
    Virus& fightBefore = put(world, b, 29, 149, 10);
    put(world, a, 30, 0, 30).fight();
    EXPECT_EQ(fightBefore.life(), 10);
}

// The scans read a column's rows in one go, and in memory the next column's
// top rows follow the bottom row: feeding, fights and moves at the bottom
// edge must not reach them.
TEST(World, ScansStopAtTheBottomOfAColumn) {
    SimRules rules("m_life_src_add_prob \"1 1 1\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);
    for (int c = 94; c <= 106; ++c) {
        for (int r = 0; r < 16; ++r) {
            put(world, b, c, r, 10);  // right after rows 134 … 149 of column c - 1
        }
        for (int r = 140; r < World::kRows; ++r) {
            put(world, a, c, r, 10);
        }
    }
    world.addLifeSource(100, 148).update(30);  // feeds all 54 in reach, spent or not
    EXPECT_EQ(world.virusAt(100, 149)->life(), 50);
    EXPECT_EQ(world.virusAt(100, 143)->life(), 10);  // out of reach (R = 4)
    EXPECT_EQ(world.virusAt(101, 0)->life(), 10);

    Virus& edge = *world.virusAt(100, 149);
    edge.fight();
    EXPECT_EQ(edge.life(), 50);  // only its own colony around it
    EXPECT_EQ(world.virusAt(101, 0)->life(), 10);

    // Boxed in at the bottom, with the next columns' top rows empty.
    for (int c = 50; c <= 70; ++c) {
        for (int r = 140; r < World::kRows; ++r) {
            put(world, a, c, r);
        }
    }
    Virus& boxed = *world.virusAt(60, 149);
    boxed.chooseMove();
    EXPECT_EQ(boxed.state(), VirusState::Idle);
    EXPECT_EQ(world.virusAt(60, 149), &boxed);
}

TEST(World, RandomLifeSourceGivesUpOnAFullField) {
    SimRules rules("m_life_src_dist 1000\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    world.addLifeSource(100, 75);
    world.addRandomLifeSource();
    ASSERT_EQ(world.lifeSources().size(), 2u);
    const LifeSource& placed = *world.lifeSources()[1];
    EXPECT_GE(placed.column(), 10);
    EXPECT_LE(placed.column(), 189);
    EXPECT_GE(placed.row(), 10);
    EXPECT_LE(placed.row(), 139);
}

TEST(World, InfluenceSamplesEveryTenthColumnWithinReach) {
    SimRules rules("m_life_src_visible 20\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);
    world.addLifeSource(15, 75);
    put(world, a, 10, 75);  // 100 − 25
    put(world, a, 11, 75);  // not a sampled column
    put(world, a, 20, 78);  // 100 − 25 − 9
    put(world, a, 30, 75);  // out of reach
    put(world, b, 20, 66);  // d² = 25 + 81 = 106 ≥ 100
    put(world, b, 10, 67);  // 100 − 25 − 64
    world.rebuildInfluence();
    ASSERT_EQ(world.influence().size(), 1u);
    const InfluenceRecord& record = world.influence()[0];
    EXPECT_EQ(record.weight[0], 141);
    EXPECT_EQ(record.weight[1], 11);
    EXPECT_EQ(record.weight[2], 0);
    EXPECT_EQ(record.sourceIndex, 0);
}

// A demonstration-style game on the shipped rules: four computer colonies,
// Hard unless asked, with an optional look at the world after every tick; with
// `idlePlayer` the first is a player's colony that never clicks.
// `designed` plays them without the keys beyond the design (the bound on
// lives, the computer's handicaps), as a rules file without them does.
std::string shippedHardGame(std::uint32_t seed, int ticks,
                            const std::function<void(const World&, int)>& look = {},
                            bool designed = false, int difficulty = 2, bool idlePlayer = false) {
    GameParams params(std::string(BREVORA_SOURCE_DIR) + "/assets");
    if (designed) {
        for (int* triple : {params.m_max_virus_life, params.m_ai_flag_per_count,
                            params.m_ai_think_ms, params.m_ai_attack_percent}) {
            std::fill(triple, triple + 3, 0);
        }
    }
    RulesState state(seed);
    World world(params, state, difficulty);
    const float colours[4][3] = {{1, 0, 0}, {0, 1, 0}, {1, 1, 0.3f}, {0.7f, 1, 0.6f}};
    for (const auto& c : colours) {
        world.addColony(c[0], c[1], c[2], !idlePlayer || &c != &colours[0], difficulty);
    }
    world.setUp();
    for (int t = 1; t <= ticks; ++t) {
        world.update(30);
        if (look) {
            look(world, t);
        }
    }
    return world.checksum();
}

// The byte map the hot scans read must mirror the grid through births,
// moves, fights and deaths: empty exactly where no virus is, one tag per colony.
// The designed, unbounded lives keep all four colonies alive to the end.
TEST(World, OccupationMirrorsTheGridThroughAGame) {
    int looks = 0;
    shippedHardGame(
        12345, 3000,
        [&looks](const World& world, int tick) {
            if (tick % 500 != 0) {
                return;
            }
            ++looks;
            std::map<int, const Colony*> colonyOfTag;
            for (int c = 0; c < World::kColumns; ++c) {
                for (int j = 0; j < World::kRows; ++j) {
                    const Virus* v = world.virusAt(c, j);
                    const int tag = world.ownerAt(c, j);
                    ASSERT_EQ(tag != 0, v != nullptr)
                        << "tick " << tick << " cell " << c << "," << j;
                    if (v != nullptr) {
                        ASSERT_EQ(colonyOfTag.emplace(tag, v->colony()).first->second, v->colony());
                    }
                }
            }
            EXPECT_EQ(colonyOfTag.size(), 4u) << "tick " << tick;
        },
        true);
    EXPECT_EQ(looks, 6);
}

TEST(World, GoldenHardGameIsReproducible) {
    const std::string first = shippedHardGame(12345, 3000);
    EXPECT_EQ(first, shippedHardGame(12345, 3000));
    EXPECT_EQ(first, "12de593d35620c24");
    EXPECT_NE(first, shippedHardGame(12346, 3000));
    // Rules without a bound on lives play the game as designed, draw for draw.
    EXPECT_EQ(shippedHardGame(12345, 3000, {}, true), "f67a5c476e7b97a8");
    // Easy's opponents hit a player softer and rethink less often under the
    // shipped rules; without the keys they play as designed.
    EXPECT_EQ(shippedHardGame(12345, 3000, {}, false, 0, true), "0ba24f69fbbfa442");
    EXPECT_EQ(shippedHardGame(12345, 3000, {}, true, 0, true), "a7cd4a4d017401c5");
}

// Games on rules states of their own, two Hard and one Easy on one rules
// object, updated in turn in one process, each end where the same game played
// alone ends: none draws from, counts for or sets the difficulty of another.
TEST(World, GamesOnTheirOwnRulesStatesRunSideBySide) {
    const GameParams params(std::string(BREVORA_SOURCE_DIR) + "/assets");
    struct Game {
        Game(const GameParams& params, std::uint32_t seed, int difficulty)
            : rules(seed), world(params, rules, difficulty) {
            for (int k = 0; k < 4; ++k) {
                world.addColony(1, 0, 0, true, difficulty);
            }
            world.setUp();
        }
        RulesState rules;
        World world;
    };
    Game first(params, 12345, 2);
    Game second(params, 777, 2);
    Game easy(params, 12345, 0);
    for (int t = 0; t < 1500; ++t) {
        first.world.update(30);
        second.world.update(30);
        easy.world.update(30);
    }
    EXPECT_EQ(first.world.checksum(), shippedHardGame(12345, 1500));
    EXPECT_EQ(second.world.checksum(), shippedHardGame(777, 1500));
    EXPECT_EQ(easy.world.checksum(), shippedHardGame(12345, 1500, {}, false, 0));
}

}  // namespace
}  // namespace brv
