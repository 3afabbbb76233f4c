#include "sim/view/DemoScreen.h"

#include "config/GameParams.h"
#include "sim/ColonyColours.h"

namespace brv {

DemoScreen::DemoScreen(GameContext& context, RulesState& rules, int difficulty)
    : PlayScreen(context, context.params, rules, difficulty) {
    for (int k = 0; k < kColonies; ++k) {
        const ColonyColour& c = kColonyColours[static_cast<std::size_t>(k)];
        world().addColony(c.red, c.green, c.blue, true, difficulty);
    }
    world().setUp();
}

bool DemoScreen::endReached() const {
    return world().aliveColonyCount() <= 1;
}

void DemoScreen::onLButtonUp(int x, int y, int flags) {
    const bool ends = !inputPaused();
    View::onLButtonUp(x, y, flags);
    if (ends) {
        close();
    }
}

void DemoScreen::onRButtonUp(int x, int y, int flags) {
    const bool ends = !inputPaused();
    View::onRButtonUp(x, y, flags);
    if (ends) {
        close();
    }
}

}  // namespace brv
