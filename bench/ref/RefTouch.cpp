// The least a world update must do per virus: touch its record once. The
// records are the size of the game's Virus and held the way the world holds
// them, one heap allocation per occupied cell of the 200 x 150 field, made
// in a scattered order as a game's births make them. A pass reads and writes
// one field of each, in the field's row order, as World::update walks it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {
namespace {

struct Record {
    int life = 0;
    unsigned char rest[sizeof(Virus) - sizeof(int)] = {};
};
static_assert(sizeof(Record) == sizeof(Virus));

// About as many viruses as the peak of the game World::update is measured at.
constexpr int kPeakViruses = 3000;

std::vector<std::unique_ptr<Record>> occupiedField(int records) {
    constexpr int kCells = World::kColumns * World::kRows;
    std::vector<int> order(kCells);
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(12345));
    std::vector<std::unique_ptr<Record>> cells(kCells);
    for (int i = 0; i < std::min(records, kCells); ++i) {
        cells[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] =
            std::make_unique<Record>();
    }
    return cells;
}

void BM_TouchEveryVirus(benchmark::State& state) {
    const auto cells = occupiedField(static_cast<int>(state.range(0)));
    long long touched = 0;
    for (auto _ : state) {
        for (const auto& cell : cells) {
            if (cell != nullptr) {
                cell->life += 1;
                ++touched;
            }
        }
        benchmark::ClobberMemory();
    }
    state.counters["per_virus"] = benchmark::Counter(
        static_cast<double>(touched), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TouchEveryVirus)->Arg(kPeakViruses)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace brv
