#include <gtest/gtest.h>

#include "app/window/WindowProcedure.h"
#include "platform/VirtualKeys.h"
#include "tests/app/window/AppTestViews.h"

namespace brv {
namespace {

using test::JournalView;
using test::WindowFixture;
using Journal = std::vector<std::string>;

Message input(MessageKind kind, int key, int x = 0, int y = 0, int flags = 0) {
    Message m;
    m.kind = kind;
    m.key = key;
    m.x = x;
    m.y = y;
    m.flags = flags;
    return m;
}

// Hands every queued message to the window procedure, as the message loop
// does, without waiting; returns false once the quit message was taken. No
// case here queues more than a handful: past kMostMessages something posts a
// message for every one handled (a tick that posts the next tick), and the
// case fails instead of growing without end.
bool dispatchPending(WindowFixture& f) {
    constexpr int kMostMessages = 1000;
    Message m;
    for (int handled = 0; f.platform.takeMessage(m); ++handled) {
        if (handled == kMostMessages) {
            ADD_FAILURE() << "more than " << kMostMessages
                          << " messages in a row: each one handled queues another";
            return false;
        }
        if (m.kind == MessageKind::Quit) {
            return false;
        }
        windowProcedure(f.window, m);
    }
    return true;
}

TEST(WindowProcedure, InputReachesOnlyTheCurrentView) {
    Journal journal;
    WindowFixture f;
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("lower", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("upper", journal));
    journal.clear();
    const Message messages[] = {
        input(MessageKind::KeyDown, kVkEscape),
        input(MessageKind::Char, 'q'),
        input(MessageKind::MouseMove, 0, -3, 700, kMouseLeftHeld),
        input(MessageKind::LButtonDown, 0, 10, 20),
        input(MessageKind::LButtonUp, 0, 11, 21),
        input(MessageKind::RButtonUp, 0, 12, 22),
        {.kind = MessageKind::MouseWheel, .x = 13, .y = 23, .wheel = -2},
    };
    for (const Message& m : messages) {
        windowProcedure(f.window, m);
    }
    EXPECT_EQ(journal, (Journal{"upper: key 27", "upper: char 113x1", "upper: move -3,700 1",
                                "upper: ldown 10,20", "upper: lup 11,21", "upper: rup 12,22",
                                "upper: wheel 13,23 -2"}));

    // Without dialogs the top screen is current; the stack stays untouched by input.
    f.window.closeRequest();
    journal.clear();
    windowProcedure(f.window, input(MessageKind::KeyDown, 'A'));
    EXPECT_EQ(journal, (Journal{"main: key 65"}));

    // Input before any view exists goes nowhere.
    WindowFixture empty;
    windowProcedure(empty.window, input(MessageKind::KeyDown, 'A'));
}

TEST(WindowProcedure, TickAdvancesDrawsAndSwapsAlsoWhileMinimised) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("dialog", journal));
    journal.clear();
    windowProcedure(f.window, input(MessageKind::Tick, 0));
    EXPECT_EQ(journal, (Journal{"dialog: tick 30", "main: draw", "dialog: draw"}));
    EXPECT_EQ(f.platform.swapCount(), 1);
    EXPECT_FALSE(f.platform.tickInProgress());

    f.window.minimize();
    ASSERT_TRUE(dispatchPending(f));  // the window manager's answer
    journal.clear();
    windowProcedure(f.window, input(MessageKind::Tick, 0));
    EXPECT_EQ(journal, (Journal{"dialog: tick 30"}));
    EXPECT_EQ(f.platform.swapCount(), 2);

    journal.clear();
    windowProcedure(f.window, input(MessageKind::Restored, 0));
    EXPECT_EQ(journal, (Journal{"main: activate"}));
    // A window minimised by the desktop, not the game: restoring activates nothing.
    journal.clear();
    windowProcedure(f.window, input(MessageKind::Restored, 0));
    EXPECT_TRUE(journal.empty());
}

