#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bothost/BotSteering.h"
#include "sim/Timeline.h"
#include "tools/sim/BotSeats.h"

namespace brv {

class GameParams;
class World;

// One headless game between computer-steered colonies, as the demonstration
// plays it, optionally with an idle player colony at index 0.
struct MatchOptions {
    std::uint32_t seed = 1;
    int colonies = 4;
    int difficulty = 0;  // 0 Easy, 1 Medium, 2 Hard: every rule triple follows it
    int maxTicks = 200000;
    // Colony 0 is a player colony, steered by the reference player `bot`
    // (see PlayerBot: "idle" keeps its start flag and places no other).
    bool player = false;
    std::string bot = "idle";
    // Opponent kind per colony (0 Easy, 1 Medium, 2 Hard); empty: the kind the
    // difficulty implies.
    std::vector<int> ai;
    // Calls `trace` every `traceEvery` ticks (0: never).
    int traceEvery = 0;
    // World updates per tick, as the game's speed keys set them (1, 2 or 4).
    // The game checks its end after every update, so every speed plays the
    // same game; ticks are counted in world updates either way.
    int speed = 1;
    // Player-kind colonies steered by bot programs, which the world waits
    // for at every decision point. A game with bots ends when one colony or
    // none is left.
    std::vector<BotSeat> bots;
    BotHostSettings botHost;
    BotLimits botLimits;
    // When not empty, a game with bots is recorded as the replay
    // "bot-<seed>.replay" in this folder, and each bot's stderr goes to
    // "bot-<seed>-<colony>.log" there; with `ai`, the replay names each
    // colony's kind.
    std::string replayDir;
};

// How a bot steered its colony through a game.
struct BotReport {
    int colony = 0;
    int decisions = 0;
    std::array<int, kBotFaultKinds> faults{};
    // Why it stopped steering before the end; empty when it did not.
    std::string stopped;
    // What of its program could not be ended with it; empty when nothing.
    std::string leftBehind;
    // Round trips of its answered decisions, in milliseconds (-1 for none).
    double medianMs = -1;
    double p99Ms = -1;
};

struct MatchResult {
    std::uint32_t seed = 0;
    int colonies = 0;
    int difficulty = 0;
    // The tick on which the end condition first held, or the ticks played.
    int ticks = 0;
    bool finished = false;
    int winner = -1;
    std::vector<int> count;
    std::vector<int> kills;
    std::string checksum;
    // Most viruses on the field at the end of any tick.
    int peak = 0;
    // The corner each colony started in: 0 top left, 1 top right, 2 bottom
    // left, 3 bottom right.
    std::vector<int> corners;
    // Viruses alive at the end whose life passed a million: fighters grown
    // out of every fight, which can keep a game from ending.
    int hugeLives = 0;
    // Ticks each life source lived from its placement until it was spent, in
    // the order they were spent.
    std::vector<int> sourceTicks;
    // The same for the sources on the colonies' start cells, by colony; -1
    // while one still stands at the end.
    std::vector<int> startSourceTicks;
    // Each colony's virus count and kills, once a second of game time.
    Timeline timeline;
    std::vector<BotReport> bots;
    // The replay of a game with bots, when one was recorded and written.
    std::string replay;
};

// Follows the world's life sources from tick to tick and records how long
// each lived. A source is known by its address, its cell and a reserve that
// never grows, so a new source in a freed allocation counts as new.
class SourceWatch {
public:
    // `tick` is the number of updates played so far (0 after set-up).
    void observe(const World& world, int tick);
    const std::vector<int>& lifetimes() const { return lifetimes_; }
    // Lifetime of the n-th source ever seen (placement order), -1 if alive.
    int lifetimeOf(int n) const;

private:
    struct Seen {
        const void* source;
        int column, row, reserve, born, order;
    };
    std::vector<Seen> alive_;
    std::vector<Seen> next_;  // kept between calls, so a tick allocates nothing
    std::vector<int> lifetimes_;
    std::vector<int> byOrder_;
};

using TraceSink = std::function<void(int tick, const std::vector<int>& counts)>;

// Plays one game on a rules state of its own, seeded with the options' seed
// and its counters at 0, at the options' difficulty, so the result depends on
// the seed, the rules and the options alone. `params` must hold valid rules
// and the sprite descriptions; it is only read.
MatchResult playMatch(const GameParams& params, const MatchOptions& options,
                      const TraceSink& trace = {});

// One line of JSON: seed, colonies, difficulty, ticks, finished, winner, count,
// kills, checksum; for a game with bots, each bot's report and the replay.
std::string toJsonLine(const MatchResult& result);

// The timeline, one line of JSON per sample: the game it belongs to (a
// seed, or the replay file it was played from), its second of game time and
// each colony's virus count and kills then.
std::string timelineJsonLines(std::uint32_t seed, const Timeline& timeline);
std::string timelineJsonLines(const std::string& replay, const Timeline& timeline);

const char* difficultyName(int difficulty);
// -1 for a name that is not easy, medium or hard.
int difficultyFromName(const std::string& name);

}  // namespace brv
