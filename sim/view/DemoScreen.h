#pragma once

#include "sim/view/PlayScreen.h"

namespace brv {

// The game playing itself while the main menu is left alone: four computer
// colonies of the difficulty it is given until at most one is left, then two
// more seconds. A button release after the input pause, Escape or Enter ends
// it early; the main screen destroys it once it is current again.
class DemoScreen : public PlayScreen {
public:
    static constexpr int kColonies = 4;

    // The world plays at `difficulty` on a rules state kept by the screen's
    // maker for the screen's life.
    DemoScreen(GameContext& context, RulesState& rules, int difficulty);

    void onLButtonUp(int x, int y, int flags) override;
    void onRButtonUp(int x, int y, int flags) override;

protected:
    bool endReached() const override;
};

}  // namespace brv
