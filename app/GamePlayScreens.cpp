#include "app/GamePlayScreens.h"

#include "sim/view/DemoScreen.h"
#include "sim/view/GameScreen.h"

namespace brv {

std::unique_ptr<View> GamePlayScreens::newGame(int colonies) {
    return std::make_unique<GameScreen>(colonies);
}

std::unique_ptr<View> GamePlayScreens::newDemo() {
    return std::make_unique<DemoScreen>();
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

}  // namespace brv
