// The set-up of a game's board: each colony's corner, its start viruses,
// first flag and life source, and the life sources placed at random.
#include "sim/World.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"

namespace brv {

namespace {

// Free places for a new life source are drawn inside a margin of 10 cells.
constexpr int kLifeSourceMargin = 10;
// When no place is far enough from every source, the last one drawn is taken.
constexpr int kLifeSourcePlacementAttempts = 1000;

}  // namespace

void World::setUp() {
    const int a = static_cast<int>(params_.m_distance_beween_viruses);
    std::vector<std::pair<int, int>> starts = {
        {100 / a, 80 / a}, {700 / a, 80 / a}, {100 / a, 520 / a}, {700 / a, 520 / a}};
    for (int i = 0; i < 10; ++i) {
        const int k = rules_.rand() % 4;
        std::rotate(starts.begin(), starts.begin() + k, starts.begin() + k + 1);
    }
    for (auto& colony : colonies_) {
        const auto [x, y] = starts.front();
        starts.erase(starts.begin());
        seedColony(*colony, x, y);
    }
    for (std::size_t c = 0; c < colonies_.size(); ++c) {
        addRandomLifeSource();
    }
    timeline_.start(colonies_);
}

// Scatters the start viruses over the square around the start cell (each
// empty cell is taken with probability 1/20 per pass; a pass always runs to
// its end), then plants the first flag and the first life source. Passes stop
// early only when the square has no empty cell left.
void World::seedColony(Colony& colony, int x, int y) {
    const int a = static_cast<int>(params_.m_distance_beween_viruses);
    int wanted = params_.m_viruses_on_start[difficulty_];
    if (wanted > 0) {
        const int t = 70 / a;
        const int x0 = std::max(x - t, 0);
        const int x1 = std::min(x + t, kColumns);
        const int y0 = std::max(y - t, 0);
        const int y1 = std::min(y + t, kRows);
        bool roomLeft = true;
        while (wanted > 0 && roomLeft) {
            roomLeft = false;
            for (int c = x0; c < x1; ++c) {
                for (int j = y0; j < y1; ++j) {
                    if (virusAt(c, j) != nullptr) {
                        continue;
                    }
                    if (rules_.rand() % 20 == 0) {
                        placeVirus(c, j, std::make_unique<Virus>(*this, c, j, &colony));
                        --wanted;
                    } else {
                        roomLeft = true;
                    }
                }
            }
        }
    }
    colony.addFlagAt(x * a, y * a);
    addLifeSource(x, y);
}

LifeSource& World::addLifeSource(int column, int row) {
    lifeSources_.push_back(std::make_unique<LifeSource>(column, row, params_, this));
    return *lifeSources_.back();
}

void World::addRandomLifeSource() {
    int x = 0;
    int y = 0;
    for (int attempt = 0; attempt < kLifeSourcePlacementAttempts; ++attempt) {
        x = rules_.rand() % (kColumns - 2 * kLifeSourceMargin) + kLifeSourceMargin;
        y = rules_.rand() % (kRows - 2 * kLifeSourceMargin) + kLifeSourceMargin;
        const bool farEnough =
            std::all_of(lifeSources_.begin(), lifeSources_.end(), [&](const auto& source) {
                const float dx = static_cast<float>(x - source->column());
                const float dy = static_cast<float>(y - source->row());
                return std::sqrt(dx * dx + dy * dy) > params_.m_life_src_dist;
            });
        if (farEnough) {
            break;
        }
    }
    addLifeSource(x, y);
}

}  // namespace brv
