#pragma once

#include <memory>
#include <string>

#include "app/window/GameContext.h"
#include "app/window/View.h"

namespace brv {

class Button;
class Dialog;
class GameOverDialog;
class HelpDialog;
class NewGameDialog;
class PlayScreens;
class QuestionDialog;
class QuitDialog;
class Top7Dialog;

// The main menu: the bottom screen for the whole run. It opens every dialog
// and game; the window owns them while they are open and hands them back when
// they close. A game left with Escape stays with the menu for Continue, a
// finished one turns into the game-over dialog, and after a spell without any
// button press the demonstration starts. R plays the last recorded game again.
// Quitting the program goes through it. New game while a game is kept asks
// first whether to abandon it.
class MainScreen : public View {
public:
    static constexpr const char* kCaption = "Brevora - colonies at war";
    static constexpr const char* kVersion = "ver. 1.20";
    // Shown in the bottom-left corner, below the buttons, while the save
    // folder cannot be written; stderr names the folder and the reason.
    static constexpr const char* kCannotSave = "Settings and scores cannot be saved";
    // How long a notice stays on the menu.
    static constexpr int kNoticeMs = 4000;

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
    const std::string& notice() const { return notice_; }
    View* replay() const { return replay_; }

    bool demoRunning() const { return demoRunning_; }
    // The difficulty of the last game started, at which the demonstration
    // plays.
    int difficulty() const { return difficulty_; }
    int idleMs() const { return idleMs_; }
    // The kept game or the one running (a game or the demonstration).
    View* game() const { return game_; }
    // The dialogs the menu has open; null once they have come back.
    NewGameDialog* newGameDialog() const { return newGameDialog_; }
    QuitDialog* quitDialog() const { return quitDialog_; }
    QuestionDialog* abandonDialog() const { return abandonDialog_; }
    GameOverDialog* gameOverDialog() const { return gameOverDialog_; }
    HelpDialog* helpDialog() const { return helpDialog_; }
    Top7Dialog* top7Dialog() const { return top7Dialog_; }

    enum class Control {
        NewGame,
        Continue,
        Quit,
        Help,
        Top7,
        FullScreen,
        Minimize,
        SmallHelp,
        SmallQuit,
        Count
    };
    Button& button(Control which) const { return *buttons_[static_cast<int>(which)]; }

private:
    void createButtons();
    void takeBackGame();
    void openNewGameDialog();
    void openAbandonDialog();
    void openQuitDialog();
    void openHelpDialog();
    void openTop7Dialog();
    void startNewGame(const NewGameDialog& choice);
    // Places the dialog, keeps a pointer to it in `slot` and opens it; nothing
    // happens while the window is missing or that dialog is still open.
    template <class D>
    void openDialog(D*& slot, std::unique_ptr<D> dialog, bool shade, bool frame);
    void postClose() const;
    void drawBackground() const;
    void drawSaveProblem() const;
    void drawNotice() const;
    void noteFirstFrame();
    void showNotice(std::string text);

    GameContext& context_;
    PlayScreens& screens_;
    bool demoRunning_ = false;
    int idleMs_ = 0;
    // The difficulty of the last game started in this session (Easy before
    // the first), at which the demonstration plays.
    int difficulty_ = 0;
    // The game or demonstration, while it runs (on the window's stack) or is
    // kept for Continue; keptGame_ owns it while it is off the stack.
    View* game_ = nullptr;
    std::unique_ptr<View> keptGame_;
    // A replay while it runs; the window owns it.
    View* replay_ = nullptr;
    std::string notice_;
    int noticeMs_ = 0;
    bool firstFrameNoted_ = false;
    std::unique_ptr<Button> buttons_[static_cast<int>(Control::Count)];
    // Open dialogs, owned by the window until they come back.
    NewGameDialog* newGameDialog_ = nullptr;
    QuitDialog* quitDialog_ = nullptr;
    QuestionDialog* abandonDialog_ = nullptr;
    HelpDialog* helpDialog_ = nullptr;
    GameOverDialog* gameOverDialog_ = nullptr;
    Top7Dialog* top7Dialog_ = nullptr;
    int newGameWidth_ = 0;
    int newGameHeight_ = 0;
};

}  // namespace brv
