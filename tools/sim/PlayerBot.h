#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sim/Steering.h"

namespace brv {

class Colony;
class World;

// A stand-in for a person steering one colony of a headless game (colony 0,
// the player's, unless told another): it sees the field and clicks, through
// the game screen's own click rule, after the same input pause a game starts
// with, never faster than a person would. Every click is heard with what it
// did: a reference player's game is recorded as a replay from these, as the
// game screen records a person's.
class PlayerBot : public Steering {
public:
    // Updates (of 30 ms) before the first click: the game's input pause.
    static constexpr int kInputPauseUpdates = 17;

    explicit PlayerBot(int colony = 0) : Steering(colony) {}
    // Called before each world update; `update` counts the updates played.
    void act(World& world, int update) final;

protected:
    // What the player does before the update `update`.
    virtual void play(World& world, int update) = 0;
    // A press at a logical position, by the game screen's click rule.
    ClickResult press(Colony& colony, int x, int y) const;

private:
    int now_ = 0;
};

// The reference players by name: "idle" keeps its start flag and clicks
// never; "forager" keeps a flag on the life source nearest its colony and
// sends what the flag allowance adds against the nearest weaker enemy;
// "novice" keeps one flag on its home source until that is mostly spent, then
// on the nearest richer source, and never attacks (see NoviceBot);
// "newcomer" plays as a person in their first games, with a person's
// reaction time drawn from `seed` (see NewcomerBot). Each steers colony
// `colony`. Null for an unknown name.
std::unique_ptr<PlayerBot> makePlayerBot(const std::string& name, int colony = 0,
                                         std::uint32_t seed = 0);
const std::vector<std::string>& playerBotNames();

}  // namespace brv
