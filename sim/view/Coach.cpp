#include "sim/view/Coach.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/Flag.h"
#include "sim/LifeSource.h"
#include "sim/Virus.h"
#include "sim/view/ReserveRing.h"

namespace brv {

namespace {

// A source holding less than this share of its starting reserve is nearly
// spent: its ring blinks on the field from then on.
constexpr float kRunningDryShare = 0.25f;

// How many of the player's viruses and of its enemies' stand within a
// source's feeding reach.
struct Crowd {
    int mine = 0;
    int theirs = 0;
};

Crowd crowdAt(const World& world, const Colony& player, const LifeSource& source) {
    const int reach = world.params().m_life_src_visible / 2;
    Crowd crowd;
    const int c0 = std::max(source.column() - reach, 0);
    const int c1 = std::min(source.column() + reach, World::kColumns - 1);
    const int r0 = std::max(source.row() - reach, 0);
    const int r1 = std::min(source.row() + reach, World::kRows - 1);
    for (int c = c0; c <= c1; ++c) {
        for (int r = r0; r <= r1; ++r) {
            if (const Virus* v = world.virusAt(c, r)) {
                (v->colony() == &player ? crowd.mine : crowd.theirs) += 1;
            }
        }
    }
    return crowd;
}

// A flag stands on a source when the source feeds the flag's cell, or when
// the flag is drawn on the source's glow inside its ring: what the player
// sees as "on the source" counts, whichever reaches further.
bool flagOn(const Colony& player, const LifeSource& source, const World& world) {
    const GameRules& rules = world.params();
    const int drawn =
        static_cast<int>(std::ceil(kReserveRingOuter / rules.m_distance_beween_viruses));
    const int reach = std::max(rules.m_life_src_visible / 2, drawn);
    return std::any_of(player.flags().begin(), player.flags().end(), [&](const auto& flag) {
        return std::abs(flag->column() - source.column()) <= reach &&
               std::abs(flag->row() - source.row()) <= reach;
    });
}

}  // namespace

Coach::SourceKey Coach::keyOf(const LifeSource& source) {
    return {source.column(), source.row(), source.startingReserve()};
}

void Coach::begin(const World& world) {
    const auto& colonies = world.colonies();
    if (!on_ || colonies.empty()) {
        return;
    }
    const Colony& player = *colonies.front();
    if (!player.flags().empty()) {
        // The colony's first flag stands on the cell of the source it starts on.
        const Flag& flag = *player.flags().front();
        for (const auto& source : world.lifeSources()) {
            if (source->column() == flag.column() && source->row() == flag.row()) {
                home_ = keyOf(*source);
                break;
            }
        }
    }
    for (std::size_t k = 1; k < colonies.size() && k < enemyAlive_.size(); ++k) {
        enemyAlive_[k] = colonies[k]->virusCount() > 0;
    }
    counts_.assign(1, player.virusCount());
    flagsChanged(player);
    note(Line::Start);
    settle(world);
}

void Coach::watch(const World& world, int updateMs) {
    if (!on_ || world.colonies().empty()) {
        return;
    }
    const Colony& player = *world.colonies().front();
    countViruses(player.virusCount(), updateMs);
    tell({Line::Shrinking, {}}, world);
    if (player.killCounter() > 0) {
        tell({Line::FirstKill, {}}, world);
    }
    watchEnemies(world);
    // A source runs through its last quarter within seconds under a crowd,
    // so the sources by the flags are checked for that on every update;
    // who holds them, and whether a flag stands on any, once a second and
    // as soon as the player moves a flag, so that a warning comes before the
    // colony walks there.
    sinceSourcesMs_ += updateMs;
    const bool fullLook = flagsChanged(player) || sinceSourcesMs_ >= kSourceLookMs;
    if (fullLook) {
        sinceSourcesMs_ = 0;
    }
    lookAtSources(world, fullLook);
    settle(world);
}

bool Coach::holds(const Told& told, const World& world) const {
    if (world.colonies().empty()) {
        return false;
    }
    const Colony& player = *world.colonies().front();
    const auto& sources = world.lifeSources();
    const auto it = std::find_if(sources.begin(), sources.end(),
                                 [&](const auto& source) { return keyOf(*source) == told.source; });
    const LifeSource* source = it == sources.end() ? nullptr : it->get();
    switch (told.line) {
        case Line::Start:
        case Line::FirstKill:
        case Line::EnemyWiped:
            return true;  // what happened stays true for its show
        case Line::Shrinking:
            return shrinkingFast(player.virusCount());
        case Line::FlagLimit:
            return static_cast<int>(player.flags().size()) >= player.flagLimit();
        case Line::SourceDry:
        case Line::NextSourceDry:
            // Said while the player's flag and viruses are still there; a
            // spent source is gone from the field, and the line with it.
            return source != nullptr && flagOn(player, *source, world) &&
                   source->reserveLeft() < kRunningDryShare &&
                   crowdAt(world, player, *source).mine > 0;
        case Line::EnemyAtSource: {
            if (source == nullptr || !flagOn(player, *source, world)) {
                return false;
            }
            const Crowd crowd = crowdAt(world, player, *source);
            return crowd.theirs >= kHoldingCount && crowd.theirs > crowd.mine;
        }
        case Line::BareFlag:
            // Every flag away from every source keeps the colony on bare
            // ground, where it starves; one flag on a source feeds it.
            return !player.flags().empty() && player.virusCount() > 0 &&
                   std::none_of(sources.begin(), sources.end(),
                                [&](const auto& s) { return flagOn(player, *s, world); });
        case Line::Count:
            break;
    }
    return false;
}

// The count now against the largest of the last ten seconds.
bool Coach::shrinkingFast(int count) const {
    const int peak = counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
    return peak >= kShrinkFromCount && count * 3 <= peak * 2;
}

void Coach::countViruses(int count, int updateMs) {
    sinceCountMs_ += updateMs;
    if (sinceCountMs_ >= 1000) {
        sinceCountMs_ = 0;
        counts_.push_back(count);
        if (counts_.size() > kShrinkWindowMs / 1000 + 1) {
            counts_.pop_front();
        }
    }
}

// Compares the flags' cells with the last look's and keeps the new ones.
bool Coach::flagsChanged(const Colony& player) {
    const auto& flags = player.flags();
    bool same = flags.size() == flagCells_.size();
    for (std::size_t k = 0; same && k < flags.size(); ++k) {
        same = flagCells_[k] == std::pair{flags[k]->column(), flags[k]->row()};
    }
    if (same) {
        return false;
    }
    flagCells_.clear();
    for (const auto& flag : flags) {
        flagCells_.emplace_back(flag->column(), flag->row());
    }
    return true;
}

void Coach::watchEnemies(const World& world) {
    const auto& colonies = world.colonies();
    for (std::size_t k = 1; k < colonies.size() && k < enemyAlive_.size(); ++k) {
        const bool alive = colonies[k]->virusCount() > 0;
        if (enemyAlive_[k] && !alive) {
            tell({Line::EnemyWiped, {}}, world);
        }
        enemyAlive_[k] = alive;
    }
}

// A newcomer's second source runs dry as the first did, and the nearest
// glowing source may be an enemy's: both are told once for each source a
// flag of the player's stands on.
void Coach::lookAtSources(const World& world, bool fullLook) {
    for (const auto& source : world.lifeSources()) {
        const SourceKey key = keyOf(*source);
        tell({key == home_ ? Line::SourceDry : Line::NextSourceDry, key}, world);
        if (fullLook) {
            tell({Line::EnemyAtSource, key}, world);
        }
    }
    if (fullLook) {
        tell({Line::BareFlag, {}}, world);
    }
}

// Queues a line that holds now and was not told before. A warning that the
// player's flag leads into enemies cannot wait: it comes up at once, cutting
// short the line shown (the player, busy with flags, has moved on from it).
void Coach::tell(Told told, const World& world) {
    if (std::find(told_.begin(), told_.end(), told) != told_.end() || !holds(told, world)) {
        return;
    }
    told_.push_back(told);
    noted_[index(told.line)] = true;
    if (told.line == Line::EnemyAtSource && (!current_ || current_->line != Line::EnemyAtSource)) {
        show(told);
        return;
    }
    waiting_.push_back(told);
}

void Coach::note(Line line) {
    const Told told{line, {}};
    if (!on_ || std::find(told_.begin(), told_.end(), told) != told_.end()) {
        return;
    }
    told_.push_back(told);
    noted_[index(line)] = true;
    waiting_.push_back(told);
}

// Drops the line shown if the world no longer bears it out, then brings up
// the first waiting line that still holds; the ones that do not are let go
// untold, free to come again when they are true once more.
void Coach::settle(const World& world) {
    if (current_ && !holds(*current_, world)) {
        current_.reset();
    }
    while (!current_ && !waiting_.empty()) {
        const Told next = waiting_.front();
        waiting_.pop_front();
        if (holds(next, world)) {
            show(next);
        } else {
            told_.erase(std::find(told_.begin(), told_.end(), next));
        }
    }
}

void Coach::show(Told told) {
    current_ = told;
    shownMs_ = 0;
    showFor_ = told.line == Line::Start ? kStartShowMs : kShowMs;
}

void Coach::advance(int elapsedMs) {
    if (!current_) {
        return;
    }
    shownMs_ += elapsedMs;
    if (shownMs_ >= showFor_) {
        current_.reset();
    }
}

std::optional<Coach::Line> Coach::current() const {
    if (!current_) {
        return std::nullopt;
    }
    return current_->line;
}

float Coach::opacity() const {
    if (!current_) {
        return 0;
    }
    const int left = showFor_ - shownMs_;
    return std::clamp(static_cast<float>(left) / kFadeMs, 0.0f, 1.0f);
}

const char* Coach::text(Line line, bool colourBlind) {
    switch (line) {
        case Line::Start:
            return colourBlind ? "You are orange: a left click sets a flag, and your viruses go to "
                                 "the nearest one."
                               : "You are red: a left click sets a flag, and your viruses go to "
                                 "the nearest one.";
        case Line::SourceDry:
            return "Your source is almost spent: set a flag on another glowing source";
        case Line::Shrinking:
            return "Your colony is shrinking: move it to a source with a flag";
        case Line::FlagLimit:
            return "All your flags are set: click one to remove it first";
        case Line::FirstKill:
            return "Your viruses attack enemies next to them: every kill scores a point";
        case Line::EnemyWiped:
            return "An enemy colony is wiped out";
        case Line::NextSourceDry:
            return "The source by your flag is almost spent too: find a full one";
        case Line::EnemyAtSource:
            return "Enemies hold the source at your flag: yours must fight to feed there";
        case Line::BareFlag:
            return "Your flag stands on bare ground: your viruses starve there";
        case Line::Count:
            break;
    }
    return "";
}

}  // namespace brv
