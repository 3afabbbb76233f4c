#pragma once

#include <cstdint>
#include <vector>

#include "platform/Random.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

class Colony;
class LifeSource;

// A person in their first games, playing from the screen. It glances at the
// field every few hundred milliseconds, but what it notices (the ring of the
// source its flag stands on running low, the source gone, enemy viruses
// crowding it) it acts on only after a reaction time drawn between two and
// eight seconds, and then on the field as it stands by then. It judges
// sources by what is drawn: the reserve ring and the viruses around them. It
// skips a source an enemy crowds or whose ring is mostly empty, and now and
// then walks past the nearest good source to a farther one. Until its colony
// has doubled it keeps one flag, taken away and set again; after that it
// sets the new flag first and takes the old one away a reaction later. It
// never pauses and never sends its viruses against an enemy. Its draws come
// from a generator of its own, seeded with the game, so its games are
// reproducible and its clicks replay.
class NewcomerBot : public PlayerBot {
public:
    static constexpr int kLookEveryUpdates = 10;
    static constexpr int kReactionMinMs = 2000;
    static constexpr int kReactionMaxMs = 8000;
    // A ring below this share of the source's start reads as running low.
    static constexpr float kLowRing = 0.3f;
    // A source is worth walking to while its ring shows at least this much.
    static constexpr float kFullRing = 0.5f;
    // Enemy viruses this close to a source (cells beyond its feeding reach),
    // this many and more than its own there, make it an enemy's.
    static constexpr int kCrowdMargin = 3;
    static constexpr int kCrowdCount = 6;
    // One move in this many goes to the second-best source instead.
    static constexpr int kFartherOneIn = 4;

    NewcomerBot(int colony, std::uint32_t seed);
    void play(World& world, int update) override;

private:
    struct Cell {
        int column = 0;
        int row = 0;
    };
    enum class Plan { None, Move, DropOld };

    bool wantsToMove(const World& world, const Colony& me) const;
    void move(const World& world, Colony& me);
    const LifeSource* chooseSource(const World& world, const Colony& me, Cell centre);
    const LifeSource* sourceByFlag(const World& world) const;
    bool crowded(const World& world, const Colony& me, const LifeSource& source) const;
    Cell centreOf(const World& world, const Colony& me) const;
    bool flagStands(const Colony& me, Cell cell) const;
    ClickResult click(Colony& me, Cell cell);
    int reactionMs();

    LcgRandom rng_;
    Plan plan_ = Plan::None;
    int dueMs_ = 0;
    bool started_ = false;
    int startCount_ = 0;
    bool hasFlag_ = false;
    Cell flag_;
    bool hasOld_ = false;
    Cell old_;
    int reach_ = 6;
    float pitch_ = 4;
};

}  // namespace brv
