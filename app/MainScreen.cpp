#include "app/MainScreen.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "app/PlayScreens.h"
#include "app/window/GlWindow.h"
#include "audio/SoundSet.h"
#include "config/GameParams.h"
#include "gfx/MuteMark.h"
#include "gfx/ResourceSet.h"
#include "platform/LaunchHooks.h"
#include "records/ReplayFiles.h"
#include "sim/Replay.h"
#include "ui/Button.h"
#include "ui/GameOverDialog.h"
#include "ui/NewGameDialog.h"

namespace brv {

MainScreen::MainScreen(GameContext& context, PlayScreens& screens)
    : context_(context), screens_(screens), buttons_(*this, context), dialogs_(context) {
    draggable = true;
    for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
        addWidget(&button(static_cast<Control>(i)));
    }
    // Shown only while a game is kept; draw() keeps it up to date.
    button(Control::Continue).visible = false;
    resetIdle();
}

MainScreen::~MainScreen() = default;

void MainScreen::activate() {
    GlWindow* window = context_.window;
    draggable = window == nullptr || !window->fullScreen();
    View::activate();
    if (keptGame_ != nullptr) {
        takeBackGame();
    }
}

void MainScreen::onScreenClosed(std::unique_ptr<View> screen) {
    if (screen != nullptr && screen.get() == game_) {
        keptGame_ = std::move(screen);
    } else if (screen != nullptr && screen.get() == replay_) {
        replay_ = nullptr;
        idle_.reset();
        if (screen->result == kResultQuit) {
            onCloseRequest();
        }
    }
}

// The game or demonstration has left the screen stack and the menu is on top
// again: a finished game becomes the game-over dialog, a game that asks for
// the program to end ends it, an interrupted game is kept for Continue.
void MainScreen::takeBackGame() {
    if (demoRunning_) {
        const bool quit = keptGame_->result == kResultQuit;
        keptGame_.reset();
        game_ = nullptr;
        if (quit) {
            onCloseRequest();
        }
        resetIdle();
        return;
    }
    if (screens_.isOver(*keptGame_)) {
        auto gameOver = std::make_unique<GameOverDialog>(context_, screens_.score(*keptGame_));
        gameOver->setGraph(screens_.graph(*keptGame_));
        gameOver->setResult(screens_.result(*keptGame_));
        keptGame_.reset();
        game_ = nullptr;
        dialogs_.openGameOver(std::move(gameOver));
    } else if (keptGame_->result == kResultQuit) {
        onCloseRequest();
    }
}

void MainScreen::onTick(int elapsedMs) {
    notice_.onTick(elapsedMs);
    checkDemo();
    View::onTick(elapsedMs);
}

void MainScreen::checkDemo() {
    // A kept game blocks the demonstration.
    if (demoRunning_ || game_ != nullptr) {
        return;
    }
    if (!idle_.onTick(context_.params.m_time_before_demo)) {
        return;
    }
    GlWindow* window = context_.window;
    std::unique_ptr<View> demo = screens_.newDemo(context_, difficulty_);
    if (demo == nullptr || window == nullptr) {
        return;
    }
    demoRunning_ = true;
    game_ = demo.get();
    window->pushScreen(std::move(demo));
}

void MainScreen::resetIdle() {
    idle_.reset();
    demoRunning_ = false;
}

