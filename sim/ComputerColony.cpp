#include "sim/ComputerColony.h"

#include <climits>

#include "config/GameRules.h"
#include "sim/LifeSource.h"
#include "sim/RulesState.h"
#include "sim/World.h"

namespace brv {

namespace {
constexpr unsigned int kThinkIntervalMs = 1500;
constexpr std::size_t kReservedCandidates = 64;
}  // namespace

ComputerColony::ComputerColony(float red, float green, float blue, const GameRules& params,
                               World* world)
    : Colony(red, green, blue, params), world_(world) {
    setComputer();
    candidates_.reserve(kReservedCandidates);
}

void ComputerColony::accumulate(int& time, int elapsedMs) {
    const long long sum = static_cast<long long>(time) + elapsedMs;
    time = sum > INT_MAX ? INT_MAX : static_cast<int>(sum);
}

// As designed, the colony rethinks at every update once its first 1.5 s have
// passed; the rules may make it wait between rethinks instead.
void ComputerColony::update(int elapsedMs, int /*index*/) {
    accumulate(thinkTime_, elapsedMs);
    const int interval = thinkInterval();
    if (static_cast<unsigned int>(thinkTime_) >
        (interval > 0 ? static_cast<unsigned int>(interval) : kThinkIntervalMs)) {
        if (interval > 0) {
            thinkTime_ = 0;
        }
        think();
    }
    updateTrend(elapsedMs);
}

// The rules' wait is a handicap for a player's sake: among computer colonies
// alone (the demonstration) they rethink as designed.
int ComputerColony::thinkInterval() const {
    const int wait = params().m_ai_think_ms[world_->difficulty()];
    return wait > 0 && world_->hasPlayer() ? wait : 0;
}

void ComputerColony::cleanUpFlags() {
    const auto& sources = world_->lifeSources();
    std::erase_if(flags_, [&](const std::unique_ptr<Flag>& flag) {
        for (const auto& source : sources) {
            if (source->column() == flag->column() && source->row() == flag->row()) {
                return false;
            }
        }
        return true;
    });
}

void ComputerColony::flagSource(const LifeSource& source) {
    const float p = pitch();
    addFlagAt(static_cast<int>(static_cast<float>(source.column()) * p),
              static_cast<int>(static_cast<float>(source.row()) * p));
}

// Fills the flag limit with flags on random unflagged life sources. Once the
// limit is reached the remaining candidates only use up draws.
void ComputerColony::think() {
    cleanUpFlags();
    candidates_.clear();
    for (const auto& source : world_->lifeSources()) {
        if (!hasFlagOn(source->column(), source->row())) {
            candidates_.push_back(source.get());
        }
    }
    std::size_t i = 0;
    while (!candidates_.empty() && i < candidates_.size()) {
        const int k = rules().rand() % static_cast<int>(candidates_.size());
        if (static_cast<int>(flags_.size()) < flagLimit()) {
            flagSource(*candidates_[k]);
            candidates_.erase(candidates_.begin() + k);
        } else {
            i += 1;
        }
    }
}

}  // namespace brv
