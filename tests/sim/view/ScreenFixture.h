#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "platform/HeadlessPlatform.h"
#include "sim/Colony.h"
#include "sim/Virus.h"
#include "sim/view/PlayScreen.h"
#include "tests/app/window/PointerMessage.h"
#include "tests/sim/SimWorld.h"
#include "tests/support/TestContext.h"

namespace brv::test {

// Stands in for the main screen: keeps the screen that comes back to it.
class HoldingView : public View {
public:
    void onScreenClosed(std::unique_ptr<View> screen) override { returned = std::move(screen); }
    std::unique_ptr<View> returned;
};

// A headless window of the given size over the 800 by 600 logical screen,
// with a view standing in for the main screen at the bottom of the stack, and
// the context of the screens pushed on it over `params`.
class ScreenWindow {
public:
    explicit ScreenWindow(GameParams& params, int width = 800, int height = 600)
        : own(params, &window), window(platform) {
        window.create("Brevora", 0, 0, width, height);
        window.setLogicalSize(800, 600);
        auto bottom = std::make_unique<HoldingView>();
        menu = bottom.get();
        window.pushScreen(std::move(bottom));
    }
    GameContext& context() { return own.context; }
    // Pushes a screen the window then owns and returns it for the test to watch.
    template <class S>
    S* push(std::unique_ptr<S> screen) {
        S* watched = screen.get();
        window.pushScreen(std::move(screen));
        return watched;
    }
    // Pushes again the screen that came back to the stand-in main screen.
    void pushReturned() { window.pushScreen(std::move(menu->returned)); }
    // A pointer message in window pixels, dispatched as the window does.
    void send(MessageKind kind, int x, int y) { sendPointer(window, kind, x, y); }
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    // Window ticks, as the frame timer delivers them.
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            window.tick(30);
        }
    }

    HeadlessPlatform platform;
    // Before the window: the screens on its stacks use it as they go.
    TestContext own;
    GlWindow window;
    HoldingView* menu = nullptr;
};

// Empties the grid of every virus of `colony` (all colonies when null).
inline void clearViruses(World& world, const Colony* colony = nullptr) {
    for (int c = 0; c < world.columnCount(); ++c) {
        for (int r = 0; r < world.rowCount(); ++r) {
            const Virus* v = world.virusAt(c, r);
            if (v != nullptr && (colony == nullptr || v->colony() == colony)) {
                world.takeVirus(c, r);
            }
        }
    }
}

// The column parity the next update of `world` visits.
inline int nextParity(const World& world) {
    const int parity = world.rules().columnParity();
    return parity + 1 > 1 ? 0 : parity + 1;
}

// A virus that dies at its colony's next update, placed alone in a column the
// next tick visits, on row `row`.
inline void putDying(World& world, Colony* colony, int column, int row) {
    const int c = column - column % 2 + nextParity(world);
    put(world, colony, c, row, 0);
}

}  // namespace brv::test
