#pragma once

#include "sim/view/PlayScreen.h"

namespace brv {

// The game playing itself while the main menu is left alone: four computer
// colonies of the current difficulty until at most one is left, then two
// more seconds. A button release after the input pause, Escape or Enter ends
// it early; the main screen destroys it once it is current again.
class DemoScreen : public PlayScreen {
public:
    static constexpr int kColonies = 4;

    explicit DemoScreen(GameContext& context);
    // The same on a rules state kept by its maker for the screen's life.
    DemoScreen(GameContext& context, RulesState& rules);

    void onLButtonUp(int x, int y, int flags) override;
    void onRButtonUp(int x, int y, int flags) override;

protected:
    bool endReached() const override;
};

}  // namespace brv
