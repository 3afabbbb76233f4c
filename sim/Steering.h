#pragma once

#include <functional>
#include <string>

#include "sim/PlayerClick.h"

namespace brv {

class Colony;
class World;

// One click a steering made: the colony it went to, the world updates played
// before it, what the click rule did and where.
struct SteeringClick {
    int colony = 0;
    int update = 0;
    ClickResult result = ClickResult::Nothing;
    int x = 0;
    int y = 0;
};
using SteeringClickSink = std::function<void(const SteeringClick& click)>;

// Whoever steers colony K: a person at the mouse, a reference player, a bot
// program, a record played back. It is offered the world before each world
// update and answers with clicks by the player's click rule; each one is
// heard, with its update and colony, by the one sink the game records them
// from (see SteeringSet).
class Steering {
public:
    explicit Steering(int colony) : colony_(colony) {}
    virtual ~Steering() = default;
    Steering(const Steering&) = delete;
    Steering& operator=(const Steering&) = delete;

    int colony() const { return colony_; }
    // Before each world update; `update` counts the updates played.
    virtual void act(World& world, int update) = 0;
    // The game ended after `update` updates (`finished`: to its end, won by
    // colony `winner`, -1 for none); a steering with a process ends it.
    virtual void finish(int /*update*/, bool /*finished*/, int /*winner*/) {}
    // Why it stopped steering before the end; empty while it steers.
    virtual std::string stopped() const { return {}; }
    void onClick(SteeringClickSink sink) { sink_ = std::move(sink); }

protected:
    // A press at a logical position by the player's click rule, heard with
    // what it did (a press that set nothing too, unless reportsRefused says
    // otherwise).
    ClickResult click(Colony& colony, int update, int x, int y) const;
    // Takes away a flag near the place; heard when there was one.
    bool remove(Colony& colony, int update, int x, int y) const;
    void report(const SteeringClick& click) const;
    // The colony it steers; null when the world has no such colony.
    Colony* steered(World& world) const;
    // Whether a press that set nothing (at the flag limit) is heard.
    virtual bool reportsRefused() const { return true; }

private:
    int colony_;
    SteeringClickSink sink_;
};

}  // namespace brv
