#include "tools/sim/NoviceBot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/World.h"

namespace brv {

namespace {

float distance(int columnA, int rowA, int columnB, int rowB) {
    return std::hypot(static_cast<float>(columnA - columnB), static_cast<float>(rowA - rowB));
}

}  // namespace

void NoviceBot::play(World& world, int update) {
    watchSources(world);
    if (update < kInputPauseUpdates || update * kTickMs < nextDecisionMs_) {
        return;
    }
    nextDecisionMs_ += kDecideEveryMs;
    Colony* me = steered(world);
    pitch_ = std::max(world.params().m_distance_beween_viruses, 1.0f);
    if (me == nullptr || me->virusCount() == 0) {
        return;
    }
    if (!started_) {
        started_ = true;
        takeStartFlag(world, *me);
        return;
    }
    decide(world, *me);
}

// Every update, so each source's start is its reserve before anyone ate.
void NoviceBot::watchSources(const World& world) {
    next_.clear();
    for (const auto& source : world.lifeSources()) {
        const Seen* known = seenOf(*source);
        next_.push_back(
            known != nullptr
                ? *known
                : Seen{source.get(), {source->column(), source->row()}, source->reserve()});
    }
    seen_.swap(next_);
}

const NoviceBot::Seen* NoviceBot::seenOf(const LifeSource& source) const {
    for (const Seen& seen : seen_) {
        if (seen.source == &source && seen.cell.column == source.column() &&
            seen.cell.row == source.row() && source.reserve() <= seen.start) {
            return &seen;
        }
    }
    return nullptr;
}

const LifeSource* NoviceBot::stillThere(const World& world, const Seen& seen) const {
    for (const auto& source : world.lifeSources()) {
        if (source.get() == seen.source && source->column() == seen.cell.column &&
            source->row() == seen.cell.row && source->reserve() <= seen.start) {
            return source.get();
        }
    }
    return nullptr;
}

// The game plants the start flag on the colony's home source: that flag and
// source are the ones kept. A start flag off every source is moved onto the
// source nearest to it, as a newcomer's first clicks would; a colony without
// one sets it on its own start source (set-up places one per colony, in
// colony order), or on the first when there are fewer.
void NoviceBot::takeStartFlag(const World& world, Colony& me) {
    if (!me.flags().empty()) {
        hasFlag_ = true;
        flag_ = {me.flags().front()->column(), me.flags().front()->row()};
    }
    const auto& sources = world.lifeSources();
    const auto own = static_cast<std::size_t>(colony());
    const LifeSource* home = hasFlag_               ? nearestHolding(world, flag_, -1)
                             : sources.empty()      ? nullptr
                             : own < sources.size() ? sources[own].get()
                                                    : sources.front().get();
    if (home == nullptr) {
        return;
    }
    if (!hasFlag_ || distance(flag_.column, flag_.row, home->column(), home->row()) > 1) {
        moveFlag(me, *home);
    }
    if (const Seen* seen = seenOf(*home); seen != nullptr) {
        kept_ = *seen;
        keeping_ = true;
    }
}

void NoviceBot::decide(const World& world, Colony& me) {
    const LifeSource* kept = keeping_ ? stillThere(world, kept_) : nullptr;
    const int held = kept != nullptr ? kept->reserve() : -1;
    if (kept != nullptr && held * kSpentShare >= kept_.start) {
        if (!hasFlag_) {
            moveFlag(me, *kept);  // a click the allowance refused: once more
        }
        return;
    }
    const LifeSource* target = nearestHolding(world, hasFlag_ ? flag_ : kept_.cell, held);
    if (target == nullptr) {
        return;  // nothing richer on the field: stay
    }
    moveFlag(me, *target);
    if (const Seen* seen = seenOf(*target); seen != nullptr) {
        kept_ = *seen;
        keeping_ = true;
    }
}

const LifeSource* NoviceBot::nearestHolding(const World& world, Cell from, int more) const {
    const LifeSource* nearest = nullptr;
    float best = std::numeric_limits<float>::max();
    for (const auto& source : world.lifeSources()) {
        const float d = distance(from.column, from.row, source->column(), source->row());
        if (source->reserve() > more && d < best) {
            best = d;
            nearest = source.get();
        }
    }
    return nearest;
}

// A person clicks the middle of what they see: the middle of a cell turns
// back into that cell, whatever the pitch.
void NoviceBot::moveFlag(Colony& me, const LifeSource& target) {
    const auto middleOf = [&](int cell) {
        return static_cast<int>(std::lround((static_cast<float>(cell) + 0.5f) * pitch_));
    };
    const bool flagStands =
        hasFlag_ && std::any_of(me.flags().begin(), me.flags().end(), [&](const auto& flag) {
            return flag->column() == flag_.column && flag->row() == flag_.row;
        });
    // The old flag goes first, so the allowance of one flag has room.
    if (flagStands) {
        press(me, middleOf(flag_.column), middleOf(flag_.row));
    }
    hasFlag_ = press(me, middleOf(target.column()), middleOf(target.row())) == ClickResult::FlagSet;
    flag_ = {target.column(), target.row()};
}

}  // namespace brv
