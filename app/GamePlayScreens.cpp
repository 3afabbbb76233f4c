#include "app/GamePlayScreens.h"

#include <cstdio>
#include <filesystem>

#include "bothost/BotSteering.h"
#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/Replay.h"
#include "sim/view/DemoScreen.h"
#include "sim/view/GameScreen.h"
#include "sim/view/PopulationGraph.h"
#include "sim/view/ReplayScreen.h"
#include "ui/QuestionDialog.h"

namespace brv {

namespace {

// The bot of a game in the window: it answers without holding the world, and
// what it writes on its stderr goes to the game's. One that cannot start
// says why on stderr and on the field; the colony then plays unsteered.
std::unique_ptr<BotSteering> startBot(const World& world, const std::string& command) {
    BotLimits limits;
    // (Nowhere when the game's own stderr is closed.)
    limits.stderrPath = std::filesystem::exists("/dev/stderr") ? "/dev/stderr" : "";
    auto bot = std::make_unique<BotSteering>(0, BotHostSettings{}, limits);
    bot->answerWithoutWaiting();
    std::string why;
    if (!bot->start(command, world, {0}, why)) {
        std::fprintf(stderr, "brevora: %s\n", bot->stopped().c_str());
    }
    return bot;
}

}  // namespace

// Every game started from the menu is recorded, from the generator and
// counters as they stand before its world is built.
std::unique_ptr<View> GamePlayScreens::newGame(GameContext& context, int colonies, int difficulty) {
    Replay start = Replay::beginning(context.params, rules_, colonies, difficulty);
    auto game = std::make_unique<GameScreen>(context, rules_, colonies, difficulty);
    game->record(std::move(start));
    game->askResignWith([&context] {
        return QuestionDialog::inQuitBox(context, {"Resign", "this game?"});
    });
    if (!botCommand_.empty()) {
        game->steerBy(startBot(game->world(), botCommand_));
    }
    return game;
}

std::unique_ptr<View> GamePlayScreens::newDemo(GameContext& context, int difficulty) {
    return std::make_unique<DemoScreen>(context, rules_, difficulty);
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

int GamePlayScreens::kills(const View& game) const {
    const auto* screen = dynamic_cast<const GameScreen*>(&game);
    return screen != nullptr ? screen->world().colonies().front()->killCounter() : 0;
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
    if (screen == nullptr) {
        return {};
    }
    return populationGraph(screen->world(), screen->params(),
                           screen->gameOver() ? screen->endMs() : -1);
}

std::unique_ptr<View> GamePlayScreens::newReplay(GameContext& context, const Replay& replay) {
    return std::make_unique<ReplayScreen>(context, replay);
}

}  // namespace brv
