#include "app/GamePlayScreens.h"

#include "config/GameParams.h"
#include "sim/Replay.h"
#include "sim/view/DemoScreen.h"
#include "sim/view/GameScreen.h"
#include "sim/view/PopulationGraph.h"
#include "sim/view/ReplayScreen.h"
#include "ui/QuestionDialog.h"

namespace brv {

// Every game started from the menu is recorded, from the generator and
// counters as they stand before its world is built.
std::unique_ptr<View> GamePlayScreens::newGame(GameContext& context, int colonies) {
    GameParams& params = context.params;
    Replay start = Replay::beginning(params, colonies, params.m_difficult);
    auto game = std::make_unique<GameScreen>(context, colonies);
    game->record(std::move(start));
    game->askResignWith([&context] {
        return QuestionDialog::inQuitBox(context, {"Resign", "this game?"});
    });
    return game;
}

std::unique_ptr<View> GamePlayScreens::newDemo(GameContext& context) {
    return std::make_unique<DemoScreen>(context);
}

// Only games made by newGame come back here, so the view is a GameScreen.
bool GamePlayScreens::isOver(const View& game) const {
    const auto* screen = dynamic_cast<const GameScreen*>(&game);
    return screen != nullptr && screen->gameOver();
}

int GamePlayScreens::score(const View& game) const {
    const auto* screen = dynamic_cast<const GameScreen*>(&game);
    return screen != nullptr ? screen->score() : 0;
}

GameResult GamePlayScreens::result(const View& game) const {
    const auto* screen = dynamic_cast<const GameScreen*>(&game);
    if (screen == nullptr) {
        return {};
    }
    GameResult result;
    result.gameMs = screen->endMs();
    if (screen->ending() == GameScreen::Ending::Won) {
        result.how = GameResult::How::Won;
    } else if (screen->ending() == GameScreen::Ending::Resigned) {
        result.how = GameResult::How::Resigned;
    }
    return result;
}

GraphData GamePlayScreens::graph(const View& game) const {
    const auto* screen = dynamic_cast<const GameScreen*>(&game);
    return screen != nullptr ? populationGraph(screen->world(), screen->params()) : GraphData{};
}

std::unique_ptr<View> GamePlayScreens::newReplay(GameContext& context, const Replay& replay) {
    return std::make_unique<ReplayScreen>(context, replay);
}

}  // namespace brv