void MainScreen::draw() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    drawBackground();
    View::draw();
    const BitmapFont& font = context_.art.font;
    font.drawText(kCaption, 32, 62, {.size = 50, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(kCaption, 30, 60, {.size = 50, .colour = {1, 1, 0}, .depth = -10});
    font.drawText(kVersion, 602, 472, {.size = 30, .colour = {0, 0, 0}, .depth = -10});
    drawSaveProblem();
    notice_.draw(font);
    drawMuteMark(font, context_.params);
    // Set after the buttons were drawn: a change shows from the next frame.
    button(Control::Continue).visible = game_ != nullptr;
    glPopMatrix();
    noteFirstFrame();
}

// For the start-up figure: when BREVORA_LAUNCHED_AT holds the wall-clock
// time the program was launched (nanoseconds since 1970), the first menu
// frame says how long after that it was drawn.
void MainScreen::noteFirstFrame() {
    if (firstFrameNoted_) {
        return;
    }
    firstFrameNoted_ = true;
    const std::optional<long long> at = readLaunchHooks().launchedAtNs;
    if (!at) {
        return;
    }
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    std::fprintf(stderr, "brevora: first menu frame %.1f ms after launch\n",
                 static_cast<double>(now - *at) / 1e6);
}

void MainScreen::drawBackground() const {
    const GameParams& params = context_.params;
    const float w = static_cast<float>(params.m_screen_width);
    const float h = static_cast<float>(params.m_screen_height);
    ResourceSet& art = context_.art;
    art.backdrop.draw(art.mainBackground, w, h);
}

void MainScreen::drawSaveProblem() const {
    if (context_.params.m_save_folder.problem().empty()) {
        return;
    }
    const BitmapFont& font = context_.art.font;
    font.drawText(kCannotSave, 11, 591, {.size = 20, .colour = {0, 0, 0}, .depth = -10});
    font.drawText(kCannotSave, 10, 590, {.size = 20, .colour = {1, 0.6f, 0.2f}, .depth = -10});
}

void MainScreen::playLastReplay() {
    GameParams& params = context_.params;
    const std::string path = ReplayFiles::newestIn(params.m_save_folder);
    if (path.empty()) {
        notice_.show("No game has been recorded yet");
        return;
    }
    std::string why;
    const std::optional<Replay> replay = ReplayFiles::readPlayable(path, params, why);
    if (!replay) {
        notice_.show("The last replay cannot be played: " + why);
        return;
    }
    watchReplay(screens_.newReplay(context_, *replay));
}

void MainScreen::watchReplay(std::unique_ptr<View> replay) {
    GlWindow* window = context_.window;
    if (replay == nullptr || window == nullptr || replay_ != nullptr) {
        return;
    }
    idle_.reset();
    replay_ = replay.get();
    window->pushScreen(std::move(replay));
}

void MainScreen::onKeyDown(int virtualKey) {
    GameParams& params = context_.params;
    if (virtualKey == 'M') {
        context_.sounds.toggleMuted(params.m_preferences, params.m_save_folder);
    }
    if (virtualKey == 'R') {
        playLastReplay();
    }
    if (virtualKey == params.m_key_cancel) {
        // Escape is the quit button, idle reset included.
        onWidgetEvent(&button(Control::Quit));
    }
    if (virtualKey == params.m_key_confirm) {
        if (GlWindow* window = context_.window; window != nullptr) {
            if (window->fullScreen()) {
                leaveFullScreen();
            }
            window->minimize();
        }
    }
    View::onKeyDown(virtualKey);
}

void MainScreen::onWidgetEvent(Widget* widget) {
    View::onWidgetEvent(widget);
    idle_.reset();
    GlWindow* window = context_.window;
    if (widget == &button(Control::NewGame)) {
        if (keptGame_ != nullptr) {
            openAbandonDialog();
        } else {
            dialogs_.openNewGame();
        }
    } else if (widget == &button(Control::Continue)) {
        if (keptGame_ != nullptr && window != nullptr) {
            window->pushScreen(std::move(keptGame_));
        }
    } else if (widget == &button(Control::Minimize)) {
        if (window != nullptr) {
            window->minimize();
        }
    } else if (widget == &button(Control::Quit) || widget == &button(Control::SmallQuit)) {
        dialogs_.openQuit();
    } else if (widget == &button(Control::Help) || widget == &button(Control::SmallHelp)) {
        dialogs_.openHelp();
    } else if (widget == &button(Control::Top7)) {
        dialogs_.openTop7();
    } else if (widget == &button(Control::FullScreen)) {
        if (window != nullptr && !window->fullScreen()) {
            enterFullScreen();
        } else {
            leaveFullScreen();
        }
    }
}

// A kept game is thrown away only when the player says so, told what goes
// with it: an abandoned game enters no score. The new-game dialog follows the
// yes.
void MainScreen::openAbandonDialog() {
    if (dialogs_.abandon() != nullptr || keptGame_ == nullptr) {
        return;
    }
    dialogs_.openAbandon(screens_.kills(*keptGame_));
}

void MainScreen::onDialogClosed(int result, std::unique_ptr<View> dialog) {
    using Kind = MenuDialogs::Kind;
    const Kind kind = dialogs_.kindOf(dialog.get());
    const bool confirmed = result == kResultConfirmed;
    if (kind == Kind::NewGame && confirmed) {
        startNewGame(*dialogs_.newGame());
    }
    dialogs_.forget(kind);
    if (kind == Kind::Abandon && confirmed) {
        dialogs_.openNewGame();
    } else if (kind == Kind::Quit && confirmed) {
        postClose();
    }
}

// The chosen difficulty is the game's and, from now on, the demonstration's.
void MainScreen::startNewGame(const NewGameDialog& choice) {
    keptGame_.reset();
    GameParams& params = context_.params;
    const int difficulty = std::max(choice.difficultyGroup().checkedIndex(), 0);
    const int colonyChoice = std::max(choice.colonyGroup().checkedIndex(), 0);
    difficulty_ = difficulty;
    keptGame_ = screens_.newGame(context_, colonyChoice + 2, difficulty);
    game_ = keptGame_.get();
    params.m_last_difficult = difficulty;
    params.m_last_players_count = colonyChoice;
    GlWindow* window = context_.window;
    if (keptGame_ != nullptr && window != nullptr) {
        window->pushScreen(std::move(keptGame_));
    }
}

void MainScreen::onProgramEnd() {
    if (game_ == nullptr || demoRunning_ || !screens_.isOver(*game_)) {
        return;
    }
    // A game takes its final score as it is asked to close.
    game_->onCloseRequest();
    GameOverDialog::enterScore(context_.params, ScoreTable::kAnonymous, screens_.score(*game_));
    game_ = nullptr;
}

void MainScreen::onCloseRequest() {
    closeAllDialogs();
    postClose();
}

void MainScreen::postClose() const {
    if (GlWindow* window = context_.window; window != nullptr) {
        Message close;
        close.kind = MessageKind::Close;
        window->platform().post(close);
    }
}

// The window has dropped every dialog unanswered (a close request); the menu
// forgets them and the game it kept.
void MainScreen::closeAllDialogs() {
    keptGame_.reset();
    game_ = nullptr;
    dialogs_.forgetAll();
}

void MainScreen::enterFullScreen() {
    GlWindow* window = context_.window;
    if (window == nullptr || !window->enterFullScreen()) {
        return;
    }
    draggable = false;
}

void MainScreen::leaveFullScreen() {
    GlWindow* window = context_.window;
    if (window == nullptr) {
        return;
    }
    if (window->leaveFullScreen()) {
        draggable = true;
    }
}

}  // namespace brv
