#pragma once

#include <memory>
#include <string>
#include <vector>

namespace brv {

class World;

// A stand-in for a person steering colony 0 of a headless game: it sees the
// field and clicks, through the game screen's own click rule, after the same
// input pause a game starts with, never faster than a person would.
class PlayerBot {
public:
    // Updates (of 30 ms) before the first click: the game's input pause.
    static constexpr int kInputPauseUpdates = 17;

    virtual ~PlayerBot() = default;
    // Called before each world update; `update` counts the updates played.
    virtual void act(World& world, int update) = 0;
};

// The reference players by name: "idle" keeps its start flag and clicks
// never; "forager" keeps a flag on the life source nearest its colony and
// sends what the flag allowance adds against the nearest weaker enemy.
// Null for an unknown name.
std::unique_ptr<PlayerBot> makePlayerBot(const std::string& name);
const std::vector<std::string>& playerBotNames();

}  // namespace brv
