#pragma once

#include <vector>

#include "platform/Clock.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

class Colony;
class LifeSource;

// A newcomer's plain game: every five seconds of game time it looks at its
// one flag. The flag stays on the home source (the one the colony started
// on, where the game plants its start flag) until that source holds less
// than a quarter of what it started with; then it goes to the nearest source
// holding more, taken away and set again by two clicks. It never sends its
// viruses against an enemy.
class NoviceBot : public PlayerBot {
public:
    static constexpr int kDecideEveryMs = 5000;
    // The kept source is left once it holds less than 1 / kSpentShare of its
    // reserve when it was first seen.
    static constexpr int kSpentShare = 4;

    using PlayerBot::PlayerBot;
    void play(World& world, int update) override;

private:
    struct Cell {
        int column = 0;
        int row = 0;
    };
    // A source as first seen: its reserve then is what it started with. The
    // address only tells sources apart and is never followed, since a spent
    // source is gone; a reserve that grew means a new source there.
    struct Seen {
        const void* source = nullptr;
        Cell cell;
        int start = 0;
    };

    void watchSources(const World& world);
    const LifeSource* stillThere(const World& world, const Seen& seen) const;
    const Seen* seenOf(const LifeSource& source) const;
    void takeStartFlag(const World& world, Colony& me);
    void decide(const World& world, Colony& me);
    const LifeSource* nearestHolding(const World& world, Cell from, int more) const;
    void moveFlag(Colony& me, const LifeSource& target);

    std::vector<Seen> seen_;
    std::vector<Seen> next_;
    int nextDecisionMs_ = kInputPauseUpdates * kTickMs;
    bool started_ = false;
    bool keeping_ = false;
    Seen kept_;
    bool hasFlag_ = false;
    Cell flag_;
    float pitch_ = 4;
};

}  // namespace brv
