#pragma once

#include <memory>

namespace brv {

class GameOverDialog;
class HelpDialog;
class NewGameDialog;
class QuestionDialog;
class QuitDialog;
class Top7Dialog;
class View;
struct GameContext;

// The dialogs the main menu opens, each at its place of the layout file, and
// which of them are open: the window owns them until they come back, the
// menu keeps plain pointers. A dialog still open is never opened twice.
class MenuDialogs {
public:
    enum class Kind { None, NewGame, Abandon, Quit, Help, GameOver, Top7 };

    explicit MenuDialogs(GameContext& context);

    void openNewGame();
    // Asks whether to throw away the kept game, told the kills that go with it.
    void openAbandon(int kills);
    void openQuit();
    void openHelp();
    void openTop7();
    void openGameOver(std::unique_ptr<GameOverDialog> dialog);

    // Which of the menu's dialogs `closed` is; None for any other view.
    Kind kindOf(const View* closed) const;
    // The dialog of `kind` has come back: it is no longer open.
    void forget(Kind kind);
    // Every dialog has been dropped unanswered.
    void forgetAll();

    NewGameDialog* newGame() const { return newGame_; }
    QuitDialog* quit() const { return quit_; }
    QuestionDialog* abandon() const { return abandon_; }
    GameOverDialog* gameOver() const { return gameOver_; }
    HelpDialog* help() const { return help_; }
    Top7Dialog* top7() const { return top7_; }

private:
    // Sizes the dialog to the logical screen, keeps a pointer to it in `slot`
    // and opens it; nothing happens while the window is missing or that
    // dialog is still open.
    template <class D>
    void open(D*& slot, std::unique_ptr<D> dialog, bool shade, bool frame);

    GameContext& context_;
    NewGameDialog* newGame_ = nullptr;
    QuitDialog* quit_ = nullptr;
    QuestionDialog* abandon_ = nullptr;
    HelpDialog* help_ = nullptr;
    GameOverDialog* gameOver_ = nullptr;
    Top7Dialog* top7_ = nullptr;
    int newGameWidth_ = 0;
    int newGameHeight_ = 0;
};

}  // namespace brv
