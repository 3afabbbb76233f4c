#pragma once

#include <cstdint>
#include <memory>

#include "gfx/LineGraph.h"
#include "ui/GameResult.h"

namespace brv {

class View;
struct GameContext;
struct Replay;

// How the main menu makes and reads the screens that play: a game for the
// player, the demonstration between computer colonies and a recorded game
// played again. The menu holds
// either kind in one place, as a View, and asks this object what it needs to
// know about a game that has come back.
class PlayScreens {
public:
    virtual ~PlayScreens() = default;

    // Seeds the generator of the rules state the games and demonstrations
    // made here play on, one after the other, once at start-up: every later
    // draw continues from this seed.
    virtual void seed(std::uint32_t seed) = 0;

    // A game of `colonies` (2 to 4) colonies at `difficulty` (0 Easy, 1
    // Medium, 2 Hard), or null when none can be made. Every screen made here
    // works with `context`, which outlives it.
    virtual std::unique_ptr<View> newGame(GameContext& context, int colonies, int difficulty) = 0;
    // The demonstration at `difficulty`, or null when none can be made.
    virtual std::unique_ptr<View> newDemo(GameContext& context, int difficulty) = 0;
    // Whether a game made by newGame has ended; its score is then final.
    virtual bool isOver(const View& game) const = 0;
    virtual int score(const View& game) const = 0;
    // The player's kills so far in a game made by newGame, over or not.
    virtual int kills(const View& game) const = 0;
    // How a game made by newGame ended, and after how long, once it is over.
    virtual GameResult result(const View& game) const = 0;
    // The course of a game made by newGame, as the graph after it shows it.
    virtual GraphData graph(const View& game) const = 0;
    // A recorded game played again, or null when none can be made. The
    // record plays by the rules loaded now.
    virtual std::unique_ptr<View> newReplay(GameContext& context, const Replay& replay) = 0;
};

}  // namespace brv
