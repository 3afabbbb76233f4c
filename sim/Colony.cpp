#include "sim/Colony.h"

#include <climits>

#include "config/GameRules.h"
#include "platform/Clock.h"
#include "sim/RulesState.h"

namespace brv {

namespace {
// Room for the flags of a large colony, so placing flags during play does not
// grow the list.
constexpr std::size_t kReservedFlags = 64;
}  // namespace

Colony::Colony(float red, float green, float blue, const GameRules& params)
    : red_(red), green_(green), blue_(blue), params_(params) {
    flags_.reserve(kReservedFlags);
}

Colony::~Colony() = default;

void Colony::update(int elapsedMs, int /*index*/) {
    updateTrend(elapsedMs);
    // The player's flags wave at the fixed tick rate.
    for (auto& flag : flags_) {
        flag->animation().advance(kTickMs);
    }
}

void Colony::updateTrend(int elapsedMs) {
    trendTime_ += elapsedMs;
    if (static_cast<unsigned int>(trendTime_) > 1000u) {
        trendMark_ = virusCount_ > previousCount_ ? '+' : '-';
        trendTime_ = 0;
        previousCount_ = virusCount_;
    }
}

float Colony::pitch() const {
    return params_.m_distance_beween_viruses;
}

int Colony::flagLimit() const {
    const int d = difficulty_;
    const int ownCount = isComputer() ? params_.m_ai_flag_per_count[d] : 0;
    return virusCount_ / (ownCount > 0 ? ownCount : params_.m_flag_per_count[d]) + 1;
}

bool Colony::removeFlagNear(int x, int y) {
    const float p = pitch();
    const float fxClick = static_cast<float>(x);
    const float fyClick = static_cast<float>(y);
    for (auto it = flags_.begin(); it != flags_.end(); ++it) {
        const float fx = static_cast<float>((*it)->column()) * p;
        const float fy = static_cast<float>((*it)->row()) * p;
        if (fx - kFlagReach < fxClick && fxClick < fx + kFlagReach && fy - kFlagReach < fyClick &&
            fyClick < fy + kFlagReach) {
            flags_.erase(it);
            return true;
        }
    }
    return false;
}

void Colony::addFlagAt(int x, int y) {
    removeFlagNear(x, y);
    if (static_cast<int>(flags_.size()) < flagLimit()) {
        const float toCell = 1.0f / pitch();
        const int column = static_cast<int>(static_cast<float>(x) * toCell);
        const int row = static_cast<int>(static_cast<float>(y) * toCell);
        flags_.push_back(std::make_unique<Flag>(column, row, params_.m_flag_animation, *rules_));
    }
}

// Cells are whole numbers within the grid, so the squared distances are
// exact in int, as they were in float.
const Flag* Colony::nearestFlag(int column, int row) const {
    const Flag* nearest = nullptr;
    int best = INT_MAX;
    for (const auto& flag : flags_) {
        const int dx = flag->column() - column;
        const int dy = flag->row() - row;
        const int d2 = dx * dx + dy * dy;
        if (d2 < best) {
            nearest = flag.get();
            best = d2;
        }
    }
    return nearest;
}

bool Colony::hasFlagOn(int column, int row) const {
    for (const auto& flag : flags_) {
        if (flag->column() == column && flag->row() == row) {
            return true;
        }
    }
    return false;
}

bool Colony::removeFlagsOn(int column, int row) {
    const auto before = flags_.size();
    std::erase_if(flags_, [&](const std::unique_ptr<Flag>& flag) {
        return flag->column() == column && flag->row() == row;
    });
    return flags_.size() != before;
}

}  // namespace brv