// A menu that answers Alt+F4 the way the main menu does: by asking for the
// window to close again.
class ClosingMenu : public JournalView {
public:
    ClosingMenu(Platform& platform, Journal& journal)
        : JournalView("menu", journal), platform_(platform) {}
    void onCloseRequest() override {
        JournalView::onCloseRequest();
        platform_.post(input(MessageKind::Close, 0));
    }

private:
    Platform& platform_;
};

// A game that answers Alt+F4 by ending itself at the next tick.
class ClosingGame : public JournalView {
public:
    ClosingGame(GlWindow& window, Journal& journal) : JournalView("game", journal), w_(window) {}
    void onCloseRequest() override {
        JournalView::onCloseRequest();
        result = kResultQuit;
        w_.closeTop();
    }

private:
    GlWindow& w_;
};

TEST(WindowProcedure, CloseWithoutF4HidesAndQuitsWithCodeZero) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("dialog", journal));
    journal.clear();
    f.platform.post(input(MessageKind::KeyDown, 'A'));
    f.platform.post(input(MessageKind::Close, 0));
    EXPECT_EQ(runMessageLoop(f.window), 0);
    EXPECT_FALSE(f.platform.visible());
    EXPECT_EQ(journal, (Journal{"dialog: key 65"}));
    EXPECT_EQ(f.window.dialogs().size(), 1u);
}

TEST(WindowProcedure, AltF4ClosesTheTopScreenFirstAndQuitsOnceF4IsReleased) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<ClosingMenu>(f.platform, journal));
    auto& game = test::pushScreen(f.window, std::make_unique<ClosingGame>(f.window, journal));
    test::pushDialog(f.window, std::make_unique<JournalView>("dialog", journal));
    journal.clear();

    f.platform.setKeyHeld(kVkF4, true);
    f.platform.post(input(MessageKind::Close, 0));
    f.platform.post(input(MessageKind::Tick, 0));
    ASSERT_TRUE(dispatchPending(f));
    // The dialog was dropped untold, the game asked to close and left at the tick.
    EXPECT_EQ(journal,
              (Journal{"game: closeRequest", "menu: activate", "menu: tick 30", "menu: draw"}));
    EXPECT_EQ(game.result, View::kResultQuit);
    EXPECT_TRUE(f.window.dialogs().empty());

    // The menu keeps asking while F4 is held ...
    journal.clear();
    f.platform.post(input(MessageKind::Close, 0));
    for (int i = 0; i < 3; ++i) {
        Message m;
        ASSERT_TRUE(f.platform.takeMessage(m));
        ASSERT_EQ(m.kind, MessageKind::Close);
        windowProcedure(f.window, m);
    }
    EXPECT_EQ(journal, (Journal{"menu: closeRequest", "menu: closeRequest", "menu: closeRequest"}));
    EXPECT_TRUE(f.platform.visible());
    // ... and the program ends once it is released.
    f.platform.setKeyHeld(kVkF4, false);
    EXPECT_EQ(runMessageLoop(f.window), 0);
    EXPECT_FALSE(f.platform.visible());
}

// A window manager takes Alt+F4 itself and sends a plain close while Alt is
// still held; a close from the task bar comes with no key held.
TEST(WindowProcedure, CloseWhileAltIsHeldIsAltF4Too) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<ClosingMenu>(f.platform, journal));
    test::pushScreen(f.window, std::make_unique<ClosingGame>(f.window, journal));
    journal.clear();
    f.platform.setKeyHeld(kVkAlt, true);
    f.platform.post(input(MessageKind::Close, 0));
    f.platform.post(input(MessageKind::Tick, 0));
    ASSERT_TRUE(dispatchPending(f));
    EXPECT_EQ(journal,
              (Journal{"game: closeRequest", "menu: activate", "menu: tick 30", "menu: draw"}));
    EXPECT_TRUE(f.platform.visible());
    f.platform.setKeyHeld(kVkAlt, false);
    f.platform.post(input(MessageKind::Close, 0));
    EXPECT_EQ(runMessageLoop(f.window), 0);
    EXPECT_FALSE(f.platform.visible());
}

