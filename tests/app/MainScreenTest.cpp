#include <gtest/gtest.h>

#include "app/GamePlayScreens.h"
#include "platform/FileIo.h"
#include "platform/VirtualKeys.h"
#include "records/ReplayFiles.h"
#include "sim/Colony.h"
#include "sim/Replay.h"
#include "sim/ReplayCheck.h"
#include "sim/RulesState.h"
#include "sim/view/GameScreen.h"
#include "sim/view/ReplayScreen.h"
#include "tests/app/MenuTestSupport.h"
#include "ui/GameOverDialog.h"
#include "ui/HelpDialog.h"
#include "ui/NewGameDialog.h"
#include "ui/QuestionDialog.h"
#include "ui/QuitDialog.h"
#include "ui/Top7Dialog.h"

namespace brv {
namespace {

using Control = MainScreen::Control;
using test::FakeGame;
using test::MenuFixture;

TEST(MainScreenIdle, DemonstrationStartsOnThe101stTickAndMovesOrKeysDoNotDelayIt) {
    MenuFixture f;
    f.ticks(50);
    // Neither the pointer nor keys other than Escape count as using the menu.
    f.menu->onMouseMove(400, 300, 0);
    f.menu->onMouseMove(10, 10, 0);
    f.menu->onKeyDown('A');
    f.menu->onKeyDown(kVkSpace);
    f.menu->onChar('a', 1);
    f.ticks(50);
    EXPECT_EQ(f.menu->idleMs(), 3000);  // 100 ticks: 3000 is not more than 3000
    EXPECT_TRUE(f.screens.demos.empty());
    EXPECT_EQ(f.top(), f.menu);

    f.ticks(1);
    ASSERT_EQ(f.screens.demos.size(), 1u);
    EXPECT_EQ(f.top(), f.screens.demos[0]);
    EXPECT_EQ(f.screens.demos[0]->difficultyAtBuild, 0);  // Easy until a game is chosen
    EXPECT_TRUE(f.menu->demoRunning());
    EXPECT_EQ(f.menu->idleMs(), 0);

    // The demonstration ends by itself: it is destroyed and the count starts over.
    f.window.closeTop();
    f.ticks(1);
    EXPECT_EQ(f.top(), f.menu);
    EXPECT_EQ(f.menu->game(), nullptr);
    EXPECT_FALSE(f.menu->demoRunning());
    EXPECT_EQ(f.menu->idleMs(), 30);  // the tick of the return counts
    EXPECT_EQ(f.closesPosted(), 0u);
}

TEST(MainScreenIdle, ButtonPressesAndEscapeStartTheCountAgain) {
    MenuFixture f;
    f.ticks(90);
    f.press(Control::Minimize);
    EXPECT_EQ(f.menu->idleMs(), 0);
    EXPECT_EQ(f.platform.minimizeCount(), 1);
    f.ticks(90);

    // Escape is the quit button; while its dialog is open nothing is counted.
    f.menu->onKeyDown(kVkEscape);
    ASSERT_NE(f.menu->quitDialog(), nullptr);
    EXPECT_EQ(f.window.currentView(), f.menu->quitDialog());
    EXPECT_EQ(f.menu->idleMs(), 0);
    f.ticks(200);
    EXPECT_TRUE(f.screens.demos.empty());

    // Escape in the dialog cancels: the menu stays and counts from zero.
    f.window.currentView()->onKeyDown(kVkEscape);
    f.ticks(1);
    EXPECT_EQ(f.menu->quitDialog(), nullptr);
    EXPECT_EQ(f.closesPosted(), 0u);
    f.ticks(99);
    EXPECT_TRUE(f.screens.demos.empty());
    f.ticks(1);
    EXPECT_EQ(f.screens.demos.size(), 1u);
}

// Opens the new-game dialog with the menu's button (abandoning a kept game),
// clicks the options of 4 colonies and Hard and confirms with Enter.
void startFourColoniesHard(MenuFixture& f) {
    f.press(Control::NewGame);
    if (f.menu->abandonDialog() != nullptr) {
        f.menu->abandonDialog()->onKeyDown(kVkEnter);
        f.ticks(1);
    }
    NewGameDialog* dialog = f.menu->newGameDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FLOAT_EQ(dialog->x, 120);  // (800 - 560) / 2
    EXPECT_FLOAT_EQ(dialog->y, 100);  // (600 - 400) / 2
    for (RadioButton* option : {&dialog->colonyOption(2), &dialog->difficultyOption(2)}) {
        const int x = static_cast<int>(dialog->x + option->x) + 5;
        const int y = static_cast<int>(dialog->y + option->y) + 5;
        dialog->onMouseMove(x, y, 0);
        dialog->onLButtonUp(x, y, 0);
    }
    dialog->onKeyDown(kVkEnter);
    f.ticks(1);
}

TEST(MainScreenGames, ConfirmedChoiceStartsTheGameAndIsRemembered) {
    MenuFixture f;
    f.params.m_last_players_count = 0;
    f.params.m_last_difficult = 0;
    startFourColoniesHard(f);
    ASSERT_EQ(f.screens.games.size(), 1u);
    FakeGame* game = f.screens.games[0];
    EXPECT_EQ(game->colonies, 4);
    EXPECT_EQ(game->difficultyAtBuild, 2);
    EXPECT_EQ(f.menu->difficulty(), 2);  // the demonstration's from now on
    EXPECT_EQ(f.params.m_last_difficult, 2);
    EXPECT_EQ(f.params.m_last_players_count, 2);  // the option index, not the count
    EXPECT_EQ(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(f.top(), game);
    EXPECT_EQ(game->activations, 1);
}

TEST(MainScreenGames, KeptGameBlocksTheDemonstrationAndCanBeContinued) {
    MenuFixture f;
    startFourColoniesHard(f);
    FakeGame* game = f.screens.games.at(0);

    // Escape in the game: it closes as a screen and the menu keeps it.
    f.window.closeTop();
    f.ticks(1);
    EXPECT_EQ(f.top(), f.menu);
    EXPECT_EQ(f.menu->game(), game);
    f.window.drawAll();
    EXPECT_TRUE(f.menu->button(Control::Continue).visible);
    f.ticks(500);
    EXPECT_TRUE(f.screens.demos.empty());

    f.press(Control::Continue);
    EXPECT_EQ(f.top(), game);
    EXPECT_EQ(game->activations, 2);

    // Cancelling a new game leaves the kept game alone.
    f.window.closeTop();
    f.ticks(1);
    f.press(Control::NewGame);
    f.window.currentView()->onKeyDown(kVkEscape);
    f.ticks(1);
    EXPECT_EQ(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(f.menu->game(), game);
    EXPECT_EQ(f.screens.games.size(), 1u);

    // Confirming one replaces it.
    startFourColoniesHard(f);
    ASSERT_EQ(f.screens.games.size(), 2u);
    EXPECT_EQ(f.menu->game(), f.screens.games[1]);
}

TEST(MainScreenGames, NewGameOverAKeptGameAsksFirstAndCancelKeepsIt) {
    MenuFixture f;
    startFourColoniesHard(f);
    FakeGame* game = f.screens.games.at(0);
    game->score = 238;
    f.window.closeTop();
    f.ticks(1);
    f.press(Control::NewGame);
    QuestionDialog* ask = f.menu->abandonDialog();
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(f.window.currentView(), ask);
    EXPECT_EQ(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(ask->lines(), (std::vector<std::string>{"Abandon this game?", "Your 238 kills",
                                                      "will not count."}));
    EXPECT_FLOAT_EQ(ask->x, 170);  // in the quit dialog's box
    f.window.drawAll();
    ask->onKeyDown(kVkEscape);
    f.ticks(1);
    EXPECT_EQ(f.menu->abandonDialog(), nullptr);
    EXPECT_EQ(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(f.menu->game(), game);
    f.press(Control::Continue);
    EXPECT_EQ(f.top(), game);

    // Yes leads on to the new-game dialog; the game goes only when a new one starts.
    game->score = 1;
    f.window.closeTop();
    f.ticks(1);
    f.press(Control::NewGame);
    EXPECT_EQ(f.menu->abandonDialog()->lines()[1], "Your 1 kill");
    f.window.currentView()->onKeyDown(kVkEnter);
    f.ticks(1);
    ASSERT_NE(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(f.menu->game(), game);
}

// A real game from the menu: Q asks, and the game stands still while it
// does; Cancel plays on, OK ends it as lost with its score and a record that
// replays to the same end. It plays on the rules state of the screens that
// made it, from their seed, at the chosen difficulty.
TEST(MainScreenGames, ResignedGameEndsAsLostWithItsScoreAndReplaysToTheSameEnd) {
    GamePlayScreens real;
    real.seed(4321);
    MenuFixture f(&real);
    startFourColoniesHard(f);
    auto* game = dynamic_cast<GameScreen*>(f.top());
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->recording()->generator, 4321u);
    EXPECT_EQ(game->world().difficulty(), 2);
    // Played until the player has a score to enter.
    const Colony& player = *game->world().colonies().front();
    for (int i = 0; i < 20000 && player.killCounter() == 0; ++i) {
        f.ticks(1);
    }
    ASSERT_GT(player.killCounter(), 0);
    ASSERT_FALSE(game->gameOver());
    for (const int answer : {kVkEscape, kVkEnter}) {
        if (answer == kVkEnter) {
            game->onKeyDown('P');  // resigned while paused: it ends at once all the same
        }
        game->onKeyDown('Q');
        View* ask = f.window.currentView();
        ASSERT_EQ(ask, game->resignQuestion());
        const std::string still = game->world().checksum();
        f.ticks(30);
        EXPECT_EQ(game->world().checksum(), still);
        ask->onKeyDown(answer);
        f.ticks(1);
        EXPECT_EQ(f.window.currentView(), game);
        EXPECT_NE(game->world().checksum(), still);
    }
    EXPECT_TRUE(game->gameOver());
    EXPECT_FALSE(game->paused());
    EXPECT_EQ(game->ending(), GameScreen::Ending::Resigned);
    const int resignedAt = game->recording()->resignedAt();
    const std::string endTime = gameTimeText((resignedAt + 1) * kTickMs);
    // The world plays out the two seconds of the end like any finished game,
    // and kills in them still count; the graph of the game stops at its end.
    const int scoreAtResign = player.killCounter();
    f.ticks(66);
    const GraphData graph = real.graph(*game);
    EXPECT_EQ(gameTimeText(static_cast<long long>(graph.series.at(0).values.size() - 1) *
                           graph.spacingMs),
              endTime);
    f.ticks(2);
    GameOverDialog* dialog = f.menu->gameOverDialog();
    ASSERT_NE(dialog, nullptr);
    const int score = dialog->score();
    EXPECT_GE(score, scoreAtResign);
    EXPECT_EQ(dialog->resultLine(), "You lost: you resigned after " + endTime);
    dialog->onKeyDown(kVkEnter);
    f.ticks(1);
    ASSERT_EQ(f.params.m_score_table.entries().size(), 1u);
    EXPECT_EQ(f.params.m_score_table.entries()[0].score, score);

    std::string why;
    const auto replay = ReplayFiles::readFile(ReplayFiles::newestIn(f.params.m_save_folder), why);
    ASSERT_TRUE(replay) << why;
    EXPECT_EQ(replay->resignedAt(), resignedAt);
    EXPECT_EQ(replay->endUpdate, resignedAt + 1 + 67);
    auto watched = real.newReplay(f.context(), *replay);
    auto* screen = static_cast<ReplayScreen*>(watched.get());
    f.window.pushScreen(std::move(watched));
    f.ticks(replay->endUpdate + 5);
    ASSERT_TRUE(screen->outcome());
    EXPECT_EQ(screen->outcome()->why, "replay matches");
    EXPECT_EQ(screen->progressText(), "Replay " + endTime + " / " + endTime + "   resigned");
    f.window.closeTop();
    f.ticks(1);
    EXPECT_EQ(checkReplay(f.params, *replay).why, "replay matches");
}

TEST(MainScreenGames, FinishedGameTurnsIntoTheGameOverDialogWithItsScore) {
    MenuFixture f;
    startFourColoniesHard(f);
    f.screens.games.at(0)->over = true;
    f.screens.games.at(0)->score = 42;
    f.window.closeTop();
    f.ticks(1);
    EXPECT_EQ(f.menu->game(), nullptr);
    GameOverDialog* dialog = f.menu->gameOverDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->score(), 42);
    EXPECT_TRUE(dialog->shadeVisible);
    EXPECT_FALSE(dialog->frameVisible);
    EXPECT_EQ(f.window.currentView(), dialog);
    // Tab shows the course of the game over the dialog, when there is one.
    dialog->onKeyDown(kVkTab);
    EXPECT_FALSE(dialog->graphShown());
    dialog->setGraph({{{{1, 0, 0, 1}, {10, 30, 20}, "kills 42"}}, 1000});
    dialog->onKeyDown(kVkTab);
    EXPECT_TRUE(dialog->graphShown());
    f.window.drawAll();
    dialog->onKeyDown(kVkTab);
    EXPECT_FALSE(dialog->graphShown());

    dialog->onKeyDown(kVkEnter);
    f.ticks(1);
    EXPECT_EQ(f.menu->gameOverDialog(), nullptr);
    f.window.drawAll();
    EXPECT_FALSE(f.menu->button(Control::Continue).visible);
    EXPECT_EQ(f.closesPosted(), 0u);
    // The entry is on disk at once, not only when the program ends.
    ScoreTable stored;
    ASSERT_TRUE(stored.load(f.saves.file("data/scores.tab")));
    ASSERT_EQ(stored.entries().size(), 1u);
    EXPECT_EQ(stored.entries()[0].score, 42);
}

TEST(MainScreenGames, ScoreThatCannotBeSavedKeepsTheDialogOpenToSayWhereAndWhy) {
    MenuFixture f;
    // A file stands where the folder would be: no one can write there.
    f.saves.write("blocked", "not a folder");
    const std::string folder = f.saves.file("blocked/brevora");
    f.params.m_save_folder = test::saveFolderIn(f.saves.path(), true, folder);
    startFourColoniesHard(f);
    f.screens.games.at(0)->over = true;
    f.screens.games.at(0)->score = 42;
    f.window.closeTop();
    f.ticks(1);
    GameOverDialog* dialog = f.menu->gameOverDialog();
    ASSERT_NE(dialog, nullptr);

    dialog->onKeyDown(kVkEnter);
    f.ticks(1);
    ASSERT_EQ(f.menu->gameOverDialog(), dialog);
    EXPECT_EQ(dialog->unsavedFolder(), folder);
    EXPECT_NE(dialog->unsavedReason().find("Not a directory"), std::string::npos);
    EXPECT_FALSE(dialog->nameBox().visible);
    f.window.drawAll();
    // The next answer closes it; the entry stays in memory for the save at exit.
    dialog->onKeyDown(kVkEnter);
    f.ticks(1);
    EXPECT_EQ(f.menu->gameOverDialog(), nullptr);
    EXPECT_EQ(f.params.m_score_table.entries().size(), 1u);
}

// R plays the newest replay over the menu and a kept game stays kept; with
// none, or one of other rules, the menu says why.
TEST(MainScreenGames, RPlaysTheLastReplayOrSaysWhyItCannot) {
    MenuFixture f;
    startFourColoniesHard(f);
    FakeGame* game = f.screens.games.at(0);
    f.window.closeTop();
    f.ticks(1);
    f.menu->onKeyDown('R');
    EXPECT_EQ(f.menu->notice(), "No game has been recorded yet");
    EXPECT_TRUE(f.screens.replays.empty());

    Replay record = Replay::beginning(f.params, RulesState(1), 2, 0);
    record.endChecksum = "0123456789abcdef";
    const std::string path = ReplayFiles::save(record, f.params.m_save_folder);
    ASSERT_FALSE(path.empty());
    f.menu->onKeyDown('R');
    ASSERT_EQ(f.screens.replays.size(), 1u);
    EXPECT_EQ(f.top(), f.screens.replays[0]);
    f.ticks(200);
    EXPECT_TRUE(f.screens.demos.empty()) << "a replay is not an idle menu";
    f.window.closeTop();
    f.ticks(1);
    EXPECT_EQ(f.top(), f.menu);
    EXPECT_EQ(f.menu->replay(), nullptr);
    EXPECT_EQ(f.menu->game(), game);

    record.rules = "fedcba9876543210";
    const std::string text = record.toText();
    ASSERT_TRUE(writeFileAtomically(path, text.data(), text.size()));
    f.menu->onKeyDown('R');
    EXPECT_EQ(f.screens.replays.size(), 1u);
    EXPECT_EQ(f.menu->notice().rfind("The last replay cannot be played: recorded with other", 0),
              0u)
        << f.menu->notice();
    f.window.drawAll();
}

TEST(MainScreenGames, GameOrDemonstrationClosingWithResultTwoEndsTheProgram) {
    {
        MenuFixture f;
        startFourColoniesHard(f);
        f.screens.games.at(0)->result = View::kResultQuit;
        f.window.closeTop();
        f.ticks(1);
        EXPECT_EQ(f.closesPosted(), 1u);
        EXPECT_EQ(f.menu->game(), nullptr);
    }
    {
        MenuFixture f;
        f.ticks(101);
        ASSERT_EQ(f.screens.demos.size(), 1u);
        f.screens.demos[0]->result = View::kResultQuit;
        f.window.closeTop();
        f.ticks(1);
        EXPECT_EQ(f.closesPosted(), 1u);
        EXPECT_EQ(f.menu->game(), nullptr);
    }
}

TEST(MainScreenQuit, QuitDialogConfirmedPostsTheCloseAndCancelledDoesNot) {
    MenuFixture f;
    f.press(Control::SmallQuit);
    QuitDialog* dialog = f.menu->quitDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FLOAT_EQ(dialog->x, 170);
    EXPECT_EQ(dialog->width, 460);
    EXPECT_FALSE(dialog->shadeVisible);
    dialog->onKeyDown(kVkEscape);
    f.ticks(1);
    EXPECT_EQ(f.closesPosted(), 0u);

    f.press(Control::Quit);
    f.window.currentView()->onKeyDown(kVkEnter);
    f.ticks(1);
    EXPECT_EQ(f.menu->quitDialog(), nullptr);
    EXPECT_EQ(f.closesPosted(), 1u);
}

TEST(MainScreenDialogs, HelpAndTop7OpenFromTheirButtonsAndGoWhenClosed) {
    MenuFixture f;
    for (Control help : {Control::Help, Control::SmallHelp}) {
        f.press(help);
        HelpDialog* dialog = f.menu->helpDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FLOAT_EQ(dialog->x, 120);
        EXPECT_EQ(dialog->height, 500);
        EXPECT_TRUE(dialog->frameVisible);
        dialog->onKeyDown(kVkEscape);
        f.ticks(1);
        EXPECT_EQ(f.menu->helpDialog(), nullptr);
    }
    f.press(Control::Top7);
    Top7Dialog* top7 = f.menu->top7Dialog();
    ASSERT_NE(top7, nullptr);
    EXPECT_TRUE(top7->shadeVisible);
    EXPECT_FALSE(top7->frameVisible);
    EXPECT_FLOAT_EQ(top7->x, 0);
    f.window.drawAll();  // the whole stack draws without art
    top7->onKeyDown(kVkEnter);
    f.ticks(1);
    EXPECT_EQ(f.menu->top7Dialog(), nullptr);
    EXPECT_EQ(f.closesPosted(), 0u);
}

TEST(MainScreenQuit, CloseRequestDropsOpenDialogsAndPostsTheClose) {
    MenuFixture f;
    startFourColoniesHard(f);
    f.window.closeTop();
    f.ticks(1);
    f.press(Control::NewGame);
    f.window.currentView()->onKeyDown(kVkEnter);  // abandon the kept game
    f.ticks(1);
    ASSERT_NE(f.menu->newGameDialog(), nullptr);
    f.window.closeRequest();
    EXPECT_TRUE(f.window.dialogs().empty());
    EXPECT_EQ(f.menu->newGameDialog(), nullptr);
    EXPECT_EQ(f.menu->game(), nullptr);  // the kept game goes with the program
    EXPECT_EQ(f.closesPosted(), 1u);
}

TEST(MainScreenWindow, FullScreenButtonAndEnterLeavingFullScreenThenMinimising) {
    MenuFixture f;
    EXPECT_TRUE(f.menu->draggable);
    f.press(Control::FullScreen);
    EXPECT_TRUE(f.window.fullScreen());
    EXPECT_FALSE(f.menu->draggable);
    EXPECT_EQ(f.window.width(), 1024);  // the desktop's own size

    f.menu->onKeyDown(kVkEnter);
    f.window.onMinimized();
    EXPECT_FALSE(f.window.fullScreen());
    EXPECT_TRUE(f.menu->draggable);
    EXPECT_EQ(f.platform.minimizeCount(), 1);
    EXPECT_TRUE(f.window.minimized());

    // A refused switch changes nothing, dragging included.
    f.window.onRestored();
    f.platform.setFullScreenRefused(true);
    f.press(Control::FullScreen);
    EXPECT_FALSE(f.window.fullScreen());
    EXPECT_TRUE(f.menu->draggable);
}

TEST(MainScreenInput, PointerPositionsAreScaledToTheLogicalScreen) {
    MenuFixture f;
    f.window.create("Brevora", 0, 0, 1600, 1200);
    f.menu->activate();
    const Button& newGame = f.menu->button(Control::NewGame);
    // The button's corner, in window pixels at twice the size.
    const int x = 2 * static_cast<int>(newGame.x) + 1;
    const int y = 2 * static_cast<int>(newGame.y) + 1;
    f.send(MessageKind::LButtonDown, x, y);
    EXPECT_NE(f.menu->newGameDialog(), nullptr);
}

}  // namespace
}  // namespace brv
