#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/MainScreen.h"
#include "app/PlayScreens.h"
#include "app/window/GlWindow.h"
#include "app/window/View.h"
#include "config/GameParams.h"
#include "platform/HeadlessPlatform.h"
#include "tests/app/window/PointerMessage.h"
#include "tests/support/SaveFolderIn.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestContext.h"
#include "ui/Button.h"

namespace brv::test {

// A stand-in for a game or demonstration screen: the test decides when it
// is over, its score and its result.
class FakeGame : public View {
public:
    int colonies = 0;
    int difficultyAtBuild = -1;
    bool demo = false;
    bool over = false;
    int score = 0;
    int activations = 0;
    void activate() override { ++activations; }
};

// Makes fake screens and remembers them (the window and the menu own them).
class FakeScreens : public PlayScreens {
public:
    void seed(std::uint32_t value) override {
        seeded = value;
        ++seeds;
    }
    std::unique_ptr<View> newGame(GameContext&, int colonies, int difficulty) override {
        auto game = std::make_unique<FakeGame>();
        game->colonies = colonies;
        game->difficultyAtBuild = difficulty;
        games.push_back(game.get());
        return game;
    }
    std::unique_ptr<View> newDemo(GameContext&, int difficulty) override {
        auto demo = std::make_unique<FakeGame>();
        demo->demo = true;
        demo->difficultyAtBuild = difficulty;
        demos.push_back(demo.get());
        return demo;
    }
    bool isOver(const View& game) const override { return static_cast<const FakeGame&>(game).over; }
    int score(const View& game) const override { return static_cast<const FakeGame&>(game).score; }
    int kills(const View& game) const override { return static_cast<const FakeGame&>(game).score; }
    GameResult result(const View&) const override { return {}; }
    GraphData graph(const View&) const override { return {}; }
    std::unique_ptr<View> newReplay(GameContext&, const Replay&) override {
        auto replay = std::make_unique<FakeGame>();
        replays.push_back(replay.get());
        return replay;
    }

    std::uint32_t seeded = 0;
    int seeds = 0;
    std::vector<FakeGame*> games;
    std::vector<FakeGame*> demos;
    std::vector<FakeGame*> replays;
};

// The shipped rules and layout as loose files, a headless window of 800 by
// 600 with a GL context (the menu draws) and the menu as its only screen.
// The menu makes its games with `real` when given (it must outlive the
// fixture), with the fake screens otherwise.
class MenuFixture {
public:
    explicit MenuFixture(PlayScreens* real = nullptr)
        : params(BREVORA_SOURCE_DIR "/assets"),
          platform(true),
          own_(params, &window),
          window(platform) {
        params.m_time_before_demo = 3000;
        // Saved files go to a folder of the test's own, never into the sources.
        params.m_save_folder = saveFolderIn(saves.path());
        window.create("Brevora", 0, 0, 800, 600);
        window.setLogicalSize(800, 600);
        auto owned = std::make_unique<MainScreen>(own_.context, real != nullptr ? *real : screens);
        menu = owned.get();
        window.pushScreen(std::move(owned));
        // As in the game, a frame is drawn before any input: the buttons then
        // take their size from the art (none here, so size 0) instead of the
        // overlapping 130 by 60 they test against before the first draw.
        window.drawAll();
    }
    MenuFixture(const MenuFixture&) = delete;
    MenuFixture& operator=(const MenuFixture&) = delete;

    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            window.tick(30);
        }
    }
    // A press and release on the corner of a menu button (window pixels equal
    // logical units at 800 by 600), which is inside even at size 0.
    void press(MainScreen::Control which) {
        const Button& button = menu->button(which);
        const int x = static_cast<int>(button.x);
        const int y = static_cast<int>(button.y);
        window.currentView()->onLButtonDown(x, y, 0);
        window.currentView()->onLButtonUp(x, y, 0);
    }
    // A pointer message in window pixels, dispatched as the window does.
    void send(MessageKind kind, int x, int y) { sendPointer(window, kind, x, y); }
    View* top() const { return window.screens().front(); }
    std::size_t closesPosted() const { return platform.pendingCount(MessageKind::Close); }

    GameContext& context() { return own_.context; }
    TempDir saves;
    GameParams params;
    HeadlessPlatform platform;

private:
    // Before the window: the views on its stacks use it as they go.
    TestContext own_;

public:
    GlWindow window;
    FakeScreens screens;
    // Owned by the window's screen stack.
    MainScreen* menu = nullptr;
};

}  // namespace brv::test
