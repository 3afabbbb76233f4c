#include <gtest/gtest.h>

#include "tests/app/window/AppTestViews.h"

namespace brv {
namespace {

using test::JournalView;
using test::WindowFixture;
using Journal = std::vector<std::string>;

TEST(GlWindowStacks, ClosedDialogIsReportedToTheViewBelowBeforeItsTick) {
    Journal journal;
    WindowFixture f;
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    auto& lower = test::pushDialog(f.window, std::make_unique<JournalView>("lower", journal));
    auto& upper = test::pushDialog(f.window, std::make_unique<JournalView>("upper", journal));
    EXPECT_EQ(f.window.currentView(), &upper);
    journal.clear();

    upper.result = View::kResultCancelled;
    f.window.closeTop();
    f.window.closeTop();  // asked twice before the tick: still one view closes
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"lower: closed 1 upper", "lower: tick 30"}));
    EXPECT_EQ(f.window.dialogs(), (std::vector<View*>{&lower}));

    journal.clear();
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"lower: tick 30"}));

    lower.result = View::kResultConfirmed;
    f.window.closeTop();
    journal.clear();
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"main: closed 0 lower", "main: tick 30"}));
}

TEST(GlWindowStacks, ClosedScreenActivatesTheOneBelowAndTheLastScreenStays) {
    Journal journal;
    WindowFixture f;
    auto& main = test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    auto& game = test::pushScreen(f.window, std::make_unique<JournalView>("game", journal));
    EXPECT_EQ(journal, (Journal{"main: activate", "game: activate"}));
    journal.clear();

    f.window.closeTop();
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"main: activate", "main: tick 30"}));

    journal.clear();
    f.window.closeTop();
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"main: tick 30"}));
    EXPECT_EQ(f.window.screens(), (std::vector<View*>{&main}));

    // A screen pushed while a dialog is open stays under the dialog.
    auto& dialog = test::pushDialog(f.window, std::make_unique<JournalView>("dialog", journal));
    f.window.pushScreen(std::move(main.returned.back()));
    EXPECT_EQ(f.window.currentView(), &dialog);
    // The start-up hand-over takes a screen off without activating anything.
    journal.clear();
    f.window.removeScreen(&main);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(f.window.screens(), (std::vector<View*>{&game}));
}

TEST(GlWindowStacks, DrawsTopScreenThenDialogsBottomUpUnlessMinimised) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<JournalView>("below", journal));
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("lower", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("upper", journal));
    journal.clear();
    f.window.drawAll();
    EXPECT_EQ(journal, (Journal{"main: draw", "lower: draw", "upper: draw"}));

    f.window.minimize();
    f.window.onMinimized();  // the window manager's answer
    journal.clear();
    f.window.drawAll();
    f.window.tick(30);
    EXPECT_EQ(journal, (Journal{"upper: tick 30"}));

    // Restoring activates the top screen once, even under a dialog.
    journal.clear();
    f.window.onRestored();
    f.window.onRestored();
    EXPECT_EQ(journal, (Journal{"main: activate"}));
    f.window.drawAll();
    EXPECT_EQ(journal.size(), 4u);
}

TEST(GlWindowStacks, CloseRequestDropsEveryDialogUntoldAndAsksTheTopScreen) {
    Journal journal;
    WindowFixture f;
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("lower", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("upper", journal));
    journal.clear();
    f.window.closeRequest();
    EXPECT_TRUE(f.window.dialogs().empty());
    EXPECT_EQ(journal, (Journal{"main: closeRequest"}));
    f.window.tick(30);
    EXPECT_EQ(journal.back(), "main: tick 30");
}

struct FullScreenFixture {
    FullScreenFixture() {
        f.platform.setDesktop(1600, 900);
        f.window.create("Brevora", 100, 50, 700, 500);
        f.window.setLogicalSize(800, 600);
    }
    WindowFixture f;
};

TEST(GlWindowFullScreen, CoversTheDesktopKeepingTheAspectAndLeavingRestoresTheWindow) {
    FullScreenFixture s;
    ASSERT_TRUE(s.f.window.enterFullScreen());
    EXPECT_TRUE(s.f.window.fullScreen());
    EXPECT_TRUE(s.f.platform.fullScreen());
    EXPECT_EQ(s.f.window.width(), 1600);
    EXPECT_EQ(s.f.window.height(), 900);
    // The same window and context: nothing is re-created, the timer runs on.
    EXPECT_EQ(s.f.platform.createCount(), 1);
    EXPECT_EQ(s.f.platform.destroyCount(), 0);
    EXPECT_TRUE(s.f.platform.timerRunning());
    // 800 by 600 scaled by 1.5 fills the height; bars of 200 pixels each side.
    EXPECT_EQ(s.f.window.toLogicalX(200), 0);
    EXPECT_EQ(s.f.window.toLogicalX(1399), 799);
    EXPECT_EQ(s.f.window.toLogicalX(0), -133) << "in the bar, left of the screen";
    EXPECT_EQ(s.f.window.toLogicalY(450), 300);
    EXPECT_EQ(s.f.window.toLogicalY(899), 599);
    EXPECT_TRUE(s.f.window.enterFullScreen()) << "already there";

    ASSERT_TRUE(s.f.window.leaveFullScreen());
    const WindowRect back = s.f.platform.windowRect();
    EXPECT_EQ(back.left, 100);
    EXPECT_EQ(back.top, 50);
    EXPECT_EQ(back.right - back.left, 700);
    EXPECT_EQ(back.bottom - back.top, 500);
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_FALSE(s.f.platform.fullScreen());
    // A window stretches the logical screen again.
    EXPECT_EQ(s.f.window.toLogicalX(350), 400);
    EXPECT_EQ(s.f.window.toLogicalY(250), 300);
    EXPECT_TRUE(s.f.window.leaveFullScreen()) << "nothing to leave";
}

TEST(GlWindowFullScreen, ARefusedSwitchLeavesTheWindowAsItWas) {
    FullScreenFixture s;
    s.f.platform.setFullScreenRefused(true);
    EXPECT_FALSE(s.f.window.enterFullScreen());
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_EQ(s.f.window.width(), 700);
    EXPECT_EQ(s.f.platform.windowRect().left, 100);
    EXPECT_EQ(s.f.platform.createCount(), 1);
    EXPECT_EQ(s.f.window.toLogicalX(350), 400);
}

TEST(GlWindowFullScreen, MinimiseFromFullScreenReturnsToTheWindowFirst) {
    FullScreenFixture s;
    ASSERT_TRUE(s.f.window.enterFullScreen());
    s.f.window.minimize();
    s.f.window.onMinimized();
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_TRUE(s.f.window.minimized());
    EXPECT_EQ(s.f.platform.minimizeCount(), 1);
    EXPECT_EQ(s.f.platform.windowRect().left, 100);
    EXPECT_EQ(s.f.window.width(), 700);
}

}  // namespace
}  // namespace brv
