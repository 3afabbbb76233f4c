#pragma once

#include <string>

#include "app/PlayScreens.h"
#include "sim/RulesState.h"

namespace brv {

// The game's own screens for the main menu. It owns the rules state its games
// and demonstrations play on, each new world starting where the last one left
// the generator and the counters.
class GamePlayScreens : public PlayScreens {
public:
    GamePlayScreens() = default;
    // Every game started from the menu has its colony steered by the bot
    // program `command` (split into words as a shell would, never run by one).
    explicit GamePlayScreens(std::string botCommand) : botCommand_(std::move(botCommand)) {}

    void seed(std::uint32_t seed) override { rules_.setGeneratorState(seed); }
    std::unique_ptr<View> newGame(GameContext& context, int colonies, int difficulty) override;
    std::unique_ptr<View> newDemo(GameContext& context, int difficulty) override;
    bool isOver(const View& game) const override;
    int score(const View& game) const override;
    int kills(const View& game) const override;
    GameResult result(const View& game) const override;
    GraphData graph(const View& game) const override;
    std::unique_ptr<View> newReplay(GameContext& context, const Replay& replay) override;

private:
    RulesState rules_{1};
    std::string botCommand_;
};

}  // namespace brv
