#pragma once

#include <vector>

#include "sim/Colony.h"

namespace brv {

class LifeSource;
class World;

// The Easy and Medium opponent: keeps as many flags as its limit allows on
// randomly chosen life sources and drops flags whose source is gone.
class ComputerColony : public Colony {
public:
    ComputerColony(float red, float green, float blue, const GameRules& params, World* world);

    // Thinks once more than 1.5 s have passed and, since the think time is
    // never set back, on every tick after that (or, where the rules set
    // m_ai_think_ms, once per that many milliseconds); then renews the trend
    // mark.
    void update(int elapsedMs, int index) override;

    int thinkTime() const { return thinkTime_; }

protected:
    // Every flag that does not stand on a life source's cell is destroyed.
    void cleanUpFlags();
    // Adds a flag on a life source's cell (through the flag limit).
    void flagSource(const LifeSource& source);
    // Adds elapsed time, saturating so that a game of any length never wraps.
    static void accumulate(int& time, int elapsedMs);
    World& world() const { return *world_; }
    // The rules' wait between rethinks in a game with a player; 0 for the
    // designed one.
    int thinkInterval() const;

    int thinkTime_ = 0;

private:
    void think();

    World* world_;
    std::vector<const LifeSource*> candidates_;
};

}  // namespace brv
