#include "sim/Virus.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/OccupationMask.h"
#include "sim/RulesState.h"
#include "sim/World.h"

namespace brv {

namespace {

// A window of cells [x0, x1) × [y0, y1).
struct Window {
    int x0, y0, x1, y1;

    void clipTo(const World& world) {
        x0 = std::max(x0, 0);
        y0 = std::max(y0, 0);
        x1 = std::min(x1, world.columnCount());
        y1 = std::min(y1, world.rowCount());
    }
    bool coversGrid(const World& world) const {
        return x0 <= 0 && y0 <= 0 && x1 >= world.columnCount() && y1 >= world.rowCount();
    }
};

// The move window around a virus: up to r cells behind it and r + 1 ahead
// on each axis, drawn in this order.
template <int R>
Window drawMoveWindow(int column, int row, LcgRandom& rng) {
    Window w{};
    w.x0 = column - rng.next() % R - 1;
    w.y0 = row - rng.next() % R - 1;
    w.x1 = rng.next() % (R + 2) + column + 1;
    w.y1 = rng.next() % (R + 2) + row + 1;
    return w;
}

// The rules allow r from 1 to 4; with r fixed at compile time the remainders
// are multiplications or masks instead of divisions on every move.
Window drawMoveWindow(int r, int column, int row, LcgRandom& rng) {
    switch (r) {
        case 1:
            return drawMoveWindow<1>(column, row, rng);
        case 2:
            return drawMoveWindow<2>(column, row, rng);
        case 3:
            return drawMoveWindow<3>(column, row, rng);
        default:
            return drawMoveWindow<4>(column, row, rng);
    }
}

// The flag pulls the move window towards itself: the window grows on the
// flag's side and shrinks on the other. The first matching shift applies.
void biasTowardsFlag(Window& w, int fx, int fy, LcgRandom& rng) {
    const int dx = std::abs(w.x0 - fx);
    const int dy = std::abs(w.y0 - fy);
    if (fx < w.x0 && dx > dy) {
        w.x0 -= 2;
        w.x1 -= 1;
    } else if (fx > w.x0 && dx > dy) {
        w.x0 += 1;
        w.x1 += 2;
    } else if (fy < w.y0 && dy > dx) {
        w.y0 -= 2;
        w.y1 -= 1;
    } else if (fy > w.y0 && dy > dx) {
        w.y0 += 1;
        w.y1 += 2;
    }
    // A flag in line with the window's edge would otherwise pin it there.
    if (fx == w.x0) {
        if (rng.next() % 2 == 0) {
            w.x0 += 2;
        } else {
            w.x1 += 2;
        }
    }
    if (fy == w.y0) {
        if (rng.next() % 2 == 0) {
            w.y0 += 2;
        } else {
            w.y1 += 2;
        }
    }
}

// One of the window's empty cells, each as likely as the others, as the slot
// at a drawn place in the list of empty slots in slot order; -1 and no draw
// when the window has none. Windows up to 8 columns wide are read a column
// at a time as a mask of empty rows.
int pickEmptySlot(World& world, const Window& w, LcgRandom& rng) {
    const std::uint8_t* owners = world.occupation();
    const int width = std::max(w.x1 - w.x0, 0);
    const int height = std::max(w.y1 - w.y0, 0);
    if (width <= 8 && height <= kMaskRows) {
        const unsigned rows = lowRows(height);
        std::array<unsigned, 8> masks{};
        int found = 0;
        // All eight columns are read, so the loop's length does not hang on
        // the drawn window; the ones past it read column 0 and count none.
        for (int i = 0; i < 8; ++i) {
            const bool inside = i < width;
            const int column = inside ? w.x0 + i : 0;
            masks[i] = rowsHolding(owners + World::slotOf(column, w.y0), 0) & (inside ? rows : 0u);
            found += rowCount(masks[i]);
        }
        if (found == 0) {
            return -1;
        }
        const MaskPlace place = nthRow(masks, rng.next() % found);
        return World::slotOf(w.x0 + place.column, w.y0 + place.row);
    }
    // Larger windows: every slot is written and only the empty ones advance
    // the count, which spares a hard-to-predict branch per cell.
    std::vector<int>& candidates = world.moveCandidates();
    if (candidates.size() < static_cast<std::size_t>(width * height)) {
        candidates.resize(static_cast<std::size_t>(width * height));
    }
    int* out = candidates.data();
    int found = 0;
    for (int c = w.x0; c < w.x1; ++c) {
        for (int j = w.y0; j < w.y1; ++j) {
            const int slot = World::slotOf(c, j);
            out[found] = slot;
            found += owners[slot] == 0 ? 1 : 0;
        }
    }
    return found == 0 ? -1 : out[rng.next() % found];
}

}  // namespace

Virus::Virus(World& world, int column, int row, Colony* colony)
    : world_(world), colony_(colony), column_(column), row_(row) {
    const GameRules& p = world_.params();
    const int d = world_.difficulty();
    x_ = static_cast<float>(column) * p.m_distance_beween_viruses;
    y_ = static_cast<float>(row) * p.m_distance_beween_viruses;
    maxLife_ = p.m_min_life_reserve[d] +
               world_.rules().rand() % (p.m_max_life_reserve[d] - p.m_min_life_reserve[d]);
    life_ = maxLife_;
    // Beyond the population limit a newborn is stillborn: it dies at its first
    // decay and shares its life with its neighbours.
    if (colony_->virusCount() >= p.m_max_population) {
        life_ = -10;
    }
    colony_->virusBorn();
}

Virus::~Virus() {
    colony_->virusGone();
}

void Virus::update(int /*elapsedMs*/) {
    decay();
    if (state_ == VirusState::Moving) {
        step();
        return;
    }
    if (state_ != VirusState::Idle) {
        return;
    }
    fight();
    chooseMove();
}

void Virus::decay() {
    life_ -= 1;
    if (life_ >= 0) {
        return;
    }
    state_ = VirusState::Dead;
    const World& world = world_;
    const int r = world.params().m_virus_visible / 2;
    Window w{column_ - r, row_ - r, column_ + r + 1, row_ + r + 1};
    w.clipTo(world);
    // Everyone in the window, the dying virus included, gets an equal share.
    const std::uint8_t* owners = world.occupation();
    int neighbours = 0;
    for (int c = w.x0; c < w.x1; ++c) {
        for (int j = w.y0; j < w.y1; ++j) {
            neighbours += owners[World::slotOf(c, j)] != 0 ? 1 : 0;
        }
    }
    const int share = (maxLife_ / 2) / std::max(neighbours, 1);
    for (int c = w.x0; c < w.x1; ++c) {
        for (int j = w.y0; j < w.y1; ++j) {
            if (Virus* v = world.virusAt(c, j)) {
                v->gainLife(share);
            }
        }
    }
}

void Virus::fight() {
    const World& world = world_;
    Window w{column_ - 1, row_ - 1, column_ + 2, row_ + 2};
    w.clipTo(world);
    const std::uint8_t* owners = world.occupation();
    const std::uint8_t mine = owners[World::slotOf(column_, row_)];
    // The enemies of each column as a mask of rows: neither empty nor mine.
    const unsigned rows = lowRows(w.y1 - w.y0);
    std::array<unsigned, 3> enemies{};
    unsigned any = 0;
    for (int i = 0; i < w.x1 - w.x0; ++i) {
        const std::uint8_t* first = owners + World::slotOf(w.x0 + i, w.y0);
        enemies[i] = rows & ~(rowsHolding(first, 0) | rowsHolding(first, mine));
        any |= enemies[i];
    }
    // Most viruses have no enemy beside them: they are spared the count.
    if (any == 0) {
        return;
    }
    const int count = rowCount(enemies[0]) + rowCount(enemies[1]) + rowCount(enemies[2]);
    // The chosen one is counted in slot order, column by column.
    const MaskPlace place = nthRow(enemies, world_.rules().rand() % count);
    Virus& enemy = *world.virusAt(w.x0 + place.column, w.y0 + place.row);
    enemy.addLife(-hitStrength(enemy));
    // A defender already below zero counts again: it stays on the grid until
    // its own next decay.
    if (enemy.life_ < 0) {
        colony_->addKill();
    }
    gainLife(-enemy.life_);
}

void Virus::chooseMove() {
    World& world = world_;
    const GameRules& p = world.params();
    const int r = p.m_virus_visible / 2;
    LcgRandom& rng = world.rules().random();
    Window w = drawMoveWindow(r, column_, row_, rng);
    if (const Flag* flag = colony_->nearestFlag(column_, row_)) {
        biasTowardsFlag(w, flag->column(), flag->row(), rng);
    }
    w.clipTo(world);

    const int target = pickEmptySlot(world, w, rng);
    if (target < 0) {
        wobble();
        return;
    }
    const int ti = target / World::kRows;
    const int tj = target % World::kRows;
    state_ = VirusState::Moving;
    const float pitch = p.m_distance_beween_viruses;
    movement_[0] = static_cast<float>(ti - column_) * pitch;
    movement_[1] = static_cast<float>(tj - row_) * pitch;
    movement_[2] = 0;
    world.moveVirus(column_, row_, ti, tj);
    column_ = ti;
    row_ = tj;
    const float length = std::sqrt(movement_[0] * movement_[0] + movement_[1] * movement_[1]);
    stepsLeft_ = static_cast<int>(length / p.m_speed);
    movement_[0] = movement_[0] / length * p.m_speed;
    movement_[1] = movement_[1] / length * p.m_speed;
}

void Virus::step() {
    if (stepsLeft_ != 0) {
        x_ += movement_[0];
        y_ += movement_[1];
        stepsLeft_ -= 1;
        return;
    }
    wobble();
    state_ = VirusState::Idle;
}

// Snaps the drawing position to the cell with a jitter of up to one pixel.
void Virus::wobble() {
    const float pitch = world_.params().m_distance_beween_viruses;
    RulesState& rules = world_.rules();
    x_ = static_cast<float>(column_) * pitch + static_cast<float>(rules.rand() % 3 - 1);
    y_ = static_cast<float>(row_) * pitch + static_cast<float>(rules.rand() % 3 - 1);
}

// A hit takes the attacker's whole life from its enemy, or the share the
// rules give a computer colony's viruses against the player's. Between
// computer colonies hits stay whole, so games among them (the demonstration)
// play as designed.
int Virus::hitStrength(const Virus& enemy) const {
    const GameRules& p = world_.params();
    const bool handicapped = colony_->isComputer() && !enemy.colony_->isComputer();
    const int percent = handicapped ? p.m_ai_attack_percent[world_.difficulty()] : 0;
    if (percent <= 0) {
        return life_;
    }
    return saturated(static_cast<long long>(life_) * percent / 100);
}

void Virus::gainLife(int delta) {
    const GameRules& p = world_.params();
    const int bound = p.m_max_virus_life[world_.difficulty()];
    const int before = life_;
    addLife(delta);
    if (bound > 0 && delta > 0 && life_ > bound) {
        life_ = std::max(bound, before);
    }
}

void Virus::feed(int amount) {
    gainLife(amount);
    if (life_ - maxLife_ > maxLife_ / 2) {
        spawnChild();
    }
}

// The child takes the first empty cell of the smallest block around the parent
// that has one (column by column, row by row). A full grid has no room: no
// child and no cost.
void Virus::spawnChild() {
    World& world = world_;
    Window w{column_ - 1, row_ - 1, column_ + 2, row_ + 2};
    for (;;) {
        w.clipTo(world);
        for (int c = w.x0; c < w.x1; ++c) {
            for (int j = w.y0; j < w.y1; ++j) {
                if (world.virusAt(c, j) == nullptr) {
                    auto child = std::make_unique<Virus>(world, c, j, colony_);
                    addLife(-child->maxLife_);
                    world.placeVirus(c, j, std::move(child));
                    return;
                }
            }
        }
        if (w.coversGrid(world)) {
            return;
        }
        w = Window{w.x0 - 1, w.y0 - 1, w.x1 + 1, w.y1 + 1};
    }
}

}  // namespace brv
