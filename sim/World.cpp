#include "sim/World.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/ComputerColony.h"
#include "sim/HardComputerColony.h"
#include "sim/HexText.h"
#include "sim/LifeSource.h"
#include "sim/OccupationMask.h"
#include "sim/RulesState.h"
#include "sim/Virus.h"

namespace brv {

namespace {

// Column stride of the influence sampling: every tenth column is weighed.
constexpr int kInfluenceColumnStride = 10;
constexpr std::size_t kReservedSources = 64;

// Room for the largest move window (2r + 6 cells square) and the largest feed
// window (2R + 1 cells square) the rules can ask for; the lists still grow
// should a window be larger.
std::size_t moveListSize(const GameRules& p) {
    const int r = std::max(p.m_virus_visible / 2, 0);
    return static_cast<std::size_t>((2 * r + 6) * (2 * r + 6));
}

std::size_t feedListSize(const GameRules& p) {
    const int radius = std::clamp(p.m_life_src_visible / 2, 0, World::kColumns);
    return static_cast<std::size_t>((2 * radius + 1) * (2 * radius + 1));
}

}  // namespace

World::World(const GameRules& params, RulesState& rules, int difficulty)
    : params_(params),
      rules_(rules),
      difficulty_(difficulty),
      cells_(kSlots),
      owners_(kSlots + 2 * kOccupationPad, 0) {
    backgroundIndex_ = rules_.rand() % 10;
    lifeSources_.reserve(kReservedSources);
    influence_.reserve(kReservedSources);
    moveCandidates_.resize(moveListSize(params));
    feedCandidates_.reserve(feedListSize(params));
}

World::~World() {
    // Viruses first, so each can still uncount itself from its colony.
    for (auto& cell : cells_) {
        cell.reset();
    }
    for (auto& colony : colonies_) {
        colony.reset();
    }
    for (auto& source : lifeSources_) {
        source.reset();
    }
}

Colony* World::addColony(float red, float green, float blue, bool isComputer, int difficulty) {
    std::unique_ptr<Colony> colony;
    if (!isComputer) {
        colony = std::make_unique<Colony>(red, green, blue, params_);
    } else if (difficulty == 2) {
        colony = std::make_unique<HardComputerColony>(red, green, blue, params_, this);
    } else {
        colony = std::make_unique<ComputerColony>(red, green, blue, params_, this);
    }
    return addColony(std::move(colony));
}

Colony* World::addColony(std::unique_ptr<Colony> colony) {
    // The influence table has a column for four colonies only.
    if (colonies_.size() >= static_cast<std::size_t>(kMaxColonies) || !colony) {
        return nullptr;
    }
    colony->joinWorld(rules_, difficulty_);
    colonies_.push_back(std::move(colony));
    tagOf(colonies_.back().get());
    return colonies_.back().get();
}

int World::indexOf(const Colony* colony) const {
    for (std::size_t k = 0; k < colonies_.size(); ++k) {
        if (colonies_[k].get() == colony) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

bool World::hasPlayer() const {
    return std::any_of(colonies_.begin(), colonies_.end(),
                       [](const auto& colony) { return !colony->isComputer(); });
}

// Tags are handed out in the order colonies are first seen, so the colonies
// of the world are 1..4; a foreign colony (a test's) gets the next free tag.
std::uint8_t World::tagOf(const Colony* colony) {
    for (std::size_t k = 0; k < tagColonies_.size(); ++k) {
        if (tagColonies_[k] == colony) {
            return static_cast<std::uint8_t>(k + 1);
        }
    }
    // A byte tells 255 colonies apart; only a test's foreign colonies could
    // ever ask for more, and a shared tag would let them fight as one.
    if (tagColonies_.size() >= 255) {
        std::abort();
    }
    tagColonies_.push_back(colony);
    return static_cast<std::uint8_t>(tagColonies_.size());
}

void World::placeVirus(int column, int row, std::unique_ptr<Virus> virus) {
    const int slot = slotOf(column, row);
    owners_[kOccupationPad + slot] = virus ? tagOf(virus->colony()) : 0;
    cells_[slot] = std::move(virus);
}

std::unique_ptr<Virus> World::takeVirus(int column, int row) {
    const int slot = slotOf(column, row);
    owners_[kOccupationPad + slot] = 0;
    return std::move(cells_[slot]);
}

void World::moveVirus(int fromColumn, int fromRow, int toColumn, int toRow) {
    const int from = slotOf(fromColumn, fromRow);
    const int to = slotOf(toColumn, toRow);
    std::uint8_t* owners = owners_.data() + kOccupationPad;
    const std::uint8_t owner = owners[from];
    owners[from] = 0;
    owners[to] = owner;
    cells_[to] = std::move(cells_[from]);
}

void World::update(int elapsedMs) {
    updateViruses(elapsedMs);
    updateLifeSources(elapsedMs);
    for (std::size_t k = 0; k < colonies_.size(); ++k) {
        colonies_[k]->update(elapsedMs, static_cast<int>(k));
    }
    if (rules_.influenceDue(kInfluenceEveryTicks)) {
        rebuildInfluence();
    }
    timeline_.advance(elapsedMs, colonies_);
}

// Half of the columns per tick, alternating. The scan visits slots, not
// viruses: one that moves ahead of the scan is updated again in this tick.
// A column's occupation is read once, as a bit per row, when the scan enters
// it; after that only the visited virus can change it ahead of the scan (a
// move; deaths and births only touch the slots behind or happen later in the
// tick), so the scan adds the cell it moved to and goes on from the bits.
// Reading the bytes again after every visit would wait on the bytes the
// last move had only just written.
void World::updateViruses(int elapsedMs) {
    const int parity = rules_.nextColumnParity();
    const bool upwards = rules_.rand() % 2 == 0;
    for (int c = parity; c < kColumns; c += 2) {
        ColumnRows held = occupiedRows(c);
        if (upwards) {
            for (int word = ColumnRows::kWords - 1; word >= 0; --word) {
                while (held.bits[word] != 0) {
                    const int top = 63 - std::countl_zero(held.bits[word]);
                    held.bits[word] &= ~(std::uint64_t{1} << top);
                    const int row = 64 * word + top;
                    const int to = updateVirusAt(c, row, elapsedMs);
                    if (to >= slotOf(c, 0) && to < slotOf(c, row)) {
                        held.add(to - slotOf(c, 0));
                    }
                }
            }
        } else {
            for (int word = 0; word < ColumnRows::kWords; ++word) {
                while (held.bits[word] != 0) {
                    const int low = std::countr_zero(held.bits[word]);
                    held.bits[word] &= held.bits[word] - 1;
                    const int row = 64 * word + low;
                    const int to = updateVirusAt(c, row, elapsedMs);
                    if (to > slotOf(c, row) && to < slotOf(c + 1, 0)) {
                        held.add(to - slotOf(c, 0));
                    }
                }
            }
        }
    }
}

World::ColumnRows World::occupiedRows(int column) const {
    ColumnRows held;
    const std::uint8_t* first = occupation() + slotOf(column, 0);
    // The grid's fixed height lets the compiler unroll this into plain loads.
    for (int row = 0; row < kRows; row += kMaskRows) {
        held.bits[row / 64] |= std::uint64_t{occupiedInBand(first + row, kRows - row)}
                               << (row % 64);
    }
    return held;
}

// The slot the virus ends up in, or -1 once it has died.
int World::updateVirusAt(int column, int row, int elapsedMs) {
    Virus* virus = virusAt(column, row);
    virus->update(elapsedMs);
    const int slot = slotOf(virus->column(), virus->row());
    if (virus->state() == VirusState::Dead) {
        owners_[kOccupationPad + slot] = 0;
        cells_[slot].reset();
        return -1;
    }
    return slot;
}

// At most one spent source goes per tick; the pass ends with it, so the
// sources after it neither feed nor age in this tick.
void World::updateLifeSources(int elapsedMs) {
    for (auto it = lifeSources_.begin(); it != lifeSources_.end(); ++it) {
        if (!(*it)->update(elapsedMs)) {
            continue;
        }
        lifeSources_.erase(it);
        const int left = static_cast<int>(lifeSources_.size());
        if (aliveColonyCount() > (left + 1) / 2) {
            addRandomLifeSource();
        }
        rebuildInfluence();
        return;
    }
}

int World::aliveColonyCount() const {
    int alive = 0;
    for (const auto& colony : colonies_) {
        alive += colony->virusCount() > 0 ? 1 : 0;
    }
    return alive;
}

int World::virusTotal() const {
    int total = 0;
    for (const auto& colony : colonies_) {
        total += colony->virusCount();
    }
    return total;
}

World::HumanColony World::humanColony() const {
    for (std::size_t k = 0; k < colonies_.size(); ++k) {
        if (!colonies_[k]->isComputer()) {
            return {colonies_[k].get(), static_cast<int>(k)};
        }
    }
    return {nullptr, static_cast<int>(colonies_.size())};
}

void World::rebuildInfluence() {
    influence_.clear();
    for (std::size_t e = 0; e < lifeSources_.size(); ++e) {
        InfluenceRecord record;
        record.sourceIndex = static_cast<int>(e);
        weighSource(*lifeSources_[e], record);
        influence_.push_back(record);
    }
}

// Every sampled virus nearer than R cells to the source adds R² − d² to its
// colony's weight. Only the part of the sampled columns within R can count.
void World::weighSource(const LifeSource& source, InfluenceRecord& record) const {
    const int radius = params_.m_life_src_visible / 2;
    const int r2 = radius * radius;
    const int y0 = std::max(source.row() - radius + 1, 0);
    const int y1 = std::min(source.row() + radius, kRows);
    for (int c = 0; c < kColumns; c += kInfluenceColumnStride) {
        const int dc = source.column() - c;
        if (dc * dc >= r2) {
            continue;
        }
        for (int j = y0; j < y1; ++j) {
            const Virus* virus = virusAt(c, j);
            if (virus == nullptr) {
                continue;
            }
            const int dr = source.row() - j;
            const int d2 = dc * dc + dr * dr;
            const int k = indexOf(virus->colony());
            if (d2 < r2 && k >= 0) {
                record.weight[k] += r2 - d2;
            }
        }
    }
}

std::string World::checksum() const {
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](std::int64_t value) {
        for (int b = 0; b < 8; ++b) {
            hash ^= static_cast<std::uint64_t>(value >> (8 * b)) & 0xFFu;
            hash *= 1099511628211ull;
        }
    };
    for (const auto& cell : cells_) {
        if (!cell) {
            mix(-1);
            continue;
        }
        mix(indexOf(cell->colony()));
        mix(cell->life());
    }
    for (const auto& colony : colonies_) {
        mix(colony->virusCount());
        mix(colony->killCounter());
        mix(colony->previousCount());
        mix(colony->trendMark());
    }
    return hexText(hash);
}

}  // namespace brv
