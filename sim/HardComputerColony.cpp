#include "sim/HardComputerColony.h"

#include "sim/LifeSource.h"
#include "sim/World.h"

namespace brv {

namespace {

constexpr unsigned int kThinkIntervalMs = 1000;

// The colony's own weight at a source, and the other colonies' together.
struct Presence {
    long long own = 0;
    long long others = 0;
};

Presence presenceOf(const InfluenceRecord& record, int index) {
    Presence p;
    for (int k = 0; k < InfluenceRecord::kColonies; ++k) {
        (k == index ? p.own : p.others) += record.weight[k];
    }
    return p;
}

const LifeSource* sourceOf(const World& world, const InfluenceRecord& record) {
    const auto& sources = world.lifeSources();
    if (record.sourceIndex < 0 || record.sourceIndex >= static_cast<int>(sources.size())) {
        return nullptr;
    }
    return sources[record.sourceIndex].get();
}

}  // namespace

HardComputerColony::HardComputerColony(float red, float green, float blue, const GameRules& params,
                                       World* world)
    : ComputerColony(red, green, blue, params, world) {}

void HardComputerColony::update(int elapsedMs, int index) {
    accumulate(thinkTime_, elapsedMs);
    const int interval = thinkInterval();
    if (static_cast<unsigned int>(thinkTime_) >
        (interval > 0 ? static_cast<unsigned int>(interval) : kThinkIntervalMs)) {
        thinkTime_ = 0;
        // The table is built within the first 30 ticks; before that (or in a
        // world without life sources) there is nothing to weigh.
        if (!world().influence().empty() && index >= 0 && index < InfluenceRecord::kColonies) {
            think(index);
        }
    }
    updateTrend(elapsedMs);
}

// Leaves sources where the colony is already very strong (over twice its
// average presence) or outweighed by the others together; goes for sources
// where it is weak but not outnumbered, or where it outweighs the rest.
void HardComputerColony::think(int index) {
    const InfluenceTable& table = world().influence();
    long long total = 0;
    for (const auto& record : table) {
        total += record.weight[index];
    }
    const long long avg = total / static_cast<long long>(table.size());
    cleanUpFlags();
    for (const auto& record : table) {
        const Presence p = presenceOf(record, index);
        const LifeSource* source = sourceOf(world(), record);
        if (source == nullptr) {
            continue;
        }
        if (p.own > 2 * avg || p.others > p.own) {
            removeFlagsOn(source->column(), source->row());
        } else if (p.own < avg || p.others < p.own) {
            flagSource(*source);
        }
        if (flags_.empty()) {
            flagBestByMargin(index);
        }
    }
}

// Without any flag the colony goes for the source where it leads by most; the
// first record wins ties.
void HardComputerColony::flagBestByMargin(int index) {
    const InfluenceTable& table = world().influence();
    const InfluenceRecord* best = &table.front();
    const Presence first = presenceOf(table.front(), index);
    long long bestMargin = first.own - first.others;
    for (const auto& record : table) {
        const Presence p = presenceOf(record, index);
        if (p.own - p.others > bestMargin) {
            bestMargin = p.own - p.others;
            best = &record;
        }
    }
    if (const LifeSource* source = sourceOf(world(), *best)) {
        flagSource(*source);
    }
}

}  // namespace brv
