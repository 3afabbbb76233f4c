#pragma once

#include <array>
#include <string>
#include <vector>

#include "bothost/BotSteering.h"

namespace brv {

class SteeringSet;
class World;

// A colony steered by a bot program, and the program's command.
struct BotSeat {
    int colony = 0;
    std::string command;
};

// How one bot steered its game: its decisions, its faults by kind, why it
// stopped steering before the end (empty when it did not), what of its
// program could not be ended (empty when nothing) and the round trip of each
// answered decision, in microseconds.
struct BotRun {
    int colony = 0;
    int decisions = 0;
    std::array<int, kBotFaultKinds> faults{};
    std::string stopped;
    std::string leftBehind;
    std::vector<long long> roundTripsUs;
};

// Starts the bot program `command` as a game would and ends it at once, so a
// tool can refuse one that cannot start (no such program, a folder, a file
// that is not executable, an empty command) before it plays. False with
// `why` when it cannot.
bool botCanStart(const std::string& command, std::string& why);

// The bot programs of one headless game, started beside the world once it is
// set up and joined to the game's steerings, which ask them and hear their
// clicks. A program that cannot be started leaves its colony unsteered, and
// its run says why.
class BotSeats {
public:
    // Each bot's stderr goes to "<logStem>-<colony>.log"; nowhere when
    // `logStem` is empty.
    BotSeats(const std::vector<BotSeat>& seats, const BotHostSettings& host,
             const BotLimits& limits, const std::string& logStem, const World& world,
             SteeringSet& steerings);

    // How each bot steered, once the steerings have finished the game.
    std::vector<BotRun> runs() const;

private:
    // Owned by the steerings.
    std::vector<const BotSteering*> bots_;
};

}  // namespace brv
