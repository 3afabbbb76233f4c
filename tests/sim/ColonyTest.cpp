#include <gtest/gtest.h>

#include "platform/Random.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

using test::put;
using test::SimRules;

void populate(World& world, Colony* colony, int count) {
    for (int i = 0; i < count; ++i) {
        put(world, colony, 100 + i / 100, i % 100);
    }
}

TEST(Flags, LimitFollowsTheCountAndClicksToggle) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    EXPECT_EQ(a->flagLimit(), 1);
    a->addFlagAt(40, 40);
    a->addFlagAt(400, 400);  // the limit of one refuses a second flag
    ASSERT_EQ(a->flags().size(), 1u);

    populate(world, a, 120);
    EXPECT_EQ(a->flagLimit(), 3);
    a->addFlagAt(400, 400);
    a->addFlagAt(600, 200);
    a->addFlagAt(200, 500);  // a fourth, away from all flags: nothing
    ASSERT_EQ(a->flags().size(), 3u);
    EXPECT_EQ(a->flags()[2]->column(), 150);

    // Adding near a flag replaces it by one at the new cell, at the list's end.
    a->addFlagAt(45, 50);
    ASSERT_EQ(a->flags().size(), 3u);
    EXPECT_EQ(a->flags()[0]->column(), 100);
    EXPECT_EQ(a->flags()[2]->column(), 11);
    EXPECT_EQ(a->flags()[2]->row(), 12);

    // The reach is strict: exactly 25 pixels away on either axis misses.
    EXPECT_FALSE(a->removeFlagNear(400 + 25, 400));
    EXPECT_FALSE(a->removeFlagNear(400, 400 - 25));
    EXPECT_FALSE(a->removeFlagNear(400 - 25, 400 + 24));
    EXPECT_TRUE(a->removeFlagNear(400 + 24, 400 - 24));
    EXPECT_EQ(a->flags().size(), 2u);

    // A falling count keeps the flags it has; only new ones are refused.
    a->addFlagAt(400, 400);
    for (int i = 0; i < 110; ++i) {
        world.takeVirus(100 + i / 100, i % 100).reset();
    }
    EXPECT_EQ(a->flagLimit(), 1);
    EXPECT_EQ(a->flags().size(), 3u);
    a->addFlagAt(700, 100);
    EXPECT_EQ(a->flags().size(), 3u);
}

TEST(Flags, NearestFlagPrefersTheEarlierOnATie) {
    SimRules rules("m_flag_per_count \"1 1 1\"\n");
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    populate(world, a, 5);
    EXPECT_EQ(a->nearestFlag(20, 10), nullptr);
    a->addFlagAt(30 * 4, 10 * 4);
    a->addFlagAt(10 * 4, 10 * 4);
    a->addFlagAt(20 * 4, 40 * 4);
    EXPECT_EQ(a->nearestFlag(20, 10)->column(), 30);
    EXPECT_EQ(a->nearestFlag(19, 10)->column(), 10);
    EXPECT_EQ(a->nearestFlag(20, 30)->row(), 40);
}

TEST(Flags, StartOnARandomFrameWhateverTheTemplateShows) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    SpriteAnimation& flagTemplate = rules.params().m_flag_animation;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        flagTemplate.advance(30 * seed);
        rules.state().setGeneratorState(seed);
        LcgRandom next(seed);
        const int frame = next.next() % 4;
        a->addFlagAt(400, 300);
        const SpriteAnimation& clock = a->flags().back()->animation();
        EXPECT_EQ(clock.frame(), frame);
        EXPECT_EQ(clock.elapsed(), static_cast<unsigned int>(frame * 50));
        EXPECT_EQ(rules.state().generatorState(), next.state());
    }
    // The player's flags wave at 30 ms per tick.
    const unsigned int before = a->flags().back()->animation().elapsed();
    a->update(30, 0);
    EXPECT_EQ(a->flags().back()->animation().elapsed() % 200, (before + 30) % 200);
}

TEST(Colony, TrendMarkIsRenewedEvery34thTick) {
    SimRules rules;
    World world(rules.params(), rules.state(), rules.difficulty());
    Colony* a = world.addColony(1, 0, 0, false, 0);
    Colony* b = world.addColony(0, 1, 0, false, 0);
    put(world, a, 10, 10);
    for (int tick = 1; tick <= 33; ++tick) {
        a->update(30, 0);
        b->update(30, 1);
    }
    EXPECT_EQ(a->trendMark(), '+');
    EXPECT_EQ(b->trendMark(), '+');
    a->update(30, 0);
    b->update(30, 1);
    EXPECT_EQ(a->trendMark(), '+');  // 1 > 0
    EXPECT_EQ(b->trendMark(), '-');  // unchanged 0
    for (int tick = 1; tick <= 34; ++tick) {
        a->update(30, 0);
    }
    EXPECT_EQ(a->trendMark(), '-');
    EXPECT_EQ(a->previousCount(), 1);
}

}  // namespace
}  // namespace brv
