#include "tools/sim/ReplayRuns.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "config/GameParams.h"
#include "platform/FileIo.h"
#include "platform/Random.h"
#include "sim/Colony.h"
#include "sim/PlayerClick.h"
#include "sim/Replay.h"
#include "sim/World.h"
#include "tools/sim/Match.h"

namespace brv {

std::string recordRandomGame(GameParams& params, std::uint32_t seed, int colonies, int difficulty,
                             int maxUpdates, int clickEvery, const std::string& dir) {
    params.m_difficult = difficulty;
    World::resetProcessCounters();
    brv::srand(seed);
    Replay replay = Replay::beginning(params, colonies, difficulty);
    World world(params);
    setUpGame(world, colonies, difficulty);
    Colony& player = *world.colonies().front();
    LcgRandom clicks(seed ^ 0x5bd1e995u);
    const int width = params.m_screen_width;
    const int height = params.m_screen_height;
    // A record ends at the longest game a replay may hold.
    const int lastUpdate = std::min(maxUpdates, Replay::kMaxUpdates);
    int update = 0;
    while (update < lastUpdate && world.aliveColonyCount() > 1 && player.virusCount() > 0) {
        if (clickEvery > 0 && update % clickEvery == 0) {
            const int x = clicks.next() % width;
            const int y = clicks.next() % height;
            const bool removed = playerClick(player, x, y) == ClickResult::FlagRemoved;
            replay.noteInput(update, removed ? Replay::Input::FlagRemoved : Replay::Input::FlagSet,
                             x, y);
        }
        world.update(30);
        ++update;
        replay.noteUpdate(update, world);
    }
    replay.finish(update, world);
    const std::string path = dir + "/game-" + std::to_string(seed) + ".replay";
    const std::string text = replay.toText();
    return writeFileAtomically(path, text.data(), text.size()) ? path : std::string();
}

int checkReplayFile(GameParams& params, const std::string& path, bool timeline) {
    std::ostream& verdict = timeline ? std::cerr : std::cout;
    std::string why;
    const auto replay = Replay::readFile(path, why);
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
