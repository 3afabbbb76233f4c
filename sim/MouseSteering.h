#pragma once

#include "sim/Steering.h"

namespace brv {

// A person steering with the mouse: the game screen hands it each press as
// it comes, between two world updates, and it applies at once, so the flag
// shows on the frame after the press.
class MouseSteering : public Steering {
public:
    using Steering::Steering;

    // Presses apply as they come, not at decision points.
    void act(World& /*world*/, int /*update*/) override {}
    // A left press after `update` updates: sets or takes away a flag by the
    // click rule. A press at the flag limit is heard too: the record keeps
    // what reached the rules.
    ClickResult press(World& world, int update, int x, int y);
    // A right release: takes away a flag near the place, if there is one.
    bool release(World& world, int update, int x, int y);
};

}  // namespace brv
