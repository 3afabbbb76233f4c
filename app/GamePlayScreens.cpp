#include "app/GamePlayScreens.h"

#include "app/View.h"

namespace brv {

// The game and demonstration screens join here once the simulation offers
// them; until then the menu has nothing to start and stays on its own.
std::unique_ptr<View> GamePlayScreens::newGame(int /*colonies*/) {
    return nullptr;
}

std::unique_ptr<View> GamePlayScreens::newDemo() {
    return nullptr;
}

bool GamePlayScreens::isOver(const View& /*game*/) const {
    return false;
}

int GamePlayScreens::score(const View& /*game*/) const {
    return 0;
}

}  // namespace brv
