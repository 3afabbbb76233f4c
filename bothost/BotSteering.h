#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "bothost/BotProtocol.h"
#include "platform/ChildProcess.h"
#include "sim/Steering.h"

namespace brv {

class World;

// What a bot did wrong at a decision. Each one leaves that decision empty.
enum class BotFault { Late, Malformed, OverLong, Crash, ClosedPipe };
inline constexpr std::size_t kBotFaultKinds = 5;
// "late", "malformed", "over_long", "crash", "closed_pipe".
const char* botFaultName(BotFault fault);

// Limits of the host, not rules: how many faults a bot may make before its
// colony plays on unsteered, the longest answer line, what its process may
// use of the machine and where its stderr goes (empty: nowhere).
struct BotLimits {
    int maxFaults = 10;
    std::size_t maxLineBytes = 16 * 1024;
    ChildLimits process{3600, 2ull * 1024 * 1024 * 1024};
    std::string stderrPath;
};

// A colony steered by a bot program: starts it, greets it, and at every
// decision point sends the state and waits for the answer (the world waits,
// so the game depends only on the seed and the answers) as long as the
// bot's time bank allows. The answer's clicks go through the player's click
// rule. Faults are counted; after too many, or once the program has gone, the
// colony plays on unsteered and `stopped` says why.
class BotSteering : public Steering {
public:
    // How long a decision point in the window waits for the answer before it
    // leaves it to the next one: a moment of the 30 ms tick.
    static constexpr int kWindowWaitMs = 5;

    BotSteering(int colony, const BotHostSettings& host, const BotLimits& limits);

    // Starts `command` (split into words as a shell would, never run by one)
    // and sends the greeting. False with `why` when it cannot be started;
    // the colony then plays unsteered.
    bool start(const std::string& command, const World& world, const std::vector<int>& botColonies,
               std::string& why);
    // In the window the world does not wait: a state is answered within a
    // moment or its answer is taken at the next decision point (and heard
    // with that update), while the bank still bounds how long the bot may
    // think. No new state is sent while one is unanswered.
    void answerWithoutWaiting() { waits_ = false; }
    // Before each world update; `update` counts the updates played.
    void act(World& world, int update) override;
    // Tells the bot how the game ended and ends its process.
    void finish(int update, bool finished, int winner) override;

    int decisions() const { return decisions_; }
    int faults(BotFault fault) const { return faults_[static_cast<std::size_t>(fault)]; }
    // Why the bot stopped steering before the end; empty while it steers.
    std::string stopped() const override { return stopped_; }
    // What of the program's tree could not be ended with it, e.g. "bot of
    // colony 1 left running after it: pid 812 (sleep)"; empty when nothing.
    const std::string& leftBehind() const { return leftBehind_; }
    // The time from a state sent to its answer read, per answered decision,
    // in microseconds.
    const std::vector<long long>& roundTrips() const { return roundTrips_; }

protected:
    bool reportsRefused() const override { return false; }

private:
    enum class Answer { Applied, NotYet, Faulted };

    void decide(World& world, int update);
    void decideInWindow(World& world, int update);
    // Sends the state of a new decision and starts its clock.
    bool send(const World& world, int update);
    // Reads lines for up to `waitMs` (never past the bank, however many
    // stale lines come) until the answer to the newest decision, which is
    // applied at `update`.
    Answer readAnswer(World& world, int update, int waitMs);
    // Counts a late answer; stops a bot that no longer reads its input.
    void late();
    // Takes the time since the last charge from the bank.
    void charge();
    void apply(World& world, int update, const BotAnswer& answer);
    void fault(BotFault fault);
    // The program closed its output or could not be written to.
    void gone();
    void stop(const std::string& why);
    // Ends the program and notes what it left running.
    void endProcess();

    BotHostSettings host_;
    BotLimits limits_;
    ChildProcess process_;
    bool steering_ = false;
    bool waits_ = true;
    // A state was sent and not yet answered (only ever across updates in the
    // window).
    bool outstanding_ = false;
    std::chrono::steady_clock::time_point sent_;
    std::chrono::steady_clock::time_point charged_;
    int decisions_ = 0;
    long long bankUs_ = 0;
    std::array<int, kBotFaultKinds> faults_{};
    std::string stopped_;
    std::string leftBehind_;
    std::vector<long long> roundTrips_;
};

}  // namespace brv
