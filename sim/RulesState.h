#pragma once

#include <cstdint>

#include "platform/Random.h"

namespace brv {

// What the rules of one game carry from one draw and one tick to the next:
// the generator every rule draws from, in the order the rules draw, the half
// of the columns the last update visited and the phase of the influence
// table's rebuild. A world follows the state it is given, so two worlds with
// states of their own run side by side without touching each other's course.
// Whoever runs games owns their state: the window's games and demonstrations
// share one, each new world going on from the column half and influence
// phase the last one reached; the match runner, the arena and the replay
// check make one per game.
class RulesState {
public:
    // A state of its own, its generator seeded with `seed`, its counters at 0.
    explicit RulesState(std::uint32_t seed) : random_(seed) {}
    RulesState(const RulesState&) = delete;
    RulesState& operator=(const RulesState&) = delete;

    int rand() { return random_.next(); }
    LcgRandom& random() { return random_; }
    // The generator's raw state, for a record of where a game began.
    std::uint32_t generatorState() const { return random_.state(); }
    void setGeneratorState(std::uint32_t state) { random_ = LcgRandom{state}; }

    int columnParity() const { return columnParity_; }
    int influenceTick() const { return influenceTick_; }
    void setCounters(int columnParity, int influenceTick) {
        columnParity_ = columnParity;
        influenceTick_ = influenceTick;
    }
    // Turns to the other half of the columns and returns it (0 or 1).
    int nextColumnParity() {
        columnParity_ = columnParity_ + 1 > 1 ? 0 : columnParity_ + 1;
        return columnParity_;
    }
    // Advances the influence phase by one tick; true on the tick the table is
    // due, when the phase starts again at 0. A phase set from outside (a
    // replay's start) at the top of the int range is due at once and reset,
    // never carried past it.
    bool influenceDue(int everyTicks) {
        if (influenceTick_ >= everyTicks - 1) {
            influenceTick_ = 0;
            return true;
        }
        ++influenceTick_;
        return false;
    }

private:
    LcgRandom random_;
    int columnParity_ = 0;
    int influenceTick_ = 0;
};

}  // namespace brv
