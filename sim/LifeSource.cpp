#include "sim/LifeSource.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "config/GameRules.h"
#include "platform/Clock.h"
#include "sim/AnimationStart.h"
#include "sim/FastRemainder.h"
#include "sim/OccupationMask.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {

LifeSource::LifeSource(int column, int row, const GameRules& params, World* world)
    : animation_(params.m_life_src_animation),
      params_(params),
      column_(column),
      row_(row),
      world_(world) {
    startAnimationAt(animation_, world_->rules().rand() % animation_.frames());
    const int d = world_->difficulty();
    reserve_ = params_.m_life_src_min_life_reserve[d] +
               world_->rules().rand() % (params_.m_life_src_max_life_reserve[d] -
                                         params_.m_life_src_min_life_reserve[d]);
    startingReserve_ = reserve_;
}

float LifeSource::reserveLeft() const {
    if (startingReserve_ <= 0) {
        return 0;
    }
    const float left = static_cast<float>(reserve_) / static_cast<float>(startingReserve_);
    return std::clamp(left, 0.0f, 1.0f);
}

bool LifeSource::update(int /*elapsedMs*/) {
    const int d = world_->difficulty();
    chooseViruses(params_.m_life_src_visible / 2);
    const int amount = params_.m_life_distribute[d];
    // Everyone chosen is fed, even once the reserve has run out on the way;
    // children born now were not chosen and wait for the next tick.
    for (const int slot : world_->feedCandidates()) {
        const int column = slot / World::kRows;
        const int row = slot % World::kRows;
        world_->virusAt(column, row)->feed(amount);
        reserve_ -= amount;
    }
    animation_.advance(kTickMs);
    return reserve_ < 0;
}

// Lists the occupied slots of the window that win their draw, column by
// column and row by row. The window stops at the grid's edges.
void LifeSource::chooseViruses(int radius) {
    const int probability = params_.m_life_src_add_prob[world_->difficulty()];
    const int x0 = std::max(column_ - radius, 0);
    const int y0 = std::max(row_ - radius, 0);
    const int x1 = std::min(column_ + radius, world_->columnCount() - 1);
    const int y1 = std::min(row_ + radius, world_->rowCount() - 1);
    const std::uint8_t* owners = world_->occupation();
    std::vector<int>& chosen = world_->feedCandidates();
    const int cells = std::max(x1 - x0 + 1, 0) * std::max(y1 - y0 + 1, 0);
    chosen.resize(static_cast<std::size_t>(cells));
    // Every occupied slot is written and only the winners advance the count:
    // a one-in-three draw is a branch the processor cannot guess.
    int* out = chosen.data();
    int count = 0;
    // The draws run on a copy of the world's generator, handed back after the
    // scan: the list's writes could otherwise overwrite the generator for all
    // the compiler knows, and each draw would wait for it to be read again.
    LcgRandom& generator = world_->rules().random();
    LcgRandom rng = generator;
    const FastRemainder byProbability(static_cast<std::uint32_t>(probability));
    // Each column goes in bands of up to 16 rows, by its mask of occupied rows.
    for (int c = x0; c <= x1; ++c) {
        for (int first = y0; first <= y1; first += kMaskRows) {
            const int slot = World::slotOf(c, first);
            for (unsigned held = occupiedInBand(owners + slot, y1 - first + 1); held != 0;
                 held &= held - 1) {
                out[count] = slot + std::countr_zero(held);
                count += byProbability.of(static_cast<std::uint32_t>(rng.next())) == 0 ? 1 : 0;
            }
        }
    }
    generator = rng;
    chosen.resize(static_cast<std::size_t>(count));
}

}  // namespace brv
