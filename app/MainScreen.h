#pragma once

#include <memory>
#include <string>

#include "app/IdleTimer.h"
#include "app/MenuButtons.h"
#include "app/MenuDialogs.h"
#include "app/MenuNotice.h"
#include "app/window/GameContext.h"
#include "app/window/View.h"

namespace brv {

class PlayScreens;

// The main menu: the bottom screen for the whole run. It opens every dialog
// and game; the window owns them while they are open and hands them back when
// they close. A game left with Escape stays with the menu for Continue, a
// finished one turns into the game-over dialog, and after a spell without any
// button press the demonstration starts. R plays the last recorded game again.
// Quitting the program goes through it. New game while a game is kept asks
// first whether to abandon it. It ties together its buttons (MenuButtons), the
// dialogs it opens (MenuDialogs), the demonstration's idle timer (IdleTimer)
// and its notice line (MenuNotice) with the kept game and the replays.
class MainScreen : public View {
public:
    static constexpr const char* kCaption = "Brevora - colonies at war";
    static constexpr const char* kVersion = "ver. 1.20";
    // Shown in the bottom-left corner, below the buttons, while the save
    // folder cannot be written; stderr names the folder and the reason.
    static constexpr const char* kCannotSave = "Settings and scores cannot be saved";
    // How long a notice stays on the menu.
    static constexpr int kNoticeMs = MenuNotice::kShownMs;

    // `screens` makes the games and the demonstration; it and `context` must
    // outlive the menu.
    MainScreen(GameContext& context, PlayScreens& screens);
    ~MainScreen() override;

    void onTick(int elapsedMs) override;
    void draw() override;
    void activate() override;
    void onKeyDown(int virtualKey) override;
    void onWidgetEvent(Widget* widget) override;
    void onDialogClosed(int result, std::unique_ptr<View> dialog) override;
    void onScreenClosed(std::unique_ptr<View> screen) override;
    void onCloseRequest() override;

    void enterFullScreen();
    void leaveFullScreen();
    void closeAllDialogs();
    // The program is ending with every view still open: a finished game that
    // has not reached its game-over dialog yet (the window closed in the end
    // delay) enters a score that ranks as "Anonymous", as the dialog would.
    void onProgramEnd();
    void checkDemo();
    void resetIdle();
    // Plays the newest replay of the save folder; when there is none or it
    // cannot be played, a line on the menu says why for a few seconds.
    void playLastReplay();
    // Shows a replay screen over the menu; it is dropped when it closes, and
    // a game kept for Continue stays kept.
    void watchReplay(std::unique_ptr<View> replay);
    // The line the menu shows for a while (a replay that cannot be played).
    const std::string& notice() const { return notice_.text(); }
    View* replay() const { return replay_; }

    bool demoRunning() const { return demoRunning_; }
    // The difficulty of the last game started, at which the demonstration
    // plays.
    int difficulty() const { return difficulty_; }
    int idleMs() const { return idle_.idleMs(); }
    // The kept game or the one running (a game or the demonstration).
    View* game() const { return game_; }
    // The dialogs the menu has open; null once they have come back.
    NewGameDialog* newGameDialog() const { return dialogs_.newGame(); }
    QuitDialog* quitDialog() const { return dialogs_.quit(); }
    QuestionDialog* abandonDialog() const { return dialogs_.abandon(); }
    GameOverDialog* gameOverDialog() const { return dialogs_.gameOver(); }
    HelpDialog* helpDialog() const { return dialogs_.help(); }
    Top7Dialog* top7Dialog() const { return dialogs_.top7(); }

    using Control = MenuControl;
    Button& button(Control which) const { return buttons_.button(which); }

private:
    void takeBackGame();
    void openAbandonDialog();
    void startNewGame(const NewGameDialog& choice);
    void postClose() const;
    void drawBackground() const;
    void drawSaveProblem() const;
    void noteFirstFrame();

    GameContext& context_;
    PlayScreens& screens_;
    bool demoRunning_ = false;
    IdleTimer idle_;
    // The difficulty of the last game started in this session (Easy before
    // the first), at which the demonstration plays.
    int difficulty_ = 0;
    // The game or demonstration, while it runs (on the window's stack) or is
    // kept for Continue; keptGame_ owns it while it is off the stack.
    View* game_ = nullptr;
    std::unique_ptr<View> keptGame_;
    // A replay while it runs; the window owns it.
    View* replay_ = nullptr;
    MenuNotice notice_;
    bool firstFrameNoted_ = false;
    MenuButtons buttons_;
    MenuDialogs dialogs_;
};

}  // namespace brv