TEST(WindowProcedure, MinimisedOnlyOnceTheWindowReallyIs) {
    Journal journal;
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    test::pushScreen(f.window, std::make_unique<JournalView>("main", journal));
    auto tickAndDraw = [&] {
        journal.clear();
        f.platform.post(input(MessageKind::Tick, 0));
        EXPECT_TRUE(dispatchPending(f));
        return journal;
    };
    // No window manager refuses the request: the game goes on drawing.
    f.platform.setMinimizeHonoured(false);
    f.window.minimize();
    EXPECT_EQ(tickAndDraw(), (Journal{"main: tick 30", "main: draw"}));
    EXPECT_FALSE(f.window.minimized());

    // Honoured, drawing stops until the window is restored, which activates once.
    f.platform.setMinimizeHonoured(true);
    f.window.minimize();
    EXPECT_EQ(tickAndDraw(), (Journal{"main: tick 30"}));
    EXPECT_TRUE(f.window.minimized());
    f.platform.post(input(MessageKind::Restored, 0));
    EXPECT_EQ(tickAndDraw(), (Journal{"main: activate", "main: tick 30", "main: draw"}));

    // Minimised by the desktop, not the game: drawing goes on as before.
    f.platform.post(input(MessageKind::Minimized, 0));
    EXPECT_EQ(tickAndDraw(), (Journal{"main: tick 30", "main: draw"}));
}

// A view whose tick takes `costMs` of (headless) wall-clock time.
class SlowView : public View {
public:
    SlowView(HeadlessPlatform& platform, std::uint32_t costMs)
        : platform_(platform), costMs_(costMs) {}
    void onTick(int elapsedMs) override {
        received += elapsedMs;
        platform_.advanceClock(costMs_);
    }
    int received = 0;

private:
    HeadlessPlatform& platform_;
    std::uint32_t costMs_;
};

TEST(WindowProcedure, TicksFallingDueDuringASlowTickAreDropped) {
    WindowFixture f;
    ASSERT_TRUE(f.window.create("Brevora", 0, 0, 800, 600));
    auto& slow = test::pushScreen(f.window, std::make_unique<SlowView>(f.platform, 100));

    f.platform.advanceClock(30);
    ASSERT_EQ(f.platform.pendingCount(MessageKind::Tick), 1u);
    ASSERT_TRUE(dispatchPending(f));
    // The timer fired at 60, 90 and 120 during the tick and posted nothing.
    EXPECT_EQ(f.platform.milliseconds(), 130u);
    EXPECT_EQ(f.platform.pendingCount(), 0u);
    EXPECT_EQ(slow.received, 30);

    // The next event after the slow tick posts exactly one tick, worth 30 ms.
    f.platform.advanceClock(20);
    EXPECT_EQ(f.platform.pendingCount(MessageKind::Tick), 1u);
    Message m;
    ASSERT_TRUE(f.platform.takeMessage(m));
    windowProcedure(f.window, m);
    EXPECT_EQ(slow.received, 60);
    EXPECT_EQ(f.platform.pendingCount(), 0u);

    // Ticks posted while the loop is not running (the art loading at
    // start-up) wait in the queue and each counts as a full tick.
    f.window.stopTimer();
    f.window.startTimer();
    auto& quick = test::pushScreen(f.window, std::make_unique<SlowView>(f.platform, 0));
    f.platform.advanceClock(90);
    EXPECT_EQ(f.platform.pendingCount(MessageKind::Tick), 3u);
    ASSERT_TRUE(dispatchPending(f));
    EXPECT_EQ(quick.received, 90);

    // A destroyed window has no timer: nothing more is posted.
    f.window.destroy();
    f.platform.advanceClock(300);
    EXPECT_EQ(f.platform.pendingCount(), 0u);
}

}  // namespace
}  // namespace brv
