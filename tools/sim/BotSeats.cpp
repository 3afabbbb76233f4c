#include "tools/sim/BotSeats.h"

#include "bothost/CommandWords.h"
#include "platform/ChildProcess.h"

namespace brv {

bool botCanStart(const std::string& command, std::string& why) {
    const auto words = splitCommandWords(command, why);
    if (!words) {
        return false;
    }
    if (words->empty() || words->front().empty()) {
        why = "no program named";
        return false;
    }
    ChildProcess process;
    return process.start(*words, ChildLimits{}, "", why);
}

BotSeats::BotSeats(const std::vector<BotSeat>& seats, const BotHostSettings& host,
                   const BotLimits& limits, const std::string& logStem, const World& world,
                   const BotClickSink& sink) {
    std::vector<int> colonies;
    for (const BotSeat& seat : seats) {
        colonies.push_back(seat.colony);
    }
    for (const BotSeat& seat : seats) {
        BotLimits own = limits;
        if (!logStem.empty()) {
            own.stderrPath = logStem + "-" + std::to_string(seat.colony) + ".log";
        }
        auto& bot = bots_.emplace_back(std::make_unique<BotSteering>(seat.colony, host, own));
        bot->onClick(sink);
        std::string why;
        bot->start(seat.command, world, colonies, why);
    }
}

void BotSeats::act(World& world, int update) {
    for (auto& bot : bots_) {
        bot->act(world, update);
    }
}

std::vector<BotRun> BotSeats::finish(int update, bool finished, int winner) {
    std::vector<BotRun> runs;
    for (auto& bot : bots_) {
        bot->finish(update, finished, winner);
        BotRun run;
        run.colony = bot->colony();
        run.decisions = bot->decisions();
        for (std::size_t k = 0; k < kBotFaultKinds; ++k) {
            run.faults[k] = bot->faults(static_cast<BotFault>(k));
        }
        run.stopped = bot->stopped();
        run.leftBehind = bot->leftBehind();
        run.roundTripsUs = bot->roundTrips();
        runs.push_back(std::move(run));
    }
    return runs;
}

}  // namespace brv
