#include "sim/bot/BotSteering.h"

#include <algorithm>
#include <chrono>
#include <numeric>

#include "sim/Colony.h"
#include "sim/World.h"
#include "sim/bot/CommandWords.h"

namespace brv {

namespace {

using SteadyClock = std::chrono::steady_clock;

long long microsecondsSince(SteadyClock::time_point start) {
    return std::chrono::duration_cast<std::chrono::microseconds>(SteadyClock::now() - start)
        .count();
}

// How each fault is named when a bot is stopped for them.
const char* const kFaultPhrases[kBotFaultKinds] = {"late answers", "malformed lines",
                                                   "over-long lines", "crashes", "closed pipes"};

}  // namespace

const char* botFaultName(BotFault fault) {
    static const char* const names[kBotFaultKinds] = {"late", "malformed", "over_long", "crash",
                                                      "closed_pipe"};
    return names[static_cast<std::size_t>(fault)];
}

BotSteering::BotSteering(int colony, const BotHostSettings& host, const BotLimits& limits)
    : colony_(colony), host_(host), limits_(limits) {
    host_.decisionEvery = std::max(host_.decisionEvery, 1);
    bankUs_ = static_cast<long long>(std::max(host_.bankStartMs, 0)) * 1000;
}

bool BotSteering::start(const std::string& command, const World& world,
                        const std::vector<int>& botColonies, std::string& why) {
    const auto words = splitCommandWords(command, why);
    if (!words || !process_.start(*words, limits_.process, limits_.stderrPath, why)) {
        stopped_ = "bot of colony " + std::to_string(colony_) + " could not start: " + why;
        return false;
    }
    steering_ = true;
    if (!process_.writeLine(botGreetingLine(world, colony_, botColonies, host_))) {
        gone();
    }
    return true;
}

void BotSteering::act(World& world, int update) {
    if (steering_ && update > 0 && update % host_.decisionEvery == 0) {
        decide(world, update);
    }
}

void BotSteering::decide(World& world, int update) {
    ++decisions_;
    bankUs_ += static_cast<long long>(std::max(host_.bankIncrementMs, 0)) * 1000;
    const auto sent = SteadyClock::now();
    if (!process_.writeLine(botStateLine(world, decisions_, update))) {
        gone();
        return;
    }
    // Answers to earlier decisions (late ones) are stale: skipped, not faults.
    for (;;) {
        std::string line;
        const auto waited = SteadyClock::now();
        const auto read =
            process_.readLine(line, static_cast<int>(bankUs_ / 1000), limits_.maxLineBytes);
        bankUs_ = std::max(0LL, bankUs_ - microsecondsSince(waited));
        if (read == ChildProcess::Read::Timeout) {
            fault(BotFault::Late);
            return;
        }
        if (read == ChildProcess::Read::TooLong) {
            fault(BotFault::OverLong);
            return;
        }
        if (read == ChildProcess::Read::Closed) {
            gone();
            return;
        }
        std::string why;
        const auto answer = parseBotAnswer(line, world, why);
        if (!answer) {
            fault(BotFault::Malformed);
            return;
        }
        if (answer->decision == decisions_) {
            roundTrips_.push_back(microsecondsSince(sent));
            apply(world, update, *answer);
            return;
        }
    }
}

// Clicks that changed nothing (a removal with no flag in reach, a set at the
// limit) are not heard: replaying them would change nothing either.
void BotSteering::apply(World& world, int update, const BotAnswer& answer) {
    if (colony_ < 0 || colony_ >= static_cast<int>(world.colonies().size())) {
        return;
    }
    Colony& colony = *world.colonies()[static_cast<std::size_t>(colony_)];
    for (const BotAction& action : answer.actions) {
        ClickResult result = ClickResult::Nothing;
        if (action.set) {
            result = playerClick(colony, action.x, action.y);
        } else if (colony.removeFlagNear(action.x, action.y)) {
            result = ClickResult::FlagRemoved;
        }
        if (result != ClickResult::Nothing && sink_) {
            sink_(colony_, update, result, action.x, action.y);
        }
    }
}

void BotSteering::fault(BotFault kind) {
    ++faults_[static_cast<std::size_t>(kind)];
    const int total = std::accumulate(faults_.begin(), faults_.end(), 0);
    if (total < limits_.maxFaults) {
        return;
    }
    std::string counts;
    for (std::size_t k = 0; k < kBotFaultKinds; ++k) {
        if (faults_[k] > 0) {
            counts +=
                (counts.empty() ? "" : ", ") + std::to_string(faults_[k]) + " " + kFaultPhrases[k];
        }
    }
    stop("bot of colony " + std::to_string(colony_) + ": stopped after " + std::to_string(total) +
         " faults (" + counts + ")");
}

// A program that ended is a crash whatever its status (it can answer no
// more); one still running with its output closed closed its pipe.
void BotSteering::gone() {
    const std::string who = "bot of colony " + std::to_string(colony_);
    if (process_.exited(200)) {
        ++faults_[static_cast<std::size_t>(BotFault::Crash)];
        stop(who + " " + process_.exitText());
    } else {
        ++faults_[static_cast<std::size_t>(BotFault::ClosedPipe)];
        stop(who + " closed its pipe");
    }
}

void BotSteering::stop(const std::string& why) {
    steering_ = false;
    stopped_ = why;
    process_.end();
}

void BotSteering::finish(int update, bool finished, int winner) {
    if (steering_) {
        process_.writeLine(botEndLine(update, finished, winner, stopped_));
        // A moment to leave on its own, then it is ended with the game.
        process_.exited(100);
        process_.end();
        steering_ = false;
    }
}

}  // namespace brv
