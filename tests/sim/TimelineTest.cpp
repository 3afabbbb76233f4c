#include "sim/Timeline.h"

#include <gtest/gtest.h>

#include "sim/Colony.h"
#include "tests/sim/SimWorld.h"

namespace brv {
namespace {

// One sample a second of 30 ms updates; a record longer than the bound keeps
// every other sample and doubles the spacing, so each kept sample still
// shows what was true at its time.
TEST(Timeline, SamplesEverySecondAndHalvesALongRecordToStayBounded) {
    test::SimRules rules;
    std::vector<std::unique_ptr<Colony>> colonies;
    colonies.push_back(std::make_unique<Colony>(1, 0, 0, rules.params()));
    colonies.push_back(std::make_unique<Colony>(0, 1, 0, rules.params()));
    Timeline timeline;
    timeline.advance(1000, colonies);
    EXPECT_TRUE(timeline.samples().empty()) << "nothing before the game starts";
    timeline.start(colonies);
    for (int update = 1; update <= 34; ++update) {
        timeline.advance(30, colonies);
        EXPECT_EQ(timeline.samples().size(), update < 34 ? 1u : 2u) << update;
    }
    // From here one call is one second: colony 0 gains a virus and colony 1
    // a kill every second, so a sample's values name its second.
    timeline.start(colonies);
    const auto virusesAt0 = colonies[0]->virusCount();
    const int seconds = 5000;
    for (int s = 1; s <= seconds; ++s) {
        colonies[0]->virusBorn();
        colonies[1]->addKill();
        timeline.advance(1000, colonies);
    }
    const auto& samples = timeline.samples();
    EXPECT_EQ(timeline.spacingMs(), 2000);
    ASSERT_EQ(samples.size(), Timeline::kMaxSamples / 2 + 1 + (seconds - 4096) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_EQ(samples[i].viruses[0] - virusesAt0, static_cast<int>(2 * i)) << i;
        ASSERT_EQ(samples[i].kills[1], static_cast<int>(2 * i)) << i;
    }
    EXPECT_EQ(timeline.colonyCount(), 2);
}

}  // namespace
}  // namespace brv
