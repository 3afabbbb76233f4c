#include "tools/arena/ArenaBotSeats.h"

namespace brv {

ArenaBotSeats::ArenaBotSeats(const std::array<const Participant*, 2>& seats,
                             const BotHostSettings& host, const std::string& logStem,
                             const World& world, const BotClickSink& sink) {
    std::vector<int> colonies;
    for (std::size_t k = 0; k < seats.size(); ++k) {
        if (seats[k]->kind == Participant::Kind::Program) {
            colonies.push_back(static_cast<int>(k));
        }
    }
    for (const int colony : colonies) {
        BotLimits limits;
        if (!logStem.empty()) {
            limits.stderrPath = logStem + "-" + std::to_string(colony) + ".log";
        }
        auto& bot = bots_.emplace_back(std::make_unique<BotSteering>(colony, host, limits));
        bot->onClick(sink);
        std::string why;
        bot->start(seats[static_cast<std::size_t>(colony)]->command, world, colonies, why);
    }
}

void ArenaBotSeats::act(World& world, int update) {
    for (auto& bot : bots_) {
        bot->act(world, update);
    }
}

std::vector<ArenaBotReport> ArenaBotSeats::finish(int update, bool finished, int winner) {
    std::vector<ArenaBotReport> reports;
    for (auto& bot : bots_) {
        bot->finish(update, finished, winner);
        ArenaBotReport report;
        report.colony = bot->colony();
        report.decisions = bot->decisions();
        for (std::size_t k = 0; k < kBotFaultKinds; ++k) {
            report.faults[k] = bot->faults(static_cast<BotFault>(k));
        }
        report.stopped = bot->stopped();
        report.roundTrips.add(bot->roundTrips());
        reports.push_back(std::move(report));
    }
    return reports;
}

}  // namespace brv
