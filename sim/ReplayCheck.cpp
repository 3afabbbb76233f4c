#include "sim/ReplayCheck.h"

#include <algorithm>

#include "config/GameRules.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"
#include "sim/ReplaySteering.h"
#include "sim/RulesState.h"
#include "sim/World.h"

namespace brv {

void setUpGame(World& world, int colonies, int difficulty) {
    setUpGame(world, colonies, difficulty, {0});
}

namespace {

void addColonies(World& world, int colonies, const std::vector<int>& steered,
                 const std::vector<int>& kinds) {
    const int count = std::clamp(colonies, 1, World::kMaxColonies);
    for (int k = 0; k < count; ++k) {
        const ColonyColour& c = kColonyColours[static_cast<std::size_t>(k)];
        const bool player = std::find(steered.begin(), steered.end(), k) != steered.end();
        world.addColony(c.red, c.green, c.blue, !player, kinds[static_cast<std::size_t>(k)]);
    }
    world.setUp();
}

}  // namespace

void setUpGame(World& world, int colonies, int difficulty, const std::vector<int>& steered) {
    addColonies(world, colonies, steered, std::vector<int>(World::kMaxColonies, difficulty));
}

// The player may lose while two computer colonies fight on.
bool gameEnded(const World& world) {
    return world.aliveColonyCount() <= 1 || world.colonies().front()->virusCount() == 0;
}

void setUpGame(World& world, const Replay& replay) {
    // A record checked on reading has one kind per colony or none.
    if (replay.kinds.empty() || replay.kinds.size() != static_cast<std::size_t>(replay.colonies)) {
        setUpGame(world, replay.colonies, replay.difficulty, replay.steered);
        return;
    }
    addColonies(world, replay.colonies, replay.steered, replay.kinds);
}

ReplayOutcome checkReplay(const GameRules& params, const Replay& replay) {
    if (std::string refusal = replay.rulesRefusal(params); !refusal.empty()) {
        return {false, -1, std::move(refusal), {}};
    }
    // The check plays on a state of its own: the game it was asked from (a
    // menu, a running game, a runner between games) keeps its course.
    RulesState state(0);
    state.setGeneratorState(replay.generator);
    state.setCounters(replay.columnParity, replay.influenceTick);
    World world(params, state, replay.difficulty);
    setUpGame(world, replay);
    ReplaySteering clicks(replay);
    std::size_t c = 0;
    int firstDifference = -1;
    for (int update = 0;; ++update) {
        clicks.act(world, update);
        if (update == replay.endUpdate) {
            break;
        }
        world.update(30);
        if (c < replay.checks.size() && replay.checks[c].update == update + 1) {
            if (world.checksum() != replay.checks[c].checksum) {
                firstDifference = update + 1;
                break;
            }
            ++c;
        }
    }
    ReplayOutcome outcome = replay.verdict(firstDifference, world.checksum());
    outcome.timeline = world.timeline();
    return outcome;
}

}  // namespace brv
