#include "sim/view/Coach.h"

#include <algorithm>
#include <cstdlib>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/LifeSource.h"
#include "sim/Virus.h"

namespace brv {

void Coach::begin(const World& world) {
    const auto& colonies = world.colonies();
    if (colonies.empty()) {
        return;
    }
    const Colony& player = *colonies.front();
    if (!player.flags().empty()) {
        // The colony's first flag stands on the cell of the source it starts on.
        const Flag& flag = *player.flags().front();
        for (const auto& source : world.lifeSources()) {
            if (source->column() == flag.column() && source->row() == flag.row()) {
                home_ = source.get();
                homeColumn_ = source->column();
                homeRow_ = source->row();
                homeStartReserve_ = homeLastReserve_ = source->reserve();
                break;
            }
        }
    }
    for (std::size_t k = 1; k < colonies.size() && k < enemyAlive_.size(); ++k) {
        enemyAlive_[k] = colonies[k]->virusCount() > 0;
    }
    counts_.assign(1, player.virusCount());
    note(Line::Start);
}

void Coach::watch(const World& world, int updateMs) {
    if (!on_ || world.colonies().empty()) {
        return;
    }
    const Colony& player = *world.colonies().front();
    if (home_ != nullptr && homeRunningDry(world)) {
        home_ = nullptr;
        note(Line::SourceDry);
    }
    if (shrinkingFast(player.virusCount(), updateMs)) {
        note(Line::Shrinking);
    }
    if (player.killCounter() > 0) {
        note(Line::FirstKill);
    }
    watchEnemies(world);
    // The sources by the flags change slowly; a look once a second is enough.
    sinceSourcesMs_ += updateMs;
    if (sinceSourcesMs_ >= 1000) {
        sinceSourcesMs_ = 0;
        watchFlaggedSources(world, player);
    }
}

// Below a quarter of its start, or already spent and gone from the field.
bool Coach::homeRunningDry(const World& world) {
    const auto& sources = world.lifeSources();
    const auto it = std::find_if(sources.begin(), sources.end(), [&](const auto& source) {
        return source.get() == home_ && source->column() == homeColumn_ &&
               source->row() == homeRow_ && source->reserve() <= homeLastReserve_;
    });
    if (it == sources.end()) {
        return true;
    }
    homeLastReserve_ = (*it)->reserve();
    return homeLastReserve_ < homeStartReserve_ / 4;
}

// Compares the count now with the largest of the last ten seconds.
bool Coach::shrinkingFast(int count, int updateMs) {
    sinceCountMs_ += updateMs;
    if (sinceCountMs_ >= 1000) {
        sinceCountMs_ = 0;
        counts_.push_back(count);
        if (counts_.size() > kShrinkWindowMs / 1000 + 1) {
            counts_.pop_front();
        }
    }
    const int peak = counts_.empty() ? 0 : *std::max_element(counts_.begin(), counts_.end());
    return peak >= kShrinkFromCount && count * 3 <= peak * 2;
}

void Coach::watchEnemies(const World& world) {
    const auto& colonies = world.colonies();
    for (std::size_t k = 1; k < colonies.size() && k < enemyAlive_.size(); ++k) {
        const bool alive = colonies[k]->virusCount() > 0;
        if (enemyAlive_[k] && !alive) {
            note(Line::EnemyWiped);
        }
        enemyAlive_[k] = alive;
    }
}

namespace {

// How many of the player's viruses and of its enemies' stand within a
// source's reach.
struct Crowd {
    int mine = 0;
    int theirs = 0;
};

Crowd crowdAt(const World& world, const Colony& player, const LifeSource& source, int reach) {
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

bool flagNear(const Colony& player, const LifeSource& source, int reach) {
    return std::any_of(player.flags().begin(), player.flags().end(), [&](const auto& flag) {
        return std::abs(flag->column() - source.column()) <= reach &&
               std::abs(flag->row() - source.row()) <= reach;
    });
}

}  // namespace

// A newcomer's second source runs dry as the first did, and the nearest
// glowing source may be an enemy's: both are told once, for the sources
// within feeding reach of the player's flags.
void Coach::watchFlaggedSources(const World& world, const Colony& player) {
    const int reach = world.params().m_life_src_visible / 2;
    bool anyNear = false;
    for (const auto& source : world.lifeSources()) {
        if (!flagNear(player, *source, reach)) {
            continue;
        }
        anyNear = true;
        const bool home = source->column() == homeColumn_ && source->row() == homeRow_;
        if (!home && source->reserveLeft() < 0.25f) {
            note(Line::NextSourceDry);
        }
        const Crowd crowd = crowdAt(world, player, *source, reach);
        if (crowd.theirs >= kHoldingCount && crowd.theirs > crowd.mine) {
            note(Line::EnemyAtSource);
        }
    }
    // A flag away from every source, or left behind when the source under it
    // was spent, keeps the colony on bare ground, where it starves.
    if (!anyNear && !player.flags().empty() && player.virusCount() > 0) {
        note(Line::BareFlag);
    }
}

void Coach::note(Line line) {
    if (!on_ || noted_[index(line)]) {
        return;
    }
    noted_[index(line)] = true;
    waiting_.push_back(line);
    if (!current_) {
        showNext();
    }
}

void Coach::showNext() {
    current_.reset();
    if (waiting_.empty()) {
        return;
    }
    current_ = waiting_.front();
    waiting_.pop_front();
    shownMs_ = 0;
    showFor_ = *current_ == Line::Start ? kStartShowMs : kShowMs;
}

void Coach::advance(int elapsedMs) {
    if (!current_) {
        return;
    }
    shownMs_ += elapsedMs;
    if (shownMs_ >= showFor_) {
        showNext();
    }
}

std::optional<Coach::Line> Coach::current() const {
    return current_;
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
            return "Enemy viruses hold the source by your flag: yours will fight there";
        case Line::BareFlag:
            return "Your flag stands on bare ground: your viruses starve there";
        case Line::Count:
            break;
    }
    return "";
}

}  // namespace brv
