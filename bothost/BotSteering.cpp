#include "bothost/BotSteering.h"

#include <algorithm>
#include <chrono>
#include <numeric>

#include "bothost/CommandWords.h"
#include "sim/Colony.h"
#include "sim/World.h"

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
    : Steering(colony), host_(host), limits_(limits) {
    host_.decisionEvery = std::max(host_.decisionEvery, 1);
    bankUs_ = static_cast<long long>(std::max(host_.bankStartMs, 0)) * 1000;
}

bool BotSteering::start(const std::string& command, const World& world,
                        const std::vector<int>& botColonies, std::string& why) {
    const auto words = splitCommandWords(command, why);
    if (!words || !process_.start(*words, limits_.process, limits_.stderrPath, why)) {
        stopped_ = "bot of colony " + std::to_string(colony()) + " could not start: " + why;
        return false;
    }
    steering_ = true;
    if (!process_.writeLine(botGreetingLine(world, colony(), botColonies, host_))) {
        gone();
    }
    return true;
}

void BotSteering::act(World& world, int update) {
    if (!steering_ || update <= 0 || update % host_.decisionEvery != 0) {
        return;
    }
    if (waits_) {
        decide(world, update);
    } else {
        decideInWindow(world, update);
    }
}

// Headless, the world waits for the answer as long as the bank lasts.
void BotSteering::decide(World& world, int update) {
    if (!send(world, update)) {
        return;
    }
    if (readAnswer(world, update, static_cast<int>(bankUs_ / 1000)) == Answer::NotYet) {
        late();
    }
}

// In the window an answer to the state of the last decision point that came
// since is applied now; one the bank ran out on is late, and the next state
// goes out only once the last one is settled.
void BotSteering::decideInWindow(World& world, int update) {
    if (outstanding_) {
        const Answer answer = readAnswer(world, update, 0);
        if (answer == Answer::NotYet && bankUs_ > 0) {
            return;
        }
        if (answer == Answer::NotYet) {
            late();
        }
        if (!steering_) {
            return;
        }
    }
    if (send(world, update)) {
        readAnswer(world, update, kWindowWaitMs);
    }
}

bool BotSteering::send(const World& world, int update) {
    ++decisions_;
    bankUs_ += static_cast<long long>(std::max(host_.bankIncrementMs, 0)) * 1000;
    sent_ = SteadyClock::now();
    charged_ = sent_;
    if (!process_.writeLine(botStateLine(world, decisions_, update))) {
        gone();
        return false;
    }
    outstanding_ = true;
    return true;
}

void BotSteering::charge() {
    const auto now = SteadyClock::now();
    bankUs_ = std::max(
        0LL,
        bankUs_ - std::chrono::duration_cast<std::chrono::microseconds>(now - charged_).count());
    charged_ = now;
}

// Answers to earlier decisions (late ones) are stale: skipped, not faults.
// The wait ends at its deadline however many stale lines keep coming; past
// it only lines already read are taken, so a flood cannot hold the game.
BotSteering::Answer BotSteering::readAnswer(World& world, int update, int waitMs) {
    charge();
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::clamp(
                                                   waitMs, 0, static_cast<int>(bankUs_ / 1000)));
    for (;;) {
        charge();
        std::string line;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now());
        const int wait = static_cast<int>(std::max<long long>(left.count(), 0));
        const auto read = process_.readLine(line, wait, limits_.maxLineBytes);
        charge();
        if (read == ChildProcess::Read::Timeout) {
            return Answer::NotYet;
        }
        outstanding_ = false;
        if (read == ChildProcess::Read::TooLong) {
            fault(BotFault::OverLong);
            return Answer::Faulted;
        }
        if (read == ChildProcess::Read::Closed) {
            gone();
            return Answer::Faulted;
        }
        std::string why;
        const auto answer = parseBotAnswer(line, world, why);
        if (!answer) {
            fault(BotFault::Malformed);
            return Answer::Faulted;
        }
        if (answer->decision == decisions_) {
            roundTrips_.push_back(microsecondsSince(sent_));
            apply(world, update, *answer);
            return Answer::Applied;
        }
        outstanding_ = true;
        if (SteadyClock::now() >= deadline && !process_.lineBuffered()) {
            return Answer::NotYet;
        }
    }
}

// The bank ran out on an answer. A program whose input still holds part of
// what it was sent has stopped reading it: it could never catch up, so it is
// stopped at once rather than sent ever more.
void BotSteering::late() {
    outstanding_ = false;
    if (process_.unsentBytes() > 0) {
        ++faults_[static_cast<std::size_t>(BotFault::Late)];
        stop("bot of colony " + std::to_string(colony()) +
             ": stopped after its input stayed full past its time bank");
        return;
    }
    fault(BotFault::Late);
}

// Clicks that changed nothing (a removal with no flag in reach, a set at the
// limit) are not heard: replaying them would change nothing either.
void BotSteering::apply(World& world, int update, const BotAnswer& answer) {
    Colony* colony = steered(world);
    if (colony == nullptr) {
        return;
    }
    for (const BotAction& action : answer.actions) {
        if (action.set) {
            click(*colony, update, action.x, action.y);
        } else {
            remove(*colony, update, action.x, action.y);
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
    stop("bot of colony " + std::to_string(colony()) + ": stopped after " + std::to_string(total) +
         " faults (" + counts + ")");
}

// A program that ended is a crash whatever its status (it can answer no
// more); one still running with its output closed closed its pipe.
void BotSteering::gone() {
    const std::string who = "bot of colony " + std::to_string(colony());
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
    endProcess();
}

void BotSteering::endProcess() {
    process_.end();
    if (!process_.leftBehind().empty()) {
        leftBehind_ = "bot of colony " + std::to_string(colony()) + " " + process_.leftBehind();
    }
}

void BotSteering::finish(int update, bool finished, int winner) {
    if (steering_) {
        process_.writeLine(botEndLine(update, finished, winner, stopped_));
        // A moment to leave on its own, then it is ended with the game.
        process_.exited(100);
        endProcess();
        steering_ = false;
    }
}

}  // namespace brv
