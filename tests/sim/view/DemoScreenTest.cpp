#include "sim/view/DemoScreen.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/VirtualKeys.h"
#include "sim/ComputerColony.h"
#include "sim/HardComputerColony.h"
#include "tests/sim/view/ScreenFixture.h"

namespace brv {
namespace {

using test::ScreenWindow;
using test::SimRules;

constexpr int kEscape = 27;
constexpr int kEnter = 13;

struct Demo {
    explicit Demo(int difficulty = 0)
        : rules("", difficulty),
          win(rules.params()),
          screen(win.push(
              std::make_unique<DemoScreen>(win.context(), rules.state(), rules.difficulty()))) {}
    bool running() const { return win.window.currentView() == screen; }

    SimRules rules;
    ScreenWindow win;
    DemoScreen* screen;
};

TEST(DemoScreen, FourComputerColoniesOfTheCurrentDifficulty) {
    for (const int difficulty : {0, 1, 2}) {
        Demo demo(difficulty);
        const World& world = demo.screen->world();
        ASSERT_EQ(world.colonies().size(), 4u);
        EXPECT_EQ(world.humanColony().colony, nullptr);
        for (const auto& colony : world.colonies()) {
            EXPECT_TRUE(colony->isComputer());
            EXPECT_EQ(dynamic_cast<HardComputerColony*>(colony.get()) != nullptr, difficulty == 2);
            EXPECT_GT(colony->virusCount(), 0);
        }
        EXPECT_FLOAT_EQ(world.colonies()[0]->red(), 1.0f);
        EXPECT_FLOAT_EQ(world.colonies()[1]->green(), 1.0f);
        EXPECT_FLOAT_EQ(world.colonies()[2]->blue(), 0.3f);
        EXPECT_FLOAT_EQ(world.colonies()[3]->blue(), 0.6f);
    }
}

TEST(DemoScreen, ReleasesEndItOnlyAfterTheInputPauseAndOtherKeysNever) {
    for (const bool right : {false, true}) {
        Demo demo;
        auto release = [&] {
            right ? demo.screen->onRButtonUp(400, 300, 0) : demo.screen->onLButtonUp(400, 300, 0);
        };
        release();
        demo.screen->onKeyDown('A');
        demo.screen->onKeyDown(' ');
        demo.win.ticks(16);
        release();
        demo.win.ticks(1);
        EXPECT_TRUE(demo.running()) << "inside the pause";
        ASSERT_LE(demo.screen->inputPause(), 0);
        demo.screen->onKeyDown('A');
        // + speeds the demonstration up, and not the games after it.
        demo.screen->onKeyDown(kVkOemPlus);
        demo.win.ticks(3);
        EXPECT_TRUE(demo.running());
        EXPECT_EQ(demo.screen->worldUpdatesInLastTick(), 2);
        EXPECT_EQ(demo.rules.params().m_preferences.speed, 1);
        release();
        demo.win.ticks(1);
        EXPECT_FALSE(demo.running());
        EXPECT_EQ(demo.screen->result, View::kResultConfirmed);
    }
}

TEST(DemoScreen, EscapeEnterAndTheCloseRequestEndIt) {
    {
        Demo demo;
        demo.screen->onKeyDown(kEscape);
        demo.win.ticks(1);
        EXPECT_FALSE(demo.running()) << "keys need no pause";
        EXPECT_EQ(demo.win.platform.minimizeCount(), 0);
    }
    {
        Demo demo;
        demo.screen->onKeyDown(kEnter);
        EXPECT_EQ(demo.win.platform.minimizeCount(), 1);
        demo.win.ticks(1);
        EXPECT_FALSE(demo.running());
    }
    {
        Demo demo;
        demo.win.window.closeRequest();
        EXPECT_EQ(demo.screen->result, View::kResultQuit);
        demo.win.ticks(1);
        EXPECT_FALSE(demo.running());
    }
}

TEST(DemoScreen, EndsTwoSecondsAfterOneColonyIsLeft) {
    Demo demo;
    World& world = demo.screen->world();
    for (int k = 1; k < 4; ++k) {
        test::clearViruses(world, world.colonies()[k].get());
    }
    demo.win.ticks(1);
    ASSERT_TRUE(demo.screen->finished());
    demo.win.ticks(67);
    EXPECT_TRUE(demo.running());
    demo.win.ticks(1);
    EXPECT_FALSE(demo.running());
    EXPECT_EQ(demo.screen->result, View::kResultConfirmed);
}

}  // namespace
}  // namespace brv
