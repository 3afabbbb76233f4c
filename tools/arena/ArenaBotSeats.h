#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "sim/bot/BotSteering.h"
#include "tools/arena/ArenaGame.h"
#include "tools/arena/Participant.h"

namespace brv {

class World;

// The bot programs of one arena game, one per program seat, started beside
// the world once it is set up; every click their answers make goes to
// `sink`. A program that cannot be started leaves its colony unsteered, and
// its report says why.
class ArenaBotSeats {
public:
    // Each bot's stderr goes to "<logStem>-<colony>.log"; nowhere when
    // `logStem` is empty.
    ArenaBotSeats(const std::array<const Participant*, 2>& seats, const BotHostSettings& host,
                  const std::string& logStem, const World& world, const BotClickSink& sink);

    // Before each world update; `update` counts the updates played.
    void act(World& world, int update);
    // Tells each bot how the game ended, ends it and reports how it steered.
    std::vector<ArenaBotReport> finish(int update, bool finished, int winner);

private:
    std::vector<std::unique_ptr<BotSteering>> bots_;
};

}  // namespace brv
