#pragma once

#include <memory>

#include "app/window/View.h"

namespace brv {

class Button;
class Dialog;
class GameOverDialog;
class HelpDialog;
class NewGameDialog;
class PlayScreens;
class QuitDialog;
class Top7Dialog;

// The main menu: the bottom screen for the whole run. It owns every dialog it
// opens and the game it keeps: a game left with Escape stays for Continue, a
// finished one turns into the game-over dialog, and after a spell without any
// button press the demonstration starts. Quitting the program goes through it.
class MainScreen : public View {
public:
    static constexpr const char* kCaption = "Brevora - colonies at war";
    static constexpr const char* kVersion = "ver. 1.20";

    // `screens` makes the games and the demonstration; it must outlive the menu.
    explicit MainScreen(PlayScreens& screens);
    ~MainScreen() override;

    void onTick(int elapsedMs) override;
    void draw() override;
    void activate() override;
    void onKeyDown(int virtualKey) override;
    void onMouseMove(int x, int y, int flags) override;
    void onLButtonUp(int x, int y, int flags) override;
    void onLButtonDown(int x, int y, int flags) override;
    void onWidgetEvent(Widget* widget) override;
    void onDialogClosed(int result, View* dialog) override;
    void onCloseRequest() override;

    void setProjection(int logicalW, int logicalH, int viewportW, int viewportH);
    void enterFullScreen();
    void leaveFullScreen();
    void closeAllDialogs();
    void checkDemo();
    void resetIdle();

    bool demoRunning() const { return demoRunning_; }
    int idleMs() const { return idleMs_; }
    // The kept game or the running demonstration.
    View* game() const { return game_.get(); }
    NewGameDialog* newGameDialog() const { return newGameDialog_.get(); }
    QuitDialog* quitDialog() const { return quitDialog_.get(); }
    GameOverDialog* gameOverDialog() const { return gameOverDialog_.get(); }
    HelpDialog* helpDialog() const { return helpDialog_.get(); }
    Top7Dialog* top7Dialog() const { return top7Dialog_.get(); }

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
    void openQuitDialog();
    void openHelpDialog();
    void openTop7Dialog();
    void startNewGame(const NewGameDialog& choice);
    void placeDialog(Dialog& dialog, bool shade, bool frame) const;
    void postClose() const;
    void drawBackground() const;

    PlayScreens& screens_;
    bool demoRunning_ = false;
    int idleMs_ = 0;
    std::unique_ptr<View> game_;
    int logicalWidth_ = 0;
    int logicalHeight_ = 0;
    std::unique_ptr<Button> buttons_[static_cast<int>(Control::Count)];
    std::unique_ptr<NewGameDialog> newGameDialog_;
    std::unique_ptr<QuitDialog> quitDialog_;
    std::unique_ptr<HelpDialog> helpDialog_;
    std::unique_ptr<GameOverDialog> gameOverDialog_;
    std::unique_ptr<Top7Dialog> top7Dialog_;
    int newGameWidth_ = 0;
    int newGameHeight_ = 0;
};

}  // namespace brv
