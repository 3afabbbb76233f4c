#include "sim/view/GameScreen.h"

#include <algorithm>

#include "config/GameParams.h"
#include "sim/Colony.h"
#include "sim/ColonyColours.h"

namespace brv {

GameScreen::GameScreen(int colonies) {
    const int count = std::clamp(colonies, kMinColonies, kMaxColonies);
    const int difficulty = gameParams().m_difficult;
    for (int k = 0; k < count; ++k) {
        const ColonyColour& c = kColonyColours[static_cast<std::size_t>(k)];
        world().addColony(c.red, c.green, c.blue, k != 0, difficulty);
    }
    world().setUp();
    Preferences& prefs = gameParams().m_preferences;
    if (prefs.firstRun) {
        // Once per run; the preferences file written at the end marks the
        // game as played.
        prefs.firstRun = false;
        showHint(kFirstRunHintMs);
    }
}

// Named in the colour the player's viruses are drawn in just now.
std::string GameScreen::hintText() const {
    const bool colourBlind = gameParams().m_preferences.colourBlindPalette;
    return std::string("You are ") + (colourBlind ? "orange" : "red") +
           ": a left click sets a flag, and your viruses go to the nearest one.";
}

Colony& GameScreen::player() const {
    return *world().colonies().front();
}

bool GameScreen::endReached() const {
    // The player may lose while two computer colonies fight on.
    return world().aliveColonyCount() <= 1 || player().virusCount() == 0;
}

void GameScreen::onClosingFinished() {
    score_ = player().killCounter();
}

void GameScreen::onLButtonDown(int x, int y, int flags) {
    View::onLButtonDown(x, y, flags);
    if (inputPaused() || paused()) {
        return;
    }
    // A press near a flag takes it away; elsewhere it plants one while the
    // colony's limit allows.
    if (!player().removeFlagNear(x, y)) {
        player().addFlagAt(x, y);
    }
}

void GameScreen::onRButtonUp(int x, int y, int flags) {
    View::onRButtonUp(x, y, flags);
    if (!inputPaused() && !paused()) {
        player().removeFlagNear(x, y);
    }
}

}  // namespace brv
