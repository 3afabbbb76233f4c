// Cost of one simulation tick (World::update) and of the influence rebuild,
// on the shipped rules.
#include <benchmark/benchmark.h>

#include <memory>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {
namespace {

constexpr std::uint32_t kSeed = 12345;
// Of the Hard games with seeds 1 to 20 on the shipped rules, this one grows
// the largest field (about 3000 viruses).
constexpr std::uint32_t kPeakSeed = 17;

// The shipped rules, read once.
GameParams& shippedRules() {
    static GameParams params(std::string(BREVORA_SOURCE_DIR) + "/assets");
    return params;
}

// A world at Hard on the shipped rules and the rules state it plays on,
// seeded with `seed`, its counters at 0.
struct HardWorld {
    explicit HardWorld(std::uint32_t seed) : rules(seed), world(shippedRules(), rules, 2) {}
    RulesState rules;
    World world;
};

// A 4-colony Hard game, as the demonstration plays it, run for `ticks`.
std::unique_ptr<HardWorld> hardGame(std::uint32_t seed, int ticks) {
    auto game = std::make_unique<HardWorld>(seed);
    World& world = game->world;
    for (int k = 0; k < 4; ++k) {
        world.addColony(k == 0 ? 1.0f : 0.0f, 1.0f, 0.5f, true, 2);
    }
    world.setUp();
    for (int t = 0; t < ticks; ++t) {
        world.update(30);
    }
    return game;
}

// The tick at which the peak game has the most viruses (within its first
// 40000 ticks), found once.
int peakTick() {
    static int peak = -1;
    if (peak < 0) {
        auto game = hardGame(kPeakSeed, 0);
        World* world = &game->world;
        int most = 0;
        for (int t = 1; t <= 40000 && world->aliveColonyCount() > 1; ++t) {
            world->update(30);
            if (world->virusTotal() > most) {
                most = world->virusTotal();
                peak = t;
            }
        }
    }
    return peak;
}

void reportPerVirus(benchmark::State& state, long long virusTicks) {
    state.counters["viruses"] =
        static_cast<double>(virusTicks) / static_cast<double>(state.iterations());
    state.counters["per_virus"] = benchmark::Counter(
        static_cast<double>(virusTicks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runTicks(benchmark::State& state, World& world) {
    long long virusTicks = 0;
    for (auto _ : state) {
        world.update(30);
        virusTicks += world.virusTotal();
    }
    reportPerVirus(state, virusTicks);
}

void BM_UpdateEarlyGame(benchmark::State& state) {
    auto game = hardGame(kSeed, 100);
    runTicks(state, game->world);
}
BENCHMARK(BM_UpdateEarlyGame)->Iterations(300)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_UpdatePeakPopulation(benchmark::State& state) {
    const int peak = peakTick();
    auto game = hardGame(kPeakSeed, peak - 100);
    runTicks(state, game->world);
}
BENCHMARK(BM_UpdatePeakPopulation)->Iterations(200)->Repetitions(5)->ReportAggregatesOnly(true);

// 12000 viruses of four colonies over 40 % of the field, with eight sources.
std::unique_ptr<HardWorld> crowdedWorld() {
    GameParams& params = shippedRules();
    const int maxPopulation = params.m_max_population;
    params.m_max_population = 100000;
    auto game = std::make_unique<HardWorld>(kSeed);
    World* world = &game->world;
    for (int k = 0; k < 4; ++k) {
        world->addColony(1.0f, 1.0f, 1.0f, true, 2);
    }
    int placed = 0;
    while (placed < 12000) {
        const int c = game->rules.rand() % World::kColumns;
        const int r = game->rules.rand() % World::kRows;
        if (world->virusAt(c, r) == nullptr) {
            // Colonies hold the four quarters, so they meet along two lines.
            Colony* colony = world->colonies()[(c < 100 ? 0 : 1) + (r < 75 ? 0 : 2)].get();
            world->placeVirus(c, r, std::make_unique<Virus>(*world, c, r, colony));
            ++placed;
        }
    }
    for (int s = 0; s < 8; ++s) {
        world->addRandomLifeSource();
    }
    params.m_max_population = maxPopulation;
    return game;
}

void BM_UpdateTwelveThousand(benchmark::State& state) {
    auto game = crowdedWorld();
    runTicks(state, game->world);
}
BENCHMARK(BM_UpdateTwelveThousand)->Iterations(100)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_RebuildInfluencePeak(benchmark::State& state) {
    auto game = hardGame(kPeakSeed, peakTick());
    World* world = &game->world;
    for (auto _ : state) {
        world->rebuildInfluence();
        benchmark::DoNotOptimize(world->influence().data());
    }
    state.counters["sources"] = static_cast<double>(world->lifeSources().size());
}
BENCHMARK(BM_RebuildInfluencePeak)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace brv
