#include "tools/sim/ReplayRuns.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>

#include "config/GameParams.h"
#include "platform/FileIo.h"
#include "platform/Random.h"
#include "records/ReplayFiles.h"
#include "sim/Colony.h"
#include "sim/PlayerClick.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/World.h"
#include "tools/sim/Match.h"
#include "tools/sim/PlayerBot.h"

namespace brv {

namespace {

// Asked before each world update to play the player's clicks of that update
// and note them in the record.
using Clicker = std::function<void(World& world, int update, Replay& replay)>;

// Plays one game as the game screen does, recorded as a replay in `dir`.
std::string recordGame(const GameParams& params, const GameRecording& game, const std::string& name,
                       const Clicker& clicker) {
    RulesState state(game.seed);
    Replay replay = Replay::beginning(params, state, game.colonies, game.difficulty);
    World world(params, state, game.difficulty);
    setUpGame(world, game.colonies, game.difficulty);
    const Colony& player = *world.colonies().front();
    // A record ends at the longest game a replay may hold.
    const int lastUpdate = std::min(game.maxUpdates, Replay::kMaxUpdates);
    int update = 0;
    while (update < lastUpdate && world.aliveColonyCount() > 1 && player.virusCount() > 0) {
        clicker(world, update, replay);
        world.update(30);
        ++update;
        replay.noteUpdate(update, world);
    }
    replay.finish(update, world);
    const std::string path = game.dir + "/" + name + "-" + std::to_string(game.seed) + ".replay";
    const std::string text = replay.toText();
    return writeFileAtomically(path, text.data(), text.size()) ? path : std::string();
}

void noteClick(Replay& replay, int update, ClickResult result, int x, int y) {
    replay.noteInput(
        update,
        result == ClickResult::FlagRemoved ? Replay::Input::FlagRemoved : Replay::Input::FlagSet, x,
        y);
}

}  // namespace

std::string recordRandomGame(const GameParams& params, const GameRecording& game, int clickEvery) {
    LcgRandom clicks(game.seed ^ 0x5bd1e995u);
    const int width = params.m_screen_width;
    const int height = params.m_screen_height;
    return recordGame(params, game, "game", [&](World& world, int update, Replay& replay) {
        if (clickEvery > 0 && update % clickEvery == 0) {
            const int x = clicks.next() % width;
            const int y = clicks.next() % height;
            noteClick(replay, update, playerClick(*world.colonies().front(), x, y), x, y);
        }
    });
}

std::string recordBotGame(const GameParams& params, const GameRecording& game,
                          const std::string& bot) {
    std::unique_ptr<PlayerBot> player = makePlayerBot(bot, 0, game.seed);
    if (!player) {
        return {};
    }
    int now = 0;
    Replay* record = nullptr;
    player->onClick(
        [&](ClickResult result, int x, int y) { noteClick(*record, now, result, x, y); });
    return recordGame(params, game, bot, [&](World& world, int update, Replay& replay) {
        now = update;
        record = &replay;
        player->act(world, update);
    });
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
