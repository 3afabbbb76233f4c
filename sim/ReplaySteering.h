#pragma once

#include <cstddef>
#include <vector>

#include "sim/Replay.h"
#include "sim/Steering.h"

namespace brv {

// Plays a record's clicks at the updates they were made: a flag set is set
// where it was, a flag removed is taken away there, and each is heard as it
// is played. A whole record plays every colony's clicks in the record's own
// order, since each flag set draws from the rules' generator; one colony's
// clicks may also steer another colony of another game.
class ReplaySteering : public Steering {
public:
    // Steers every colony the record's clicks name.
    static constexpr int kEveryColony = -1;

    // Every click of `replay`, each on the colony that made it.
    explicit ReplaySteering(const Replay& replay);
    // The clicks colony `from` made in `replay`, played on colony `colony`.
    ReplaySteering(const Replay& replay, int from, int colony);

    void act(World& world, int update) override;

private:
    void play(World& world, const Replay::Event& event) const;

    std::vector<Replay::Event> events_;
    std::size_t next_ = 0;
};

}  // namespace brv
