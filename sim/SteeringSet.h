#pragma once

#include <memory>
#include <vector>

#include "sim/Steering.h"

namespace brv {

struct Replay;

// Everyone who steers a game, asked in the order they joined before each
// world update. Every click they make is noted in the game's record, when
// there is one, as its colony's, and then heard by the listener (the window
// plays its sounds).
class SteeringSet {
public:
    // What becomes of a press that set nothing at the flag limit: the window
    // and the recorded test games keep it as a set that changed nothing, as
    // a person's press reached the rules; the match runner and the arena
    // keep only clicks that changed something.
    enum class Refused { NotedAsSet, Dropped };

    explicit SteeringSet(Refused refused = Refused::Dropped) : refused_(refused) {}
    SteeringSet(const SteeringSet&) = delete;
    SteeringSet& operator=(const SteeringSet&) = delete;

    // Joins `steering`; it takes the place of one steering the same colony.
    template <class Kind>
    Kind& add(std::unique_ptr<Kind> steering) {
        Kind& added = *steering;
        join(std::move(steering));
        return added;
    }
    void recordInto(Replay* replay) { replay_ = replay; }
    void onClick(SteeringClickSink listener) { listener_ = std::move(listener); }

    void act(World& world, int update);
    void finish(int update, bool finished, int winner);
    // Who steers `colony`; null when nobody does.
    Steering* of(int colony) const;

private:
    void join(std::unique_ptr<Steering> steering);
    void heard(const SteeringClick& click);

    Refused refused_;
    Replay* replay_ = nullptr;
    SteeringClickSink listener_;
    std::vector<std::unique_ptr<Steering>> steerings_;
};

}  // namespace brv
