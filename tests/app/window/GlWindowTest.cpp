#include <gtest/gtest.h>

#include "app/window/ResourceReloader.h"
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

// Counts reloads and checks that textures are released while the old context
// still lives and loaded once the new one exists.
class CountingResources : public ResourceReloader {
public:
    void releaseAll() override {
        ++released;
        contextAtRelease = contextAtRelease && platform->hasWindow();
    }
    void loadAll() override {
        ++loaded;
        contextAtLoad = contextAtLoad && platform->hasWindow();
    }
    const HeadlessPlatform* platform = nullptr;
    int released = 0;
    int loaded = 0;
    bool contextAtRelease = true;
    bool contextAtLoad = true;
};

struct FullScreenFixture {
    FullScreenFixture() : f(&resources) {
        resources.platform = &f.platform;
        f.platform.setDisplayModes({{1024, 768, 60}, {800, 600, 75}});
        f.window.create("Brevora", 100, 50, 700, 500);
    }
    CountingResources resources;
    WindowFixture f;
};

TEST(GlWindowFullScreen, RefusedWidthsAndUnreadableModesLeaveEverythingAlone) {
    FullScreenFixture s;
    for (int width : {320, 400, 640}) {
        EXPECT_FALSE(s.f.window.enterFullScreen(width, 480));
    }
    s.f.platform.setCanReadDisplayMode(false);
    EXPECT_FALSE(s.f.window.enterFullScreen(800, 600));
    EXPECT_EQ(s.f.platform.createCount(), 1);
    EXPECT_EQ(s.f.platform.destroyCount(), 0);
    EXPECT_EQ(s.resources.released, 0);
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_EQ(s.f.window.width(), 700);
}

TEST(GlWindowFullScreen, SwitchesReCreateTheWindowAndReloadTheArt) {
    FullScreenFixture s;
    ASSERT_TRUE(s.f.window.enterFullScreen(800, 600));
    EXPECT_TRUE(s.f.window.fullScreen());
    EXPECT_TRUE(s.f.platform.fullScreen());
    const WindowRect r = s.f.platform.windowRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 600);
    EXPECT_EQ(s.f.window.width(), 800);
    EXPECT_TRUE(s.f.platform.timerRunning());
    EXPECT_EQ(s.f.platform.pendingCount(MessageKind::Quit), 0u);

    // A second switch keeps the geometry of the window before the first one.
    ASSERT_TRUE(s.f.window.enterFullScreen(1024, 768));
    ASSERT_TRUE(s.f.window.leaveFullScreen());
    const WindowRect back = s.f.platform.windowRect();
    EXPECT_EQ(back.left, 100);
    EXPECT_EQ(back.top, 50);
    EXPECT_EQ(back.right - back.left, 700);
    EXPECT_EQ(back.bottom - back.top, 500);
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_FALSE(s.f.platform.fullScreen());
    EXPECT_EQ(s.resources.released, 3);
    EXPECT_EQ(s.resources.loaded, 3);
    EXPECT_TRUE(s.resources.contextAtRelease);
    EXPECT_TRUE(s.resources.contextAtLoad);
}

TEST(GlWindowFullScreen, FailedModeChangeStillMovesTheWindowToTheCorner) {
    FullScreenFixture s;
    ASSERT_TRUE(s.f.window.enterFullScreen(1280, 1024));
    EXPECT_FALSE(s.f.window.fullScreen());
    EXPECT_FALSE(s.f.platform.fullScreen());
    const WindowRect r = s.f.platform.windowRect();
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 1280);
    EXPECT_EQ(s.f.platform.createCount(), 2);
    EXPECT_EQ(s.resources.loaded, 1);
}

TEST(GlWindowFullScreen, MinimiseFromFullScreenReturnsToTheWindowFirst) {
    FullScreenFixture s;
    ASSERT_TRUE(s.f.window.enterFullScreen(800, 600));
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
