#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "app/window/GlWindow.h"
#include "app/window/PointerScale.h"
#include "config/GameParams.h"
#include "platform/HeadlessPlatform.h"
#include "platform/VirtualKeys.h"
#include "tests/app/window/PointerMessage.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/GameOverDialog.h"
#include "ui/Layout.h"
#include "ui/NewGameDialog.h"
#include "ui/QuitDialog.h"

namespace brv {
namespace {

using test::EventView;
using test::ShippedParams;

// A control that records where the pointer reached it and which keys.
class SpyWidget : public Widget {
public:
    bool onMouseMove(int x, int y, int) override {
        last = {x, y};
        return false;
    }
    bool onLButtonDown(int x, int y, int) override {
        last = {x, y};
        return false;
    }
    bool onLButtonUp(int x, int y, int) override {
        last = {x, y};
        return false;
    }
    void onKeyDown(int key) override { keys.push_back(key); }
    ScreenPoint last{-1, -1};
    std::vector<int> keys;
};

class PlainDialog : public Dialog {
public:
    PlainDialog() { addWidget(&spy); }
    void onWidgetEvent(Widget*) override {}
    SpyWidget spy;
};

// The main menu's stand-in: it keeps every dialog that comes back with its result.
struct Below : View {
    void onDialogClosed(int result, std::unique_ptr<View> dialog) override {
        closed.push_back({result, dialog.get()});
        kept.push_back(std::move(dialog));
    }
    std::vector<std::pair<int, View*>> closed;
    std::vector<std::unique_ptr<View>> kept;
};

// A headless window of the given size over the 800 by 600 logical screen (or
// none, when `logical` is false), with the main menu's stand-in as the bottom
// screen.
struct WindowScope {
    WindowScope(int width, int height, bool logical = true) : window(platform) {
        window.create("test", 0, 0, width, height);
        if (logical) {
            window.setLogicalSize(800, 600);
        }
        window.pushScreen(std::move(owned));
    }
    // Opens a dialog the window then owns and returns it for the test to watch.
    template <class D>
    D& open(std::unique_ptr<D> dialog) {
        D& watched = *dialog;
        window.pushDialog(std::move(dialog));
        return watched;
    }
    // A pointer message in window pixels, dispatched as the window does.
    void send(MessageKind kind, int x, int y) { test::sendPointer(window, kind, x, y); }
    HeadlessPlatform platform;
    GlWindow window;
    std::unique_ptr<Below> owned = std::make_unique<Below>();
    Below& below = *owned;
};

TEST(DialogInput, PointerPositionsArriveBoxLocalInLogicalUnits) {
    WindowScope scope(1600, 1200);
    auto owned = std::make_unique<PlainDialog>();
    PlainDialog& dialog = *owned;
    dialog.setLogicalSize(800, 600);
    dialog.x = 100.9f;  // truncated, as the window position is
    dialog.y = 50;
    scope.window.pushDialog(std::move(owned));
    scope.send(MessageKind::LButtonDown, 400, 300);
    EXPECT_EQ(dialog.spy.last.x, 100);
    EXPECT_EQ(dialog.spy.last.y, 100);
    scope.send(MessageKind::MouseMove, 1599, 1199);
    EXPECT_EQ(dialog.spy.last.x, 799 - 100);
    EXPECT_EQ(dialog.spy.last.y, 599 - 50);
    scope.send(MessageKind::LButtonUp, 1, 1);  // half a logical unit truncates to 0
    EXPECT_EQ(dialog.spy.last.x, -100);
    EXPECT_EQ(dialog.spy.last.y, -50);

    // Without a logical size there is no scale: window pixels, minus the box.
    WindowScope unsizedScope(1600, 1200, false);
    PlainDialog& unsized = unsizedScope.open(std::make_unique<PlainDialog>());
    unsizedScope.send(MessageKind::MouseMove, 400, 300);
    EXPECT_EQ(unsized.spy.last.x, 400);
    EXPECT_EQ(unsized.spy.last.y, 300);

    // A damaged layout reads as far as an int goes; a box placed there still
    // gets positions on the right side of its origin, not wrapped ones.
    auto far = std::make_unique<PlainDialog>();
    far->setLogicalSize(800, 600);
    far->x = static_cast<float>(INT_MIN);
    far->y = static_cast<float>(INT_MAX);
    PlainDialog& farOut = scope.open(std::move(far));
    scope.send(MessageKind::MouseMove, 1598, 1198);
    EXPECT_EQ(farOut.spy.last.x, kLogicalLimit);
    EXPECT_EQ(farOut.spy.last.y, 599 - kLogicalLimit);
}

TEST(DialogInput, EscapeCancelsEnterConfirmsAndTheKeysStillReachTheControls) {
    WindowScope scope(800, 600);
    PlainDialog& dialog = scope.open(std::make_unique<PlainDialog>());
    dialog.onKeyDown(kVkEscape);
    EXPECT_EQ(dialog.result, View::kResultCancelled);
    dialog.onKeyDown(kVkEnter);  // a second request within the tick
    EXPECT_EQ(dialog.result, View::kResultConfirmed);
    dialog.onKeyDown('A');
    EXPECT_EQ(dialog.spy.keys, (std::vector<int>{kVkEscape, kVkEnter, 'A'}));

    // The close happens at the next tick, once, with the last result.
    EXPECT_EQ(scope.window.currentView(), &dialog);
    scope.window.tick(30);
    EXPECT_TRUE(scope.window.dialogs().empty());
    ASSERT_EQ(scope.below.closed.size(), 1u);
    EXPECT_EQ(scope.below.closed[0], (std::pair<int, View*>{0, &dialog}));
}

TEST(LayoutValues, MissingKeysReadAsZeroAndIntKeysTruncate) {
    ShippedParams shipped;
    shipped.params.m_layout.set("m_test_value", "12.7");
    EXPECT_EQ(layoutInt(shipped.params.m_layout, "m_test_value"), 12);
    EXPECT_FLOAT_EQ(layoutFloat(shipped.params.m_layout, "m_test_value"), 12.7f);
    EXPECT_EQ(layoutInt(shipped.params.m_layout, "m_no_such_key"), 0);
    // Damaged values stay far off screen but inside what placement sums can carry.
    shipped.params.m_layout.set("m_test_value", "-99999999999");
    EXPECT_EQ(layoutInt(shipped.params.m_layout, "m_test_value"), -kLayoutLimit);
    shipped.params.m_layout.set("m_test_value", "3e38");
    EXPECT_FLOAT_EQ(layoutFloat(shipped.params.m_layout, "m_test_value"),
                    static_cast<float>(kLayoutLimit));
    shipped.params.m_layout.set("m_test_value", "nan");
    EXPECT_FLOAT_EQ(layoutFloat(shipped.params.m_layout, "m_test_value"), 0.0f);
    EXPECT_EQ(toLogical(-3, 1600, 800), -1);  // towards zero, not down
    EXPECT_EQ(toLogical(7, 0, 800), 7);
    EXPECT_EQ(toLogical(2000000000, 1, 800), kLogicalLimit);  // kept an int
    EXPECT_EQ(toLogical(-2000000000, 1, 800), -kLogicalLimit);
}

TEST(NewGameDialogChoice, RememberedChoicesArePreselectedAndNonsenseFallsBack) {
    ShippedParams shipped;
    struct Case {
        int players, difficulty, colonyIndex, difficultyIndex;
    };
    for (const Case& c : {Case{5, 3, 0, 0}, Case{-1, -1, 0, 0}, Case{1, 1, 1, 1}, Case{2, 2, 2, 2},
                          Case{0, 0, 0, 0}}) {
        shipped.params.m_last_players_count = c.players;
        shipped.params.m_last_difficult = c.difficulty;
        NewGameDialog dialog(shipped.context());
        EXPECT_EQ(dialog.colonyGroup().checkedIndex(), c.colonyIndex) << c.players;
        EXPECT_EQ(dialog.difficultyGroup().checkedIndex(), c.difficultyIndex) << c.difficulty;
        // Exactly one option of each group is checked.
        int checked = 0;
        for (int i = 0; i < NewGameDialog::kOptions; ++i) {
            checked += dialog.colonyOption(i).checked() + dialog.difficultyOption(i).checked();
        }
        EXPECT_EQ(checked, 2);
    }
}

TEST(NewGameDialogChoice, ClicksChooseWithinEachGroupAndOnlyEscapeOrEnterClose) {
    ShippedParams shipped;
    WindowScope scope(800, 600);
    auto owned = std::make_unique<NewGameDialog>(shipped.context());
    NewGameDialog& dialog = *owned;
    dialog.setLogicalSize(800, 600);
    dialog.x = 120;
    dialog.y = 100;
    scope.window.pushDialog(std::move(owned));

    // A click is a move over the option and a release (logical units).
    auto click = [&](const RadioButton& option) {
        const int wx = static_cast<int>(dialog.x + option.x) + 5;
        const int wy = static_cast<int>(dialog.y + option.y) + 5;
        dialog.onMouseMove(wx, wy, 0);
        dialog.onLButtonDown(wx, wy, 0);
        dialog.onLButtonUp(wx, wy, 0);
    };
    click(dialog.colonyOption(2));
    click(dialog.difficultyOption(2));
    EXPECT_EQ(dialog.colonyGroup().checkedIndex(), 2);
    EXPECT_EQ(dialog.difficultyGroup().checkedIndex(), 2);
    EXPECT_FALSE(dialog.colonyOption(0).checked());
    EXPECT_FALSE(dialog.difficultyOption(0).checked());
    click(dialog.colonyOption(2));  // already checked: nothing changes
    EXPECT_EQ(dialog.colonyGroup().checkedIndex(), 2);

    // Keys other than Escape and Enter neither close nor reach the options.
    for (int key : {kVkSpace, kVkBackspace, int{'A'}, kVkF4}) {
        dialog.onKeyDown(key);
    }
    scope.window.tick(30);
    EXPECT_EQ(scope.window.currentView(), &dialog);
    EXPECT_TRUE(scope.below.closed.empty());

    dialog.onKeyDown(kVkEnter);
    scope.window.tick(30);
    ASSERT_EQ(scope.below.closed.size(), 1u);
    EXPECT_EQ(scope.below.closed[0].first, View::kResultConfirmed);
}

TEST(NewGameDialogChoice, OkAndCancelButtonsCloseWithTheirResults) {
    ShippedParams shipped;
    WindowScope scope(800, 600);
    for (bool ok : {true, false}) {
        auto owned = std::make_unique<NewGameDialog>(shipped.context());
        NewGameDialog& dialog = *owned;
        dialog.setLogicalSize(800, 600);
        scope.window.pushDialog(std::move(owned));
        const Button& button = ok ? dialog.okButton() : dialog.cancelButton();
        dialog.onLButtonDown(static_cast<int>(button.x) + 1, static_cast<int>(button.y) + 1, 0);
        scope.window.tick(30);
        ASSERT_FALSE(scope.below.closed.empty());
        EXPECT_EQ(scope.below.closed.back().first,
                  ok ? View::kResultConfirmed : View::kResultCancelled);
    }
}

TEST(QuitDialogAnswer, OkConfirmsCancelCancelsAndButtonsAreBoxLocal) {
    ShippedParams shipped;
    WindowScope scope(800, 600);
    auto owned = std::make_unique<QuitDialog>(shipped.context());
    QuitDialog& dialog = *owned;
    EXPECT_EQ(dialog.lines(), (std::vector<std::string>{"Do you really want", "to exit?"}));
    dialog.setLogicalSize(800, 600);
    dialog.x = 170;
    dialog.y = 135;
    EXPECT_FLOAT_EQ(dialog.okButton().x,
                    static_cast<float>(layoutInt(shipped.params.m_layout, "m_qd_ok_btnx")));
    scope.window.pushDialog(std::move(owned));
    const Button& cancel = dialog.cancelButton();
    dialog.onLButtonDown(170 + static_cast<int>(cancel.x), 135 + static_cast<int>(cancel.y), 0);
    EXPECT_EQ(dialog.result, View::kResultCancelled);
    const Button& ok = dialog.okButton();
    dialog.onLButtonDown(170 + static_cast<int>(ok.x), 135 + static_cast<int>(ok.y), 0);
    EXPECT_EQ(dialog.result, View::kResultConfirmed);
    // A press on the box's own background is no answer.
    dialog.result = View::kResultCancelled;
    dialog.onLButtonDown(171, 136, 0);
    EXPECT_EQ(dialog.result, View::kResultCancelled);
}

class GameOverTest : public ::testing::Test {
protected:
    GameOverTest() : scope(800, 600) {
        table().clear();
        for (int score : {700, 600, 500, 400, 300, 200, 100}) {
            table().insert("Earlier", score);
        }
    }
    ScoreTable& table() { return shipped.params.m_score_table; }
    // Keys or characters as the window hands them to the dialog on top.
    void send(MessageKind kind, const char* keys) {
        for (const char* p = keys; *p != '\0'; ++p) {
            Message m;
            m.kind = kind;
            m.key = *p;
            windowProcedure(scope.window, m);
        }
    }
    ShippedParams shipped;
    WindowScope scope;
};

TEST_F(GameOverTest, ScoresThatDoNotRankGetNoNameBoxAndChangeNothing) {
    for (int score : {0, 100, 50}) {  // 100 ties the last place: eighth, not seventh
        GameOverDialog dialog(shipped.context(), score);
        EXPECT_FALSE(dialog.qualifies()) << score;
        EXPECT_FALSE(dialog.nameBox().visible);
        dialog.onKeyDown(kVkEnter);
        EXPECT_EQ(dialog.result, View::kResultConfirmed);
    }
    table().clear();
    GameOverDialog zero(shipped.context(), 0);  // even into an empty table
    EXPECT_FALSE(zero.qualifies());
    zero.onKeyDown(kVkEscape);
    EXPECT_TRUE(table().entries().empty());
}

TEST_F(GameOverTest, EveryWayOfClosingEntersTheScoreOnce) {
    {
        // Escape records too; without a typed name the entry is "Anonymous".
        GameOverDialog dialog(shipped.context(), 650);
        ASSERT_TRUE(dialog.qualifies());
        dialog.onKeyDown(kVkEscape);
        EXPECT_EQ(dialog.result, View::kResultConfirmed);
        EXPECT_EQ(table().entries()[1].name, "Anonymous");
        EXPECT_EQ(table().entries()[1].score, 650);
    }
    {
        // The box opens with the focus: what the player types reaches it
        // through the window at once, until a click beside the box.
        GameOverDialog& dialog =
            scope.open(std::make_unique<GameOverDialog>(shipped.context(), 1000));
        send(MessageKind::Char, "A very long name indeed");
        EditBox& box = dialog.nameBox();
        EXPECT_EQ(box.text(), "A very long nam");  // 15 characters
        send(MessageKind::KeyDown, "\b");
        scope.send(MessageKind::LButtonDown, static_cast<int>(box.x) - 5, 5);
        send(MessageKind::Char, "late");
        // Enter and then the close button before the dialog has gone: one entry.
        send(MessageKind::KeyDown, "\r");
        const Button& close = dialog.closeButton();
        dialog.onLButtonDown(static_cast<int>(close.x) + 1, static_cast<int>(close.y) + 1, 0);
        EXPECT_EQ(dialog.name(), "A very long na");
    }
    ASSERT_EQ(table().entries().size(), 7u);
    EXPECT_EQ(table().entries()[0].name, "A very long na");
    EXPECT_EQ(table().entries()[0].score, 1000);
    EXPECT_EQ(table().entries()[1].score, 700);
    EXPECT_EQ(table().entries()[2].score, 650);
    EXPECT_EQ(table().entries()[6].score, 300);
}

// Who won and how, after how long, in the room between the title (standing
// on y 70) and the score (size 30 on y 200).
TEST_F(GameOverTest, ResultLineSaysWhoWonHowAndAfterHowLong) {
    GameOverDialog dialog(shipped.context(), 0);
    EXPECT_EQ(dialog.resultLine(), "");
    using How = GameResult::How;
    dialog.setResult({How::Won, 272000});
    EXPECT_EQ(dialog.resultLine(), "You won: yours is the last colony after 4:32");
    dialog.setResult({How::WipedOut, 59999});
    EXPECT_EQ(dialog.resultLine(), "You lost: your colony was wiped out after 0:59");
    dialog.setResult({How::Resigned, 3723000});
    EXPECT_EQ(dialog.resultLine(), "You lost: you resigned after 1:02:03");
    const float y = layoutFloat(shipped.params.m_layout, "m_end_resulty");
    const float size = layoutFloat(shipped.params.m_layout, "m_end_result_size");
    EXPECT_GE(y - size, 70);
    EXPECT_LE(y, 200 - 30);
}

}  // namespace
}  // namespace brv
