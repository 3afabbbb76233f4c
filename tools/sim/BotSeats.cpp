#include "tools/sim/BotSeats.h"

#include <memory>

#include "bothost/CommandWords.h"
#include "platform/ChildProcess.h"
#include "sim/SteeringSet.h"

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
                   SteeringSet& steerings) {
    std::vector<int> colonies;
    for (const BotSeat& seat : seats) {
        colonies.push_back(seat.colony);
    }
    for (const BotSeat& seat : seats) {
        BotLimits own = limits;
        if (!logStem.empty()) {
            own.stderrPath = logStem + "-" + std::to_string(seat.colony) + ".log";
        }
        auto& bot = steerings.add(std::make_unique<BotSteering>(seat.colony, host, own));
        bots_.push_back(&bot);
        std::string why;
        bot.start(seat.command, world, colonies, why);
    }
}

std::vector<BotRun> BotSeats::runs() const {
    std::vector<BotRun> runs;
    for (const BotSteering* bot : bots_) {
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
