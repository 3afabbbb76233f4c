#include "tools/sim/NewcomerBot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "config/GameRules.h"
#include "platform/Clock.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/Virus.h"
#include "sim/World.h"

namespace brv {

namespace {

float distance(int columnA, int rowA, int columnB, int rowB) {
    return std::hypot(static_cast<float>(columnA - columnB), static_cast<float>(rowA - rowB));
}

// Two colonies steered by newcomers in one game react apart.
std::uint32_t mixSeed(std::uint32_t seed, int colony) {
    return seed * 2654435761u + 0x9e3779b9u * static_cast<std::uint32_t>(colony + 1);
}

}  // namespace

NewcomerBot::NewcomerBot(int colony, std::uint32_t seed)
    : PlayerBot(colony), rng_(mixSeed(seed, colony)) {}

void NewcomerBot::play(World& world, int update) {
    if (update < kInputPauseUpdates || update % kLookEveryUpdates != 0) {
        return;
    }
    Colony* me = steered(world);
    if (me == nullptr || me->virusCount() == 0) {
        return;
    }
    pitch_ = std::max(world.params().m_distance_beween_viruses, 1.0f);
    reach_ = world.params().m_life_src_visible / 2;
    if (!started_) {
        started_ = true;
        startCount_ = me->virusCount();
        if (!me->flags().empty()) {
            hasFlag_ = true;
            flag_ = {me->flags().front()->column(), me->flags().front()->row()};
        }
    }
    const int nowMs = update * kTickMs;
    if (plan_ == Plan::None) {
        // Noticed now, acted on a reaction later.
        if (hasOld_ || wantsToMove(world, *me)) {
            plan_ = hasOld_ ? Plan::DropOld : Plan::Move;
            dueMs_ = nowMs + reactionMs();
        }
        return;
    }
    if (nowMs < dueMs_) {
        return;
    }
    const Plan plan = plan_;
    plan_ = Plan::None;
    if (plan == Plan::DropOld) {
        if (flagStands(*me, old_)) {
            click(*me, old_);
        }
        hasOld_ = false;
        return;
    }
    // What was noticed may have passed by the time the hand moves.
    if (wantsToMove(world, *me)) {
        move(world, *me);
    }
}

// The flag is gone, stands on bare ground, or by a source whose ring is
// running low or which enemy viruses crowd.
bool NewcomerBot::wantsToMove(const World& world, const Colony& me) const {
    if (!hasFlag_ || !flagStands(me, flag_)) {
        return true;
    }
    const LifeSource* source = sourceByFlag(world);
    return source == nullptr || source->reserveLeft() < kLowRing || crowded(world, me, *source);
}

void NewcomerBot::move(const World& world, Colony& me) {
    const LifeSource* target = chooseSource(world, me, centreOf(world, me));
    if (target == nullptr) {
        return;  // nothing better in sight: stay
    }
    const bool standing = hasFlag_ && flagStands(me, flag_);
    // A grown colony's player has learnt that a second flag leads the way.
    const bool leadFirst = standing && me.virusCount() >= 2 * startCount_ &&
                           static_cast<int>(me.flags().size()) < me.flagLimit();
    if (leadFirst) {
        old_ = flag_;
        hasOld_ = true;
    } else if (standing) {
        click(me, flag_);
    }
    const Cell to{target->column(), target->row()};
    if (click(me, to) == ClickResult::FlagSet) {
        hasFlag_ = true;
        flag_ = to;
    } else if (leadFirst) {
        hasOld_ = false;  // refused: the old flag stays the one
    } else {
        hasFlag_ = false;
    }
}

// The nearest source to the colony whose ring looks full and that no enemy
// crowds, now and then the second nearest; failing that, the uncrowded one
// holding most. Never the one by the flag, which is why it moves.
const LifeSource* NewcomerBot::chooseSource(const World& world, const Colony& me, Cell centre) {
    const LifeSource* byFlag = hasFlag_ ? sourceByFlag(world) : nullptr;
    std::vector<std::pair<float, const LifeSource*>> good;
    const LifeSource* fallback = nullptr;
    for (const auto& source : world.lifeSources()) {
        if (source.get() == byFlag || crowded(world, me, *source)) {
            continue;
        }
        if (source->reserveLeft() >= kFullRing) {
            good.emplace_back(distance(centre.column, centre.row, source->column(), source->row()),
                              source.get());
        } else if (fallback == nullptr || source->reserve() > fallback->reserve()) {
            fallback = source.get();
        }
    }
    if (good.empty()) {
        return fallback != nullptr && fallback->reserveLeft() >= kLowRing ? fallback : nullptr;
    }
    std::sort(good.begin(), good.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    const bool farther = good.size() > 1 && rng_.next() % kFartherOneIn == 0;
    return good[farther ? 1 : 0].second;
}

const LifeSource* NewcomerBot::sourceByFlag(const World& world) const {
    const LifeSource* nearest = nullptr;
    float best = 0;
    for (const auto& source : world.lifeSources()) {
        if (std::abs(source->column() - flag_.column) > reach_ ||
            std::abs(source->row() - flag_.row) > reach_) {
            continue;
        }
        const float d = distance(flag_.column, flag_.row, source->column(), source->row());
        if (nearest == nullptr || d < best) {
            best = d;
            nearest = source.get();
        }
    }
    return nearest;
}

bool NewcomerBot::crowded(const World& world, const Colony& me, const LifeSource& source) const {
    const int around = reach_ + kCrowdMargin;
    int mine = 0;
    int theirs = 0;
    const int c1 = std::min(source.column() + around, world.columnCount() - 1);
    const int r1 = std::min(source.row() + around, world.rowCount() - 1);
    for (int c = std::max(source.column() - around, 0); c <= c1; ++c) {
        for (int r = std::max(source.row() - around, 0); r <= r1; ++r) {
            if (const Virus* v = world.virusAt(c, r)) {
                (v->colony() == &me ? mine : theirs) += 1;
            }
        }
    }
    return theirs >= kCrowdCount && theirs > mine;
}

NewcomerBot::Cell NewcomerBot::centreOf(const World& world, const Colony& me) const {
    long long columns = 0;
    long long rows = 0;
    long long count = 0;
    for (int c = 0; c < world.columnCount(); ++c) {
        for (int r = 0; r < world.rowCount(); ++r) {
            const Virus* v = world.virusAt(c, r);
            if (v != nullptr && v->colony() == &me) {
                columns += c;
                rows += r;
                ++count;
            }
        }
    }
    if (count == 0) {
        return flag_;
    }
    return {static_cast<int>(columns / count), static_cast<int>(rows / count)};
}

bool NewcomerBot::flagStands(const Colony& me, Cell cell) const {
    return std::any_of(me.flags().begin(), me.flags().end(), [&](const auto& flag) {
        return flag->column() == cell.column && flag->row() == cell.row;
    });
}

// A person clicks the middle of what they see: the middle of a cell turns
// back into that cell, whatever the pitch.
ClickResult NewcomerBot::click(Colony& me, Cell cell) {
    return press(me,
                 static_cast<int>(std::lround((static_cast<float>(cell.column) + 0.5f) * pitch_)),
                 static_cast<int>(std::lround((static_cast<float>(cell.row) + 0.5f) * pitch_)));
}

int NewcomerBot::reactionMs() {
    return kReactionMinMs + rng_.next() % (kReactionMaxMs - kReactionMinMs + 1);
}

}  // namespace brv
