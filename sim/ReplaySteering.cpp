#include "sim/ReplaySteering.h"

#include "sim/Colony.h"
#include "sim/World.h"

namespace brv {

ReplaySteering::ReplaySteering(const Replay& replay)
    : Steering(kEveryColony), events_(replay.events) {}

ReplaySteering::ReplaySteering(const Replay& replay, int from, int colony) : Steering(colony) {
    for (const Replay::Event& event : replay.events) {
        if (event.colony == from) {
            events_.push_back(event);
            events_.back().colony = colony;
        }
    }
}

// A resignation only ends the game; it plays nothing.
void ReplaySteering::act(World& world, int update) {
    for (; next_ < events_.size() && events_[next_].update == update; ++next_) {
        play(world, events_[next_]);
    }
}

void ReplaySteering::play(World& world, const Replay::Event& event) const {
    const auto& all = world.colonies();
    if (event.colony < 0 || event.colony >= static_cast<int>(all.size()) ||
        event.input == Replay::Input::Resigned) {
        return;
    }
    Colony& colony = *all[static_cast<std::size_t>(event.colony)];
    ClickResult result = ClickResult::FlagRemoved;
    if (event.input == Replay::Input::FlagSet) {
        colony.addFlagAt(event.x, event.y);
        result = ClickResult::FlagSet;
    } else {
        colony.removeFlagNear(event.x, event.y);
    }
    report({event.colony, event.update, result, event.x, event.y});
}

}  // namespace brv
