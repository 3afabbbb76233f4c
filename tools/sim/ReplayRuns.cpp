#include "tools/sim/ReplayRuns.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "config/GameParams.h"
#include "platform/FileIo.h"
#include "platform/Random.h"
#include "records/ReplayFiles.h"
#include "sim/Colony.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/Steering.h"
#include "sim/SteeringSet.h"
#include "sim/World.h"
#include "tools/sim/Match.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

namespace {

// A player who clicks at random: every `every` updates a flag is set or
// removed at a random place of the field. The clicks come from a generator
// of their own, so the rules' draws stay the game's.
class RandomClicks : public Steering {
public:
    RandomClicks(std::uint32_t seed, int every, int width, int height)
        : Steering(0), clicks_(seed ^ 0x5bd1e995u), every_(every), width_(width), height_(height) {}

    void act(World& world, int update) override {
        Colony* colony = steered(world);
        if (every_ > 0 && update % every_ == 0 && colony != nullptr) {
            const int x = clicks_.next() % width_;
            const int y = clicks_.next() % height_;
            click(*colony, update, x, y);
        }
    }

private:
    LcgRandom clicks_;
    int every_;
    int width_;
    int height_;
};

// Plays one game as the game screen does, with colony 0 steered by `player`,
// recorded as a replay in `dir`: a press at the flag limit is noted as the
// game screen notes it.
std::string recordGame(const GameParams& params, const GameRecording& game, const std::string& name,
                       std::unique_ptr<Steering> player) {
    RulesState state(game.seed);
    Replay replay = Replay::beginning(params, state, game.colonies, game.difficulty);
    World world(params, state, game.difficulty);
    setUpGame(world, game.colonies, game.difficulty);
    SteeringSet steerings(SteeringSet::Refused::NotedAsSet);
    steerings.recordInto(&replay);
    steerings.add(std::move(player));
    const Colony& first = *world.colonies().front();
    // A record ends at the longest game a replay may hold.
    const int lastUpdate = std::min(game.maxUpdates, Replay::kMaxUpdates);
    int update = 0;
    while (update < lastUpdate && world.aliveColonyCount() > 1 && first.virusCount() > 0) {
        steerings.act(world, update);
        world.update(30);
        ++update;
        replay.noteUpdate(update, world);
    }
    replay.finish(update, world);
    const std::string path = game.dir + "/" + name + "-" + std::to_string(game.seed) + ".replay";
    const std::string text = replay.toText();
    return writeFileAtomically(path, text.data(), text.size()) ? path : std::string();
}

}  // namespace

std::string recordRandomGame(const GameParams& params, const GameRecording& game, int clickEvery) {
    return recordGame(params, game, "game",
                      std::make_unique<RandomClicks>(game.seed, clickEvery, params.m_screen_width,
                                                     params.m_screen_height));
}

std::string recordBotGame(const GameParams& params, const GameRecording& game,
                          const std::string& bot) {
    std::unique_ptr<PlayerBot> player = makePlayerBot(bot, 0, game.seed);
    if (!player) {
        return {};
    }
    return recordGame(params, game, bot, std::move(player));
}

int checkReplayFile(const GameParams& params, const std::string& path, bool timeline) {
    std::ostream& verdict = timeline ? std::cerr : std::cout;
    std::string why;
    const auto replay = ReplayFiles::readFile(path, why);
    if (!replay) {
        verdict << path << ": refused: " << why << "\n";
        return 2;
    }
    const ReplayOutcome outcome = checkReplay(params, *replay);
    if (timeline) {
        std::cout << timelineJsonLines(path, outcome.timeline);
    }
    verdict << path << ": " << outcome.why << "\n";
    if (outcome.firstDifference < 0 && !outcome.matches) {
        return 2;  // other rules: refused, not played
    }
    return outcome.matches ? 0 : 1;
}

}  // namespace brv
